// Pieces the editor windows share: their buttons, the delete question, and the stored position a
// dialog opens at and keeps when it closes.
#pragma once

#include <QBoxLayout>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <initializer_list>

#include "model/Messages.h"

namespace tavrin {

// A button named by its control identifier that Tab reaches but a click does not give the
// keyboard to: the grid keeps it (the Alt keys reach the button too).
QPushButton* CommandButton(QWidget* parent, int id, const char* text, std::function<void()> run);
// A read-only field of the window's title line.
QLineEdit* ReadOnlyField(QWidget* parent, int id, const QString& text, int width);
// A label that names `field` for a screen reader and gives it the keyboard with its mnemonic.
QLabel* LabelFor(QWidget* parent, const QString& text, QWidget* field);
// Makes Tab visit `widgets` in the order given (the reading order where it differs from the order
// the widgets were made in); null entries are skipped.
void TabInReadingOrder(std::initializer_list<QWidget*> widgets);
// OK and "キャンセル" under a dialog, OK the default.
void AddOkCancel(QDialog& dialog, QBoxLayout& layout);
// The red note that says why typed text was refused, `width` wide. Room for `lines` lines is kept,
// so that the window does not grow when a note appears.
QLabel* RefusalNoteLabel(QWidget* parent, int width, int lines);

// "選択行を削除します。よろしいですか？"; true for OK.
bool ConfirmDelete(MessageSink& messages, const char* caption);
// Cancel on an editor window: true when it may close and throw its work away, at once when
// nothing `changed`, else when the user answers "変更を破棄しますか？" with はい.
bool MayDiscard(MessageSink& messages, const char* caption, bool changed);

// Runs `dialog` modally with its top-left corner at (x, y), which receive the corner at closing.
int RunAtStoredPosition(QDialog& dialog, int& x, int& y);

}  // namespace tavrin
