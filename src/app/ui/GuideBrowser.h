// The reading pane of the guide window: the guide's pages (from the guide in memory, without the
// pictures it lacks) and the search results, with a history to go back and forward in. A link
// into a page may carry the place to show, "page.md?at=120&len=2", which is then selected.
#pragma once

#include <QTextBrowser>
#include <functional>

#include "app/UserGuide.h"

namespace tavrin {

class GuideBrowser : public QTextBrowser {
  Q_OBJECT

 public:
  // `results` makes the page of hits for a query.
  GuideBrowser(const UserGuide& guide, std::function<QString(const QString&)> results,
               QWidget* parent);

  QUrl PageUrl(const std::string& file) const;
  // The page `file` with the `length` characters from `offset` (of its shown text) selected.
  QUrl PlaceUrl(const std::string& file, int offset, int length) const;
  static QUrl SearchUrl(const QString& query);
  // The guide's page that `url` shows; empty for the search results or anything else.
  std::string PageOf(const QUrl& url) const;

  // Goes where a link to `url` leads, as a click on it does: a page, a place, or the desktop's
  // browser for a web address.
  void Follow(const QUrl& url);
  // Counts the documents shown, so that what describes the shown one knows when it is stale.
  int revision() const { return revision_; }

  QVariant loadResource(int type, const QUrl& url) override;

 signals:
  // A page (its name in the guide's folder) or the search results (no name) are shown. Sent as
  // the browser says its source changed, before source() gives the new one.
  void shown(const std::string& page);

 protected:
  bool focusNextPrevChild(bool next) override;

 private:
  void AfterLoad(const QUrl& url);

  const UserGuide& guide_;
  std::function<QString(const QString&)> results_;
  int revision_ = 0;
};

// The query of a search results address.
QString SearchQueryOf(const QUrl& url);

}  // namespace tavrin
