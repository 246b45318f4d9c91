// Which page of the guide tells about a window: what F1 opens.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace tavrin {

// The page about the window `widget` belongs to: the first window or editor page found from it
// outwards through its owners (a message box tells about the window it stands over). The page
// about the main window when nothing nearer has one.
std::string GuidePageFor(const QWidget* widget);

// Every page F1 can open.
std::vector<std::string> GuideTopicPages();

}  // namespace tavrin
