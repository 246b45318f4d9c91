// Driving an editor grid the way a user does: clicking a cell, picking a list item, typing into a
// cell.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <functional>

#include "GuiTestSupport.h"
#include "platform/CVSFlexGrid.h"

namespace tavrin::testing {

// A left click on the middle of a cell.
inline void ClickCell(CVSFlexGrid* grid, int row, int col) {
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                    grid->CellRect(row, col).center());
}

// Opens the list of a cell as the mouse does: a click to move there, a click to open it. Null
// (and a failure) when no list opened.
inline QComboBox* OpenList(CVSFlexGrid* grid, int row, int col) {
  if (grid->Row() != row || grid->Col() != col) ClickCell(grid, row, col);
  ClickCell(grid, row, col);
  QComboBox* combo = nullptr;
  for (QComboBox* c : grid->viewport()->findChildren<QComboBox*>())
    if (c->isVisible()) combo = c;
  EXPECT_NE(combo, nullptr) << "no list at " << row << "," << col;
  return combo;
}

// Picks list item `item` in a cell with the keys of the open list: the list opened by the mouse,
// Home, Down to the item, Enter.
inline void Choose(CVSFlexGrid* grid, int row, int col, int item) {
  QComboBox* combo = OpenList(grid, row, col);
  ASSERT_NE(combo, nullptr);
  QWidget* list = QApplication::focusWidget();
  ASSERT_EQ(list, combo->view()) << "the open list does not have the keyboard";
  QTest::keyClick(list, Qt::Key_Home);
  for (int i = 0; i < item; ++i) QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_Return);
  ASSERT_FALSE(grid->IsEditing());
}

// Picks list item `item` in a cell with the mouse alone: the list opened, a click on the item.
inline void PickByMouse(CVSFlexGrid* grid, int row, int col, int item) {
  QComboBox* combo = OpenList(grid, row, col);
  ASSERT_NE(combo, nullptr);
  QAbstractItemView* list = combo->view();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
  const QModelIndex index = list->model()->index(item, 0);
  list->scrollTo(index);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                    list->visualRect(index).center());
  ASSERT_FALSE(grid->IsEditing()) << "the pick did not close the list";
}

// Types ASCII `text` into the current cell, with the grid's window the active one: the first key
// opens the editor, the rest go to it. The editor stays open.
inline void Type(CVSFlexGrid* grid, const QString& text) {
  QApplication::setActiveWindow(grid->window());
  ASSERT_EQ(QApplication::focusWidget(), grid) << "the grid does not have the keyboard";
  QTest::keyClicks(grid, text.left(1));
  QLineEdit* editor = nullptr;
  for (QLineEdit* e : grid->viewport()->findChildren<QLineEdit*>())
    if (e->isVisible()) editor = e;
  ASSERT_NE(editor, nullptr) << "no editor opened";
  QTest::keyClicks(editor, text.mid(1));
}

// The open cell editor, which has the keyboard while typing.
inline QWidget* OpenEditorWidget(CVSFlexGrid* grid) {
  for (QWidget* e : grid->viewport()->findChildren<QLineEdit*>())
    if (e->isVisible()) return e;
  return nullptr;
}

// The keys of a cell, sent to whichever widget has the keyboard: ASCII keys, Japanese as an input
// method commits it (a character, or the text between "[" and "]"), "~" a pause of more than a
// second, "\n" Enter, "\x1b" Escape, and "@" whatever the caller does elsewhere. Typed keys count
// together on a clock of its own, so that a slow machine does not split them.
class Keyboard {
 public:
  Keyboard() {
    CVSFlexGrid::SetTypingClock([this] { return now_; });
  }
  ~Keyboard() { CVSFlexGrid::SetTypingClock(nullptr); }
  Keyboard(const Keyboard&) = delete;
  Keyboard& operator=(const Keyboard&) = delete;

  // Clicks the cell and types `keys` into it. On the cursor's cell the click opens the cell's list
  // or editor: the keys go there then.
  void Into(CVSFlexGrid* grid, int row, int col, const QString& keys,
            const std::function<void()>& elsewhere = {}) {
    Activate(grid);
    ClickCell(grid, row, col);
    for (qsizetype i = 0; i < keys.size(); ++i) {
      const QChar key = keys[i];
      now_ += key == '~' ? 1500 : 80;
      if (key == '~') continue;
      Activate(grid);
      QWidget* target = QApplication::focusWidget();
      ASSERT_NE(target, nullptr) << "no widget has the keyboard for " << keys.toStdString();
      if (key == '@') {
        elsewhere();
      } else if (key == '\n') {
        QTest::keyClick(target, Qt::Key_Return);
      } else if (key == '\x1b') {
        QTest::keyClick(target, Qt::Key_Escape);
      } else if (key == '[') {
        const qsizetype end = keys.indexOf(']', i);
        CommitText(target, keys.mid(i + 1, end - i - 1));
        i = end;
      } else if (key.unicode() < 0x80) {
        QTest::keyClick(target, key.toLatin1());
      } else {
        CommitText(target, QString(key));
      }
    }
    QApplication::processEvents();
  }

 private:
  // Lists and message boxes are windows of their own; when they close, a window manager gives
  // the keyboard back to the window the user works in, which the offscreen platform leaves to us.
  static void Activate(QWidget* widget) {
    if (QApplication::activePopupWidget() == nullptr &&
        QApplication::activeModalWidget() != nullptr)
      QApplication::setActiveWindow(QApplication::activeModalWidget());
    else if (QApplication::activeWindow() == nullptr)
      QApplication::setActiveWindow(widget->window());
  }

  int64_t now_ = 1'000'000;
};

}  // namespace tavrin::testing
