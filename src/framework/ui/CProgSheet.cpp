#include "framework/ui/CProgSheet.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

#include "framework/ui/DialogParts.h"
#include "framework/ui/EditorPage.h"
#include "platform/DialogButtons.h"
#include "platform/UiFonts.h"

namespace tavrin {
namespace {

// Where the sheet opens when its stored corner lies on no screen (a monitor since removed).
constexpr int kDefaultX = 150;
constexpr int kDefaultY = 100;

bool IsPlainEscape(const QKeyEvent& key) {
  return key.key() == Qt::Key_Escape && key.modifiers() == Qt::NoModifier;
}

}  // namespace

CProgSheet::CProgSheet(QWidget* parent) : QDialog(parent) {
  setFont(UiGothicFont());
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(7, 7, 7, 7);
  layout->setSpacing(7);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  tabs_ = new QTabWidget(this);
  layout->addWidget(tabs_);

  layout->addWidget(OkCancelButtons(*this));
}

CProgSheet::~CProgSheet() {
  // Pages belong to the caller; they must not die with the tab widget.
  SetPage(nullptr, QString());
}

void CProgSheet::SetPage(EditorPage* page, const QString& caption) {
  if (page_) {
    tabs_->removeTab(0);
    page_->setParent(nullptr);
  }
  page_ = page;
  if (page) tabs_->addTab(page, page->TabTitle());
  setWindowTitle(caption);
}

bool CProgSheet::Run(int& x, int& y, const SheetWork& work) {
  adjustSize();
  QPoint corner(x, y);
  // Only the title bar has to be reachable; the corner is kept as stored otherwise.
  if (!QGuiApplication::screenAt(corner + QPoint(40, 10))) corner = {kDefaultX, kDefaultY};
  move(corner);
  work_ = &work;
  escapeDown_ = false;
  opened_ = std::make_unique<OpenedState>(work.model, work.names);
  qApp->installEventFilter(this);
  int result = exec();
  qApp->removeEventFilter(this);
  work_ = nullptr;
  opened_.reset();
  x = pos().x();
  y = pos().y();
  return result == QDialog::Accepted;
}

void CProgSheet::accept() {
  if (page_ && !page_->Apply()) return;
  QDialog::accept();
}

void CProgSheet::reject() {
  if (work_ && page_ &&
      !MayDiscard(work_->messages, work_->caption,
                  opened_->Changed(work_->model, work_->names,
                                   {page_->FilledTexts(), page_->ScreenTexts()})))
    return;
  QDialog::reject();
}

bool CProgSheet::OwnsKeyEvent(QObject* watched, QEvent* event) const {
  if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if ((key->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)) !=
          Qt::AltModifier ||
      key->key() < Qt::Key_A || key->key() > Qt::Key_Z)
    return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  return widget && (widget == this || isAncestorOf(widget));
}

bool CProgSheet::eventFilter(QObject* watched, QEvent* event) {
  if (!page_ || !OwnsKeyEvent(watched, event)) return QDialog::eventFilter(watched, event);
  if (event->type() == QEvent::ShortcutOverride) {
    // Claiming the key as a plain key press keeps the buttons' own mnemonics from firing as well;
    // the press itself then comes here.
    event->accept();
    return true;
  }
  page_->AltKey(static_cast<QKeyEvent*>(event)->key());
  return true;
}

void CProgSheet::keyPressEvent(QKeyEvent* event) {
  if (!IsPlainEscape(*event)) {
    QDialog::keyPressEvent(event);
    return;
  }
  if (!event->isAutoRepeat()) escapeDown_ = true;
  event->accept();
}

void CProgSheet::keyReleaseEvent(QKeyEvent* event) {
  if (!IsPlainEscape(*event) || event->isAutoRepeat() || !escapeDown_) {
    QDialog::keyReleaseEvent(event);
    return;
  }
  escapeDown_ = false;
  event->accept();
  reject();
}

void CProgSheet::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  emit Moved();
}

}  // namespace tavrin
