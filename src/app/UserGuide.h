// The user guide: Markdown pages in the folder "guide" among the shipped files, one page a file.
// The contents page "index.md" lists the others in their order, one list item a page, as links
// ("1. [画面のあらまし](main-window.md)"); a page is added by writing its file and its line there.
// The screenshots lie in "guide/images"; a developer build has none (the package build takes
// them), so a page is shown without the pictures it cannot find.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

inline constexpr char kGuideFolderName[] = "guide";
inline constexpr char kGuideContentsPage[] = "index.md";
inline constexpr char kGuideMissing[] = "使い方のファイル \"%s\" が見つかりません。";

struct GuidePage {
  std::string file;      // its name in the guide's folder, "channels.md"
  std::string title;     // the text of its first "# " heading
  std::string markdown;  // without the pictures that are not there
};

// A line of the contents: a page, or a heading of the pages listed under it.
struct GuideEntry {
  int level = 1;      // 1 for the outer list, 2 for a list inside it
  std::string title;  // the link's text, or the line's text when it links nowhere
  std::string file;   // the page it links to; empty for a heading
};

struct UserGuide {
  std::string folder;  // where the pages' names and the pictures' paths start
  GuidePage contents;  // the contents page; its title is the guide's
  std::vector<GuideEntry> entries;
  std::vector<GuidePage> pages;  // the pages the contents links to, in its order

  // The contents page or one of the pages; null for a name the guide does not have.
  const GuidePage* Page(const std::string& file) const;
};

// The guide's folder among `shippedFolders`: the first one that has a contents page.
std::optional<std::string> FindGuide(const std::vector<std::string>& shippedFolders);

// `pictureExists` gets each picture's path as the page writes it. A picture that is missing is
// left out with its line; the text around it says what it would show.
GuidePage PreparePage(const std::string& file, const std::string& markdown,
                      const std::function<bool(const std::string&)>& pictureExists);

// Every list item of the contents page, in order.
std::vector<GuideEntry> ReadContents(const std::string& markdown);

// Reads the contents page of the guide in `folder` and the pages it links to; nothing when the
// contents page cannot be read. A linked page that cannot be read is left out with its line.
std::optional<UserGuide> LoadGuide(const std::string& folder);

// A page as the window shows it, in plain text: what a search looks through.
struct GuideText {
  std::string file;
  std::string title;
  std::string text;  // UTF-8
};

struct GuideHit {
  std::string file;
  std::string title;
  std::size_t offset = 0;  // bytes into the page's text where the word starts
  std::size_t length = 0;  // bytes of the word as the page writes it
  std::string before;      // some of the text before it on its line, and after it, with "…"
                           // where the line goes on
  std::string match;
  std::string after;
};

struct GuideSearch {
  std::vector<GuideHit> hits;  // in the order of the pages, then of the text; at most the limit
  std::size_t total = 0;       // all the places found
};

inline constexpr std::size_t kGuideHitLimit = 200;

// Every place of `query` in the pages. Upper and lower case are one, and so are full-width and
// half-width letters, digits and signs ("ｕｓｂ" finds "USB"); blanks around the query do not
// count. An empty query finds nothing.
GuideSearch SearchGuide(const std::vector<GuideText>& pages, std::string_view query,
                        std::size_t limit = kGuideHitLimit);

}  // namespace tavrin
