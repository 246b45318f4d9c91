// The user guide in a window of its own beside the main window, offline: the guide's Markdown
// rendered with its pictures. It is not modal, so the user can read on while using the program
// (an editor or a transfer dialog, being modal, holds the input while it is open).
#pragma once

#include <QTextBrowser>
#include <QWidget>

#include "app/UserGuide.h"

namespace tavrin {

class GuideWindow : public QWidget {
  Q_OBJECT

 public:
  GuideWindow(const UserGuide& guide, QWidget* parent);
  QTextBrowser* browser() const { return browser_; }

 private:
  QTextBrowser* browser_ = nullptr;
};

}  // namespace tavrin
