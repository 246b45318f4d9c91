#include "framework/ui/DialogParts.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QScreen>

#include "editors/OpenedState.h"
#include "platform/ControlNames.h"
#include "platform/DialogButtons.h"
#include "platform/UiFonts.h"

namespace tavrin {

QPushButton* CommandButton(QWidget* parent, int id, const char* text, std::function<void()> run) {
  auto* button = new QPushButton(QString::fromUtf8(text), parent);
  button->setObjectName(ControlName(id));
  button->setFont(UiGothicFont());
  button->setMinimumSize(75, 23);
  button->setAutoDefault(false);
  button->setFocusPolicy(Qt::NoFocus);
  QObject::connect(button, &QPushButton::clicked, parent, [run = std::move(run)] { run(); });
  return button;
}

QLineEdit* ReadOnlyField(QWidget* parent, int id, const QString& text, int width) {
  auto* field = new QLineEdit(text, parent);
  field->setObjectName(ControlName(id));
  field->setReadOnly(true);
  field->setFocusPolicy(Qt::NoFocus);
  field->setFixedWidth(width);
  return field;
}

QLabel* RefusalNoteLabel(QWidget* parent, int width, int lines) {
  auto* note = new QLabel(parent);
  note->setWordWrap(true);
  note->setFixedWidth(width);
  note->setMinimumHeight(lines * note->fontMetrics().lineSpacing());
  QPalette palette = note->palette();
  palette.setColor(QPalette::WindowText, Qt::red);
  note->setPalette(palette);
  return note;
}

void AddOkCancel(QDialog& dialog, QBoxLayout& layout) {
  QDialogButtonBox* buttons = OkCancelButtons(dialog);
  // The editors' grids keep the keyboard: the buttons answer the mouse only.
  for (QAbstractButton* button : buttons->buttons()) button->setFocusPolicy(Qt::NoFocus);
  layout.addWidget(buttons);
}

bool ConfirmDelete(MessageSink& messages, const char* caption) {
  return messages.Show("選択行を削除します。よろしいですか？", caption, MsgButtons::OkCancel,
                       MsgIcon::Exclamation) == MsgAnswer::Ok;
}

bool MayDiscard(MessageSink& messages, const char* caption, bool changed) {
  return !changed || messages.Show(kDiscardQuestion, caption, MsgButtons::YesNoDefaultNo,
                                   MsgIcon::Exclamation) == MsgAnswer::Yes;
}

int RunAtStoredPosition(QDialog& dialog, int& x, int& y) {
  dialog.adjustSize();
  QPoint corner(x, y);
  // Only the title bar has to be reachable; a corner on no screen comes back into view.
  if (!QGuiApplication::screenAt(corner + QPoint(40, 10))) corner = {150, 100};
  dialog.move(corner);
  const int result = dialog.exec();
  x = dialog.pos().x();
  y = dialog.pos().y();
  return result;
}

}  // namespace tavrin
