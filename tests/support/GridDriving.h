// Driving an editor grid the way a user does: clicking a cell through its window, picking a list
// item, typing into a cell.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QWindow>
#include <functional>

#include "GuiTestSupport.h"
#include "platform/CVSFlexGrid.h"

namespace tavrin::testing {

// A left click on the middle of a cell, as the window system delivers it: to the grid's window,
// where an open list or editor sees it as it sees the user's.
inline void ClickCell(CVSFlexGrid* grid, int row, int col) {
  QWidget* window = grid->window();
  ASSERT_NE(window->windowHandle(), nullptr) << "the grid's window is not shown";
  // A window manager hands the keyboard to the window clicked, unless a modal one is in front.
  QWidget* modal = QApplication::activeModalWidget();
  if (!window->isActiveWindow() && (modal == nullptr || modal == window))
    QApplication::setActiveWindow(window);
  QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                    grid->viewport()->mapTo(window, grid->CellRect(row, col).center()));
}

// The items of a column's list joined by "|", empty when it has none.
inline QString ColumnItems(const CVSFlexGrid* grid, int col) {
  QStringList items;
  if (const auto& list = grid->ColList(col))
    for (const std::string& item : list->items) items << QString::fromStdString(item);
  return items.join('|');
}

// The grid's open list, null when none is open.
inline QListWidget* OpenListOf(const CVSFlexGrid* grid) {
  for (QListWidget* list : grid->findChildren<QListWidget*>())
    if (list->isVisible()) return list;
  return nullptr;
}

// Opens the list of a cell as the mouse does: a click to move there, a click to open it. Null
// (and a failure) when no list opened.
inline QListWidget* OpenList(CVSFlexGrid* grid, int row, int col) {
  if (grid->Row() != row || grid->Col() != col) ClickCell(grid, row, col);
  ClickCell(grid, row, col);
  QListWidget* list = OpenListOf(grid);
  EXPECT_NE(list, nullptr) << "no list at " << row << "," << col;
  return list;
}

// Picks list item `item` in a cell with the keys of the open list: the list opened by the mouse,
// Home, Down to the item, Enter, each to the cell's editor, which keeps the keyboard.
inline void Choose(CVSFlexGrid* grid, int row, int col, int item) {
  ASSERT_NE(OpenList(grid, row, col), nullptr);
  QWidget* editor = QApplication::focusWidget();
  ASSERT_TRUE(editor && grid->isAncestorOf(editor))
      << "the cell's editor does not have the keyboard";
  QTest::keyClick(editor, Qt::Key_Home);
  for (int i = 0; i < item; ++i) QTest::keyClick(editor, Qt::Key_Down);
  QTest::keyClick(editor, Qt::Key_Return);
  ASSERT_FALSE(grid->IsEditing());
}

// Picks list item `item` in a cell with the mouse alone: the list opened, a click on the item
// through the list's own window.
inline void PickByMouse(CVSFlexGrid* grid, int row, int col, int item) {
  QListWidget* list = OpenList(grid, row, col);
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(list));
  QListWidgetItem* entry = list->item(item);
  ASSERT_NE(entry, nullptr);
  list->scrollToItem(entry);
  QTest::mouseClick(list->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                    list->viewport()->mapTo(list, list->visualItemRect(entry).center()));
  ASSERT_FALSE(grid->IsEditing()) << "the pick did not close the list";
}

// Types ASCII `text` into the current cell, with the grid's window the active one: the first key
// opens the editor, the rest go to it. The editor stays open.
inline void Type(CVSFlexGrid* grid, const QString& text) {
  QApplication::setActiveWindow(grid->window());
  ASSERT_EQ(QApplication::focusWidget(), grid) << "the grid does not have the keyboard";
  QTest::keyClicks(grid, text.left(1));
  QWidget* editor = QApplication::focusWidget();
  ASSERT_TRUE(grid->IsEditing() && editor != grid) << "no editor opened";
  QTest::keyClicks(editor, text.mid(1));
}

// The open cell editor, which has the keyboard while typing.
inline QWidget* OpenEditorWidget(CVSFlexGrid* grid) {
  for (QWidget* e : grid->viewport()->findChildren<QLineEdit*>())
    if (e->isVisible()) return e;
  return nullptr;
}

// The keys of a cell, sent to whichever widget has the keyboard: ASCII keys, Japanese as an input
// method commits it (a character, or the text between "[" and "]"), "<" BackSpace, "\t" Tab,
// "\n" Enter, "\x1b" Escape, and "@" whatever the caller does elsewhere (a click on another cell
// or a button).
class Keyboard {
 public:
  // Clicks the cell and types `keys` into it. On the cursor's cell the click opens the cell's list
  // or editor: the keys go there then.
  void Into(CVSFlexGrid* grid, int row, int col, const QString& keys,
            const std::function<void()>& elsewhere = {}) {
    Activate(grid);
    ClickCell(grid, row, col);
    for (qsizetype i = 0; i < keys.size(); ++i) {
      const QChar key = keys[i];
      Activate(grid);
      QWidget* target = QApplication::focusWidget();
      ASSERT_NE(target, nullptr) << "no widget has the keyboard for " << keys.toStdString();
      if (key == '@') {
        elsewhere();
      } else if (key == '\n') {
        QTest::keyClick(target, Qt::Key_Return);
      } else if (key == '\t') {
        QTest::keyClick(target, Qt::Key_Tab);
      } else if (key == '<') {
        QTest::keyClick(target, Qt::Key_Backspace);
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
  // Message boxes are windows of their own; when they close, a window manager gives the keyboard
  // back to the window the user works in, which the offscreen platform leaves to us.
  static void Activate(QWidget* widget) {
    if (QApplication::activeModalWidget() != nullptr)
      QApplication::setActiveWindow(QApplication::activeModalWidget());
    else if (QApplication::activeWindow() == nullptr)
      QApplication::setActiveWindow(widget->window());
  }
};

}  // namespace tavrin::testing
