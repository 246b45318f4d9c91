// Driving the program's windows the way a user does: clicks on buttons, menus, drop-down lists
// and trees, keys to the widget that has the keyboard, and the close box.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QWindow>
#include <vector>

#include "platform/ControlNames.h"

namespace tavrin::testing {

// The widget of `window` that has the keyboard, the window made the active one first, as a window
// manager does when a list or box over it closes (none does here; the offscreen platform's own
// activations of closed lists and boxes may still be on their way). Without a focused widget the
// keys go to the window itself.
inline QWidget* Focused(QWidget* window) {
  QApplication::setActiveWindow(window);
  EXPECT_EQ(QApplication::activeWindow(), window) << "the window did not become the active one";
  QWidget* focus = QApplication::focusWidget();
  if (focus == nullptr) return window;
  EXPECT_TRUE(focus == window || window->isAncestorOf(focus)) << "the keyboard is elsewhere";
  return focus;
}

// Where a click presses `button`: a check box or radio button only takes clicks on its box and
// its text, which need not reach the middle of the widget.
inline QPoint PressPoint(QAbstractButton* button) {
  QStyleOptionButton option;
  option.initFrom(button);
  if (qobject_cast<QCheckBox*>(button))
    return button->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, button).center();
  if (qobject_cast<QRadioButton*>(button))
    return button->style()
        ->subElementRect(QStyle::SE_RadioButtonIndicator, &option, button)
        .center();
  return button->rect().center();
}

// A left click on the button, check box or radio button `id` of `window`.
inline void Click(QWidget* window, int id) {
  auto* button = FindControl<QAbstractButton>(window, id);
  ASSERT_NE(button, nullptr) << id;
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, PressPoint(button));
}

// A click on the up or down arrow of the up-down control `id` of `window`.
inline void ClickArrow(QWidget* window, int id, Qt::ArrowType which) {
  auto* control = FindControl<QWidget>(window, id);
  ASSERT_NE(control, nullptr) << id;
  for (QToolButton* arrow : control->findChildren<QToolButton*>()) {
    if (arrow->arrowType() != which) continue;
    QTest::mouseClick(arrow, Qt::LeftButton);
    return;
  }
  ADD_FAILURE() << "no such arrow beside " << id;
}

// A left click on the button of `window` that reads `text` (a message box's, or one without an
// identifier).
inline void ClickLabelled(QWidget* window, const QString& text) {
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    if (button->text() != text) continue;
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, PressPoint(button));
    return;
  }
  ADD_FAILURE() << "no button " << text.toStdString();
}

// A click as the window system delivers it, so that a window a modal one blocks ignores it.
inline void ClickAsTheUser(QWidget* button) {
  QWidget* window = button->window();
  QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                    button->mapTo(window, button->rect().center()));
}

// The close box of the window's title bar: the close request the window system hands the window.
inline void CloseBox(QWidget* window) {
  ASSERT_NE(window->windowHandle(), nullptr);
  QCloseEvent close;
  QApplication::sendEvent(window->windowHandle(), &close);
}

// Chooses `item` from the menu bar with the mouse: a click on the menu's title, one on the item.
inline void ChooseFromMenu(QMenuBar* bar, QAction* item) {
  ASSERT_NE(item, nullptr);
  for (QAction* title : bar->actions()) {
    QMenu* menu = title->menu();
    if (menu == nullptr || !menu->actions().contains(item)) continue;
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(title).center());
    ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000)) << "menu closed";
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(item).center());
    return;
  }
  ADD_FAILURE() << "no menu holds " << item->text().toStdString();
}

// Picks item `index` of a drop-down list: a click opens the list, Home and Down go to the item and
// Enter takes it. (A click on an item right after the click that opened the list is taken for the
// end of a drag and ignored, for a double-click's time.)
inline void PickFromList(QComboBox* combo, int index) {
  ASSERT_NE(combo, nullptr);
  QTest::mouseClick(combo, Qt::LeftButton);
  QAbstractItemView* list = combo->view();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window())) << "the list did not open";
  ASSERT_EQ(QApplication::focusWidget(), list) << "the open list does not have the keyboard";
  QTest::keyClick(list, Qt::Key_Home);
  for (int i = 0; i < index; ++i) QTest::keyClick(list, Qt::Key_Down);
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_FALSE(list->isVisible()) << "Enter did not close the list";
}

// Clicks `item` of a tree, opening the branches above it first with clicks on their arrows.
inline void ClickTreeItem(QTreeWidget* tree, QTreeWidgetItem* item) {
  ASSERT_NE(item, nullptr);
  std::vector<QTreeWidgetItem*> branches;
  for (QTreeWidgetItem* up = item->parent(); up != nullptr; up = up->parent())
    branches.insert(branches.begin(), up);
  for (QTreeWidgetItem* branch : branches) {
    if (branch->isExpanded()) continue;
    tree->scrollToItem(branch);
    const QRect row = tree->visualItemRect(branch);
    // The branch's arrow stands one indentation left of its text.
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(row.left() - tree->indentation() / 2, row.center().y()));
    ASSERT_TRUE(branch->isExpanded()) << branch->text(0).toStdString();
  }
  tree->scrollToItem(item);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                    tree->visualItemRect(item).center());
}

}  // namespace tavrin::testing
