#include "app/ui/GuideWindow.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QVBoxLayout>

#include "platform/UiFonts.h"

namespace tavrin {
namespace {

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

GuideWindow::GuideWindow(const UserGuide& guide, QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("guide"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QString::fromStdString(guide.title));
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("guideText"));
  // Links to the web go to the desktop's browser; the guide itself needs none.
  browser_->setOpenExternalLinks(true);
  // Reading text, larger than the dialogs' 12 pixels.
  browser_->document()->setDefaultFont(UiGothicFont(15));
  browser_->setSearchPaths({QString::fromStdString(guide.folder)});
  browser_->setMarkdown(QString::fromStdString(guide.markdown));
  SpaceOut(*browser_->document());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  resize(860, 680);
}

}  // namespace tavrin
