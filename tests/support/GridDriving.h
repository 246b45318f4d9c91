// Driving an editor grid the way a user does: picking a list item, typing into a cell.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "platform/CVSFlexGrid.h"

namespace tavrin::testing {

// Opens the list of a cell as the mouse does: a click to move there, a click to open it. Null
// (and a failure) when no list opened.
inline QComboBox* OpenList(CVSFlexGrid* grid, int row, int col) {
  QPoint centre = grid->CellRect(row, col).center();
  if (grid->Row() != row || grid->Col() != col)
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
  QComboBox* combo = nullptr;
  for (QComboBox* c : grid->viewport()->findChildren<QComboBox*>())
    if (c->isVisible()) combo = c;
  EXPECT_NE(combo, nullptr) << "no list at " << row << "," << col;
  return combo;
}

// Picks list item `item` in a cell: the list opened by the mouse, the item chosen, confirmed with
// Enter.
inline void Choose(CVSFlexGrid* grid, int row, int col, int item) {
  QComboBox* combo = OpenList(grid, row, col);
  ASSERT_NE(combo, nullptr);
  QAbstractItemView* list = combo->view();
  list->setCurrentIndex(list->model()->index(item, 0));
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

// Types ASCII `text` into the current cell: the first key opens the editor, the rest go to it.
// The editor stays open.
inline void Type(CVSFlexGrid* grid, const QString& text) {
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

}  // namespace tavrin::testing
