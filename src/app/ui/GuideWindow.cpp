#include "app/ui/GuideWindow.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QShortcut>
#include <QSplitter>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QWindow>

namespace tavrin {
namespace {

constexpr int kFileRole = Qt::UserRole;

QString Escaped(const std::string& text) { return QString::fromStdString(text).toHtmlEscaped(); }

// Characters of UTF-16, as the shown page counts them, in the first `bytes` of UTF-8 `text`.
int ShownLength(const std::string& text, std::size_t bytes) {
  return static_cast<int>(QString::fromUtf8(text.data(), static_cast<qsizetype>(bytes)).size());
}

}  // namespace

GuideWindow::GuideWindow(UserGuide guide, QWidget* parent)
    : QWidget(parent, Qt::Window), guide_(std::move(guide)) {
  setObjectName(QStringLiteral("guide"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QString::fromStdString(guide_.contents.title));

  back_ = new QPushButton(QStringLiteral("戻る(&B)"), this);
  forward_ = new QPushButton(QStringLiteral("進む(&N)"), this);
  auto* home = new QPushButton(QStringLiteral("目次(&C)"), this);
  auto* searchLabel = new QLabel(QStringLiteral("検索(&S)："), this);
  search_ = new QLineEdit(this);
  search_->setObjectName(QStringLiteral("guideSearch"));
  search_->setClearButtonEnabled(true);
  searchLabel->setBuddy(search_);
  auto* find = new QPushButton(QStringLiteral("検索"), this);
  find->setAccessibleName(QStringLiteral("検索する"));

  contents_ = new QTreeWidget(this);
  contents_->setObjectName(QStringLiteral("guideContents"));
  contents_->setAccessibleName(QStringLiteral("目次"));
  contents_->setHeaderHidden(true);
  contents_->setRootIsDecorated(false);
  contents_->setIndentation(16);
  BuildContents();

  browser_ = new GuideBrowser(
      guide_, [this](const QString& query) { return ResultsPage(query); }, this);
  browser_->setObjectName(QStringLiteral("guideText"));
  browser_->setSearchPaths({QString::fromStdString(guide_.folder)});

  auto* top = new QHBoxLayout;
  top->addWidget(back_);
  top->addWidget(forward_);
  top->addWidget(home);
  top->addStretch();
  top->addWidget(searchLabel);
  top->addWidget(search_, 1);
  top->addWidget(find);
  auto* split = new QSplitter(this);
  split->addWidget(contents_);
  split->addWidget(browser_);
  split->setStretchFactor(1, 1);
  split->setSizes({220, 680});
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addLayout(top);
  layout->addWidget(split, 1);
  // Reading order: the commands above, the contents, the page.
  setTabOrder(back_, forward_);
  setTabOrder(forward_, home);
  setTabOrder(home, search_);
  setTabOrder(search_, find);
  setTabOrder(find, contents_);
  setTabOrder(contents_, browser_);

  connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QWidget::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QWidget::setEnabled);
  back_->setEnabled(false);
  forward_->setEnabled(false);
  connect(home, &QPushButton::clicked, this, [this] { ShowPage(kGuideContentsPage); });
  connect(search_, &QLineEdit::returnPressed, this, [this] { Search(search_->text()); });
  connect(find, &QPushButton::clicked, this, [this] { Search(search_->text()); });
  const auto open = [this](QTreeWidgetItem* item) {
    const std::string file = item->data(0, kFileRole).toString().toStdString();
    if (!file.empty()) ShowPage(file);
  };
  connect(contents_, &QTreeWidget::itemActivated, this, open);
  connect(contents_, &QTreeWidget::itemClicked, this, open);
  connect(browser_, &GuideBrowser::shown, this, &GuideWindow::MarkInContents);

  const auto closing = [this] { close(); };
  for (const QKeySequence& keys :
       {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
    connect(new QShortcut(keys, this), &QShortcut::activated, this, closing);
  connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
    search_->setFocus(Qt::ShortcutFocusReason);
    search_->selectAll();
  });
  connect(new QShortcut(QKeySequence::Back, this), &QShortcut::activated, browser_,
          &QTextBrowser::backward);
  connect(new QShortcut(QKeySequence::Forward, this), &QShortcut::activated, browser_,
          &QTextBrowser::forward);

  resize(900, 680);
  ShowPage(kGuideContentsPage);
}

void GuideWindow::BuildContents() {
  QTreeWidgetItem* group = nullptr;
  for (const GuideEntry& entry : guide_.entries) {
    auto* item = entry.level > 1 && group != nullptr
                     ? new QTreeWidgetItem(group, {QString::fromStdString(entry.title)})
                     : new QTreeWidgetItem(contents_, {QString::fromStdString(entry.title)});
    item->setData(0, kFileRole, QString::fromStdString(entry.file));
    if (entry.level == 1) group = item;
  }
  contents_->expandAll();
}

void GuideWindow::MarkInContents(const std::string& file) {
  const QSignalBlocker quiet(contents_);
  contents_->setCurrentItem(nullptr);
  for (QTreeWidgetItemIterator it(contents_); *it != nullptr; ++it) {
    if ((*it)->data(0, kFileRole).toString().toStdString() == file && !file.empty()) {
      contents_->setCurrentItem(*it);
      return;
    }
  }
}

void GuideWindow::ShowPage(const std::string& file) {
  browser_->setSource(browser_->PageUrl(guide_.Page(file) ? file : kGuideContentsPage));
}

void GuideWindow::Search(const QString& query) {
  if (query.trimmed().isEmpty()) return;
  browser_->setSource(GuideBrowser::SearchUrl(query.trimmed()), QTextDocument::HtmlResource);
  // The hits are links: Tab from here goes from one to the next.
  browser_->setFocus(Qt::OtherFocusReason);
}

const std::vector<GuideText>& GuideWindow::SearchTexts() {
  if (searchTexts_.empty()) {
    for (const GuidePage& page : guide_.pages) {
      // The text as the window shows it, so that a place found is the place shown.
      QTextDocument shown;
      shown.setMarkdown(QString::fromStdString(page.markdown));
      searchTexts_.push_back({page.file, page.title, shown.toPlainText().toStdString()});
    }
  }
  return searchTexts_;
}

QString GuideWindow::ResultsPage(const QString& query) {
  const std::vector<GuideText>& texts = SearchTexts();
  const GuideSearch found = SearchGuide(texts, query.toStdString());
  QString html = QStringLiteral("<h1>「%1」の検索結果</h1>").arg(query.toHtmlEscaped());
  if (found.total == 0) {
    html += QStringLiteral("<p>「%1」は見つかりませんでした。</p>").arg(query.toHtmlEscaped());
    return html;
  }
  html += QStringLiteral("<p>%1 か所にあります。</p>").arg(found.total);
  std::string file;
  for (const GuideHit& hit : found.hits) {
    if (hit.file != file) {
      if (!file.empty()) html += QStringLiteral("</ul>");
      file = hit.file;
      const auto count = std::count_if(found.hits.begin(), found.hits.end(),
                                       [&](const GuideHit& other) { return other.file == file; });
      html += QStringLiteral("<h2>%1（%2 か所）</h2><ul>").arg(Escaped(hit.title)).arg(count);
    }
    const std::string& text = std::find_if(texts.begin(), texts.end(), [&](const GuideText& page) {
                                return page.file == hit.file;
                              })->text;
    const int at = ShownLength(text, hit.offset);
    const int length = ShownLength(text, hit.offset + hit.length) - at;
    html += QStringLiteral("<li><a href=\"%1\">%2<b>%3</b>%4</a></li>")
                .arg(browser_->PlaceUrl(hit.file, at, length).toString(QUrl::FullyEncoded),
                     Escaped(hit.before), Escaped(hit.match), Escaped(hit.after));
  }
  html += QStringLiteral("</ul>");
  if (found.total > found.hits.size()) {
    html += QStringLiteral("<p>初めの %1 か所だけを示しています。</p>").arg(found.hits.size());
  }
  return html;
}

bool GuideWindow::event(QEvent* event) {
  // A modal window blocks every other window: the guide stays open to read beside it.
  if (event->type() == QEvent::WindowBlocked) {
    if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal != this) {
      StayUsableBeside(modal);
    }
  }
  return QWidget::event(event);
}

void GuideWindow::StayUsableBeside(QWidget* modal) {
  if (modal_ != nullptr) modal_->removeEventFilter(this);
  modal_ = modal;
  modal->installEventFilter(this);
  // A window that belongs to the modal one is not blocked by it.
  if (windowHandle() != nullptr && modal->windowHandle() != nullptr) {
    windowHandle()->setTransientParent(modal->windowHandle());
  }
}

bool GuideWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == modal_ && event->type() == QEvent::Hide) {
    modal_->removeEventFilter(this);
    modal_ = nullptr;
    // Back beside the main window; a modal window still open below blocks it again, and it is
    // made usable beside that one in turn.
    if (windowHandle() != nullptr && parentWidget() != nullptr) {
      windowHandle()->setTransientParent(parentWidget()->window()->windowHandle());
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tavrin
