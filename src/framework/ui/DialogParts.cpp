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
  // Tab reaches it and Enter presses it, yet a click leaves the keyboard where it was (in a grid).
  button->setAutoDefault(true);
  button->setFocusPolicy(Qt::TabFocus);
  QObject::connect(button, &QPushButton::clicked, parent, [run = std::move(run)] { run(); });
  return button;
}

QLineEdit* ReadOnlyField(QWidget* parent, int id, const QString& text, int width) {
  auto* field = new QLineEdit(text, parent);
  field->setObjectName(ControlName(id));
  field->setReadOnly(true);
  // Tab stops here, so that a screen reader reads the value.
  field->setFocusPolicy(Qt::TabFocus);
  field->setFixedWidth(width);
  return field;
}

QLabel* LabelFor(QWidget* parent, const QString& text, QWidget* field) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(field);
  return label;
}

void TabInReadingOrder(std::initializer_list<QWidget*> widgets) {
  QWidget* previous = nullptr;
  for (QWidget* widget : widgets) {
    if (widget == nullptr) continue;
    if (previous != nullptr) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
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
  // The editors' grids keep the keyboard when the buttons are clicked; Tab reaches them, and Enter
  // presses the one that has the keyboard.
  for (QAbstractButton* button : buttons->buttons()) {
    button->setFocusPolicy(Qt::TabFocus);
    if (auto* push = qobject_cast<QPushButton*>(button)) push->setAutoDefault(true);
  }
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
