#include "platform/QtMessageSink.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

namespace tavrin {
namespace {

QMessageBox::Icon ToQtIcon(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Exclamation:
      return QMessageBox::Warning;
    case MsgIcon::Information:
      return QMessageBox::Information;
    case MsgIcon::Stop:
      return QMessageBox::Critical;
    case MsgIcon::Question:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

int QtMessageSink::CaptionWidth(const QWidget& box) {
  // The window manager's title font is not known to the program; the dialog font is about its size.
  // The rest is the title bar's icon and buttons.
  constexpr int kTitleBarButtons = 140;
  return box.fontMetrics().horizontalAdvance(box.windowTitle()) + kTitleBarButtons;
}

void QtMessageSink::WidenForCaption(QMessageBox& box) {
  // A box as narrow as a short text cuts a longer caption (the special menu's boxes).
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (grid == nullptr) return;
  grid->addItem(new QSpacerItem(CaptionWidth(box), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                grid->rowCount(), 0, 1, grid->columnCount());
}

MsgAnswer QtMessageSink::Show(const std::string& text, const std::string& caption,
                              MsgButtons buttons, MsgIcon icon) {
  QMessageBox box(ToQtIcon(icon), QString::fromStdString(caption), QString::fromStdString(text),
                  QMessageBox::NoButton, parent_);
  // Plain text: paths and file names may hold characters that rich text would swallow.
  box.setTextFormat(Qt::PlainText);
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
  QPushButton* yes = nullptr;
  QPushButton* no = nullptr;
  switch (buttons) {
    case MsgButtons::Ok:
      ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
      box.setEscapeButton(ok);
      break;
    case MsgButtons::OkCancel:
      ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
      cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
      box.setEscapeButton(cancel);
      break;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoDefaultNo:
      yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
      no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
      box.setEscapeButton(no);
      break;
    case MsgButtons::YesNoCancel:
      yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
      no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
      cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
      box.setEscapeButton(cancel);
      break;
  }
  box.setDefaultButton(ok != nullptr ? ok : buttons == MsgButtons::YesNoDefaultNo ? no : yes);
  WidenForCaption(box);
  box.exec();
  const QAbstractButton* clicked = box.clickedButton();
  if (clicked != nullptr && clicked == yes) return MsgAnswer::Yes;
  if (clicked != nullptr && clicked == no) return MsgAnswer::No;
  if (clicked != nullptr && clicked == ok) return MsgAnswer::Ok;
  // The close box: the escape button's answer, as a Windows box gives it.
  if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
  if (buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoDefaultNo) return MsgAnswer::No;
  return MsgAnswer::Cancel;
}

}  // namespace tavrin
