#include "app/ui/GuideBrowser.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QFileInfo>
#include <QTextBlock>
#include <QUrlQuery>

#include "app/ui/GuideAccessible.h"
#include "platform/UiFonts.h"

namespace tavrin {
namespace {

constexpr char kSearchScheme[] = "tavrin-search";

// Markdown leaves paragraphs touching each other; reading text wants air between them, and more
// above a heading than below it.
void SpaceOut(QTextDocument& document) {
  document.setDocumentMargin(16);
  QTextCursor cursor(&document);
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    QTextBlockFormat format = block.blockFormat();
    if (format.headingLevel() > 0) {
      format.setTopMargin(18);
      format.setBottomMargin(6);
    } else if (block.textList() == nullptr) {
      format.setBottomMargin(8);
    }
    cursor.setPosition(block.position());
    cursor.setBlockFormat(format);
  }
}

}  // namespace

QString SearchQueryOf(const QUrl& url) {
  if (url.scheme() != QLatin1String(kSearchScheme)) return {};
  return QUrlQuery(url).queryItemValue(QStringLiteral("q"), QUrl::FullyDecoded);
}

GuideBrowser::GuideBrowser(const UserGuide& guide, std::function<QString(const QString&)> results,
                           QWidget* parent)
    : QTextBrowser(parent), guide_(guide), results_(std::move(results)) {
  InstallGuideAccessibility();
  setOpenLinks(false);
  // Reading text, larger than the dialogs' 12 pixels.
  document()->setDefaultFont(UiGothicFont(15));
  connect(this, &QTextBrowser::anchorClicked, this, &GuideBrowser::Follow);
  connect(this, &QTextBrowser::sourceChanged, this, &GuideBrowser::AfterLoad);
}

QUrl GuideBrowser::PageUrl(const std::string& file) const {
  return QUrl::fromLocalFile(QString::fromStdString(guide_.folder + "/" + file));
}

QUrl GuideBrowser::PlaceUrl(const std::string& file, int offset, int length) const {
  QUrl url = PageUrl(file);
  QUrlQuery query;
  query.addQueryItem(QStringLiteral("at"), QString::number(offset));
  query.addQueryItem(QStringLiteral("len"), QString::number(length));
  url.setQuery(query);
  return url;
}

QUrl GuideBrowser::SearchUrl(const QString& query) {
  QUrl url;
  url.setScheme(QLatin1String(kSearchScheme));
  QUrlQuery items;
  items.addQueryItem(QStringLiteral("q"), query);
  url.setQuery(items);
  return url;
}

std::string GuideBrowser::PageOf(const QUrl& url) const {
  if (!url.isLocalFile()) return {};
  const QFileInfo file(url.toLocalFile());
  if (QFileInfo(file.absolutePath()) != QFileInfo(QString::fromStdString(guide_.folder))) return {};
  const std::string name = file.fileName().toStdString();
  return guide_.Page(name) != nullptr ? name : std::string();
}

void GuideBrowser::Follow(const QUrl& url) {
  const QUrl target = source().resolved(url);
  if (target.scheme() == QLatin1String("http") || target.scheme() == QLatin1String("https") ||
      target.scheme() == QLatin1String("mailto")) {
    QDesktopServices::openUrl(target);
    return;
  }
  setSource(target, target.scheme() == QLatin1String(kSearchScheme)
                        ? QTextDocument::HtmlResource
                        : QTextDocument::UnknownResource);
}

QVariant GuideBrowser::loadResource(int type, const QUrl& url) {
  if (url.scheme() == QLatin1String(kSearchScheme)) return results_(SearchQueryOf(url));
  if (const std::string file = PageOf(url); !file.empty()) {
    return QString::fromStdString(guide_.Page(file)->markdown);
  }
  return QTextBrowser::loadResource(type, url);
}

void GuideBrowser::AfterLoad(const QUrl& url) {
  ++revision_;
  SpaceOut(*document());
  const QUrlQuery place(url);
  if (place.hasQueryItem(QStringLiteral("at"))) {
    const int at = place.queryItemValue(QStringLiteral("at")).toInt();
    const int length = place.queryItemValue(QStringLiteral("len")).toInt();
    QTextCursor cursor(document());
    cursor.setPosition(qBound(0, at, document()->characterCount() - 1));
    cursor.setPosition(qBound(0, at + length, document()->characterCount() - 1),
                       QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    ensureCursorVisible();
  }
  const std::string file = PageOf(url);
  const QString title =
      file.empty() ? document()->begin().text() : QString::fromStdString(guide_.Page(file)->title);
  setAccessibleName(title);
  NotifyDocumentShown(this);
  emit shown(file);
}

bool GuideBrowser::focusNextPrevChild(bool next) {
  const bool moved = QTextBrowser::focusNextPrevChild(next);
  // Tab went from link to link inside the page: a screen reader follows the link in focus.
  if (moved && hasFocus()) NotifyLinkFocused(this);
  return moved;
}

}  // namespace tavrin
