// The user guide in a window of its own beside the main window, offline: the contents list, a
// search through every page, and the page read, with back and forward. It is not modal, so the
// user can read on while using the program; a modal window that comes up (an editor, a transfer,
// a message) leaves it working, so that F1 there can show its page. Esc and Ctrl+W close it.
#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>
#include <vector>

#include "app/UserGuide.h"
#include "app/ui/GuideBrowser.h"

namespace tavrin {

class GuideWindow : public QWidget {
  Q_OBJECT

 public:
  GuideWindow(UserGuide guide, QWidget* parent);

  // The page `file`; the contents page when the guide has no such page.
  void ShowPage(const std::string& file);
  // The places of `query` in every page, as a page of links to them.
  void Search(const QString& query);

  GuideBrowser* browser() const { return browser_; }
  QLineEdit* searchField() const { return search_; }
  QTreeWidget* contentsList() const { return contents_; }
  // The guide's page shown; empty while the search results are.
  std::string CurrentPage() const { return browser_->PageOf(browser_->source()); }

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildContents();
  void MarkInContents(const std::string& file);
  QString ResultsPage(const QString& query);
  const std::vector<GuideText>& SearchTexts();
  void StayUsableBeside(QWidget* modal);

  UserGuide guide_;
  std::vector<GuideText> searchTexts_;  // made at the first search
  GuideBrowser* browser_ = nullptr;
  QTreeWidget* contents_ = nullptr;
  QLineEdit* search_ = nullptr;
  QPushButton* back_ = nullptr;
  QPushButton* forward_ = nullptr;
  QPointer<QWidget> modal_;  // the modal window the guide stays usable beside
};

}  // namespace tavrin
