// The guide's page as a screen reader walks it: a document whose children are its blocks in
// reading order (headings with their level, paragraphs, list items, pictures by their text) and,
// inside them, the links, each with its text and an action that follows it. The whole text is
// there to read as well, with the caret and the selection.
#pragma once

namespace tavrin {

class GuideBrowser;

// Makes the guide's reading pane use the above; once per process, before the pane is shown.
void InstallGuideAccessibility();
// A new page is in `browser`: what described the old one goes, and listeners hear of it.
void NotifyDocumentShown(GuideBrowser* browser);
// The keyboard moved to a link of `browser` (its selection): listeners hear which.
void NotifyLinkFocused(GuideBrowser* browser);

}  // namespace tavrin
