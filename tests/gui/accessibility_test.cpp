// The editor windows as a screen reader and a keyboard user meet them: read through Qt's
// accessibility interfaces (what the desktop's accessibility bus hands a screen reader), and
// driven with keys sent to the widget that has the keyboard.
#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "EditorSheetWorld.h"
#include "FakeEditorHost.h"
#include "GuiTestSupport.h"
#include "MakeStep.h"
#include "WidgetDriving.h"
#include "editors/ui/NameListDialog.h"
#include "editors/ui/OverviewDialog.h"
#include "editors/ui/StepDialog.h"
#include "framework/ui/ControlIds.h"
#include "framework/ui/EditorPage.h"
#include "platform/CVSFlexGrid.h"
#include "platform/ControlNames.h"

namespace tavrin {
namespace {

using testing::Click;
using testing::FakeEditorHost;
using testing::Focused;
using testing::WhenModal;

struct Fixture : testing::EditorSheetWorld {
  Fixture() {
    model->channels[0] = {kChannelTimeSignal, 0, 5, 0};
    model->channels[1] = {kChannelKeep, 0, 0, 0};
    model->steps[0] = testing::MakeStep(1, 1, "0100000", 8, 0, 3);  // Monday 08:00
    names->names[1][0] = 'A';
  }
  WeeklyContext Weekly() {
    return {*model,      *names, sink,
            *clipboards, ini,    {windows[0], windows[1], windows[2], windows[3]}};
  }
};

// The windows a keyboard user works in, each opened as the program opens it and closed with its
// own button once `look` is done with it.
enum class Window { Channels, Weekly, Annual, SummerTime, Radio, Steps, Names, Overview, Calendar };

const char* NameOf(Window window) {
  constexpr const char* kNames[] = {"channels",    "weekly",   "annual",
                                    "summer time", "radio",    "steps",
                                    "names",       "overview", "confirmation calendar"};
  return kNames[static_cast<int>(window)];
}

// Runs `run`, which opens a modal window, and `look` on that window once it is up; then `close`
// (the window's own button). The watch ends with `run`, so no later window meets it.
void Answering(const std::function<void()>& run, const std::function<void(QWidget*)>& look,
               int close) {
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    auto* steps = qobject_cast<StepDialog*>(modal);
    if (!modal || (steps && !steps->Ready())) return;
    poll.stop();
    Focused(modal);
    look(modal);
    Click(modal, close);
    if (modal->isVisible()) {
      ADD_FAILURE() << "the window stayed open";
      if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->done(QDialog::Rejected);
    }
  });
  poll.start();
  run();
}

void WithWindow(Window window, const std::function<void(QWidget*)>& look) {
  Fixture f;
  FakeEditorHost host(*f.model, *f.names);
  auto sheet = [&](EditorKind kind) { Answering([&] { f.Open(kind, host); }, look, kIdCancel); };
  switch (window) {
    case Window::Channels:
      return sheet(EditorKind::Channel);
    case Window::Weekly:
      return sheet(EditorKind::Weekly);
    case Window::Annual:
      return sheet(EditorKind::Annual);
    case Window::SummerTime:
      return sheet(EditorKind::SummerTime);
    case Window::Radio:
      return sheet(EditorKind::Radio);
    case Window::Steps: {
      WeeklyContext context = f.Weekly();
      StepDialog dialog(context, 1, 1, kChannelTimeSignal, 2);
      return Answering([&] { dialog.exec(); }, look, kIdCancel);
    }
    case Window::Names: {
      NameListDialog dialog(*f.model, *f.names, f.sink);
      return Answering([&] { dialog.exec(); }, look, kIdCancel);
    }
    case Window::Overview: {
      OverviewDialog dialog(*f.model, f.ini);
      return Answering([&] { dialog.exec(); }, look, ids::kClose);
    }
    case Window::Calendar: {
      // The annual page's "確認(&K)" that is on show opens it.
      auto openCalendar = [&](QWidget* annual) {
        for (int id : {ids::annual::kConfirmRows, ids::annual::kConfirmSingle}) {
          auto* confirm = FindControl<QWidget>(annual, id);
          if (confirm && confirm->isVisible())
            return Answering([&] { Click(annual, id); }, look, kIdCancel);
        }
        ADD_FAILURE() << "no 確認 on show";
      };
      return Answering([&] { f.Open(EditorKind::Annual, host); }, openCalendar, kIdCancel);
    }
  }
}

constexpr Window kWindows[] = {Window::Channels,   Window::Weekly,   Window::Annual,
                               Window::SummerTime, Window::Radio,    Window::Steps,
                               Window::Names,      Window::Overview, Window::Calendar};

// The controls a user can reach on screen: buttons, fields, lists, trees and grids that are shown
// and enabled. The line of a spin box or a drop-down list is a part of it, not a control.
std::vector<QWidget*> Controls(QWidget* window) {
  std::vector<QWidget*> controls;
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    if (!widget->isVisibleTo(window) || !widget->isEnabled() || widget->window() != window)
      continue;
    QWidget* parent = widget->parentWidget();
    if (qobject_cast<QLineEdit*>(widget) &&
        (qobject_cast<QAbstractSpinBox*>(parent) || qobject_cast<QComboBox*>(parent)))
      continue;
    if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
        qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<QComboBox*>(widget) ||
        qobject_cast<QTreeView*>(widget) || qobject_cast<CVSFlexGrid*>(widget))
      controls.push_back(widget);
  }
  return controls;
}

// The role a screen reader announces for each kind of control.
QAccessible::Role ExpectedRole(QWidget* control) {
  if (qobject_cast<CVSFlexGrid*>(control)) return QAccessible::Table;
  if (qobject_cast<QRadioButton*>(control)) return QAccessible::RadioButton;
  if (qobject_cast<QCheckBox*>(control)) return QAccessible::CheckBox;
  if (qobject_cast<QAbstractButton*>(control)) return QAccessible::Button;
  if (qobject_cast<QLineEdit*>(control)) return QAccessible::EditableText;
  if (qobject_cast<QAbstractSpinBox*>(control)) return QAccessible::SpinBox;
  if (qobject_cast<QComboBox*>(control)) return QAccessible::ComboBox;
  return QAccessible::Tree;
}

QString Describe(QWidget* control) {
  return QString("%1 \"%2\"").arg(control->metaObject()->className(), control->objectName());
}

TEST(ScreenReader, EveryEnabledControlHasANameAndItsRole) {
  for (Window window : kWindows) {
    WithWindow(window, [&](QWidget* shown) {
      const std::vector<QWidget*> controls = Controls(shown);
      EXPECT_GT(controls.size(), 1u) << NameOf(window);
      for (QWidget* control : controls) {
        QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(seen, nullptr) << NameOf(window);
        EXPECT_FALSE(seen->text(QAccessible::Name).trimmed().isEmpty())
            << NameOf(window) << ": " << Describe(control).toStdString() << " has no name";
        EXPECT_EQ(seen->role(), ExpectedRole(control))
            << NameOf(window) << ": " << Describe(control).toStdString();
      }
    });
  }
}

// Names the issue found missing or wrong, each as the screen reader reads it.
TEST(ScreenReader, FieldsAreNamedByTheirLabels) {
  struct Case {
    Window window;
    int id;
    const char* name;
  };
  const Case cases[] = {
      {Window::Steps, ids::kProgram, "週間プログラム番号"},
      {Window::Steps, ids::kName, "名称"},
      {Window::Steps, ids::kChannel, "チャンネル番号"},
      {Window::Steps, ids::kKind, "タイプ"},
      {Window::Radio, ids::radio::kStation, "放送局"},
      {Window::Radio, ids::radio::kFrequency, "周波数"},
      {Window::Annual, ids::annual::kBasic, "基本設定"},
      {Window::Annual, ids::annual::kPeriod, "期間設定"},
      {Window::Annual, ids::annual::kHoliday, "祭日設定"},
      {Window::Annual, ids::annual::kIndividual, "個別設定"},
      {Window::Calendar, ids::confirmation::kYear, "年"},
      {Window::Calendar, ids::confirmation::kMonth, "月"},
  };
  for (const Case& c : cases) {
    WithWindow(c.window, [&](QWidget* shown) {
      auto* control = FindControl<QWidget>(shown, c.id);
      ASSERT_NE(control, nullptr) << c.id;
      EXPECT_EQ(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name),
                QString::fromUtf8(c.name))
          << NameOf(c.window) << " " << c.id;
    });
  }
}

QString Joined(const QList<QAccessibleInterface*>& cells) {
  QStringList texts;
  for (QAccessibleInterface* cell : cells) texts << cell->text(QAccessible::Name);
  return texts.join('|');
}

// A grid's cells as a screen reader reads them: the text, a mark said as a word, the row and
// column headers; cells outside the table are none.
TEST(ScreenReader, GridCellsSayTheirTextAndHeaders) {
  struct Case {
    Window window;
    int row;
    int col;
    const char* text;  // "-": no such cell
    const char* rowHeaders;
    const char* columnHeaders;
  };
  const Case cases[] = {
      {Window::Weekly, 0, 0, "CH1 あり", "1 A", "CH1|報時"},
      {Window::Weekly, 1, 1, "", "2", "CH2|キープ"},
      {Window::Weekly, 98, 7, "", "99", "CH8"},
      {Window::Weekly, 99, 0, "-", "", ""},
      {Window::Weekly, 0, 8, "-", "", ""},
      {Window::Weekly, -1, 0, "-", "", ""},
      {Window::Steps, 0, 1, "月曜日 あり", "1", "月"},
      {Window::Steps, 0, 0, "", "1", "日"},
      {Window::Overview, 0, 5, "月曜日 あり", "1", "月"},
      {Window::Overview, 0, 0, "1", "1", "プログラム番号"},
      {Window::Names, 0, 0, "A", "1", "プログラム名"},
      {Window::Names, 1, 0, "", "2", "プログラム名"},
      {Window::Names, 0, -1, "-", "", ""},
  };
  for (const Case& c : cases) {
    WithWindow(c.window, [&](QWidget* shown) {
      auto* grid = FindControl<CVSFlexGrid>(shown, ids::kGrid);
      ASSERT_NE(grid, nullptr);
      QAccessibleTableInterface* table =
          QAccessible::queryAccessibleInterface(grid)->tableInterface();
      ASSERT_NE(table, nullptr) << NameOf(c.window);
      QAccessibleInterface* cell = table->cellAt(c.row, c.col);
      const std::string where =
          std::string(NameOf(c.window)) + " " + std::to_string(c.row) + "," + std::to_string(c.col);
      if (QString(c.text) == "-") {
        EXPECT_EQ(cell, nullptr) << where;
        return;
      }
      ASSERT_NE(cell, nullptr) << where;
      EXPECT_EQ(cell->text(QAccessible::Name), QString::fromUtf8(c.text)) << where;
      QAccessibleTableCellInterface* headers = cell->tableCellInterface();
      ASSERT_NE(headers, nullptr) << where;
      EXPECT_EQ(Joined(headers->rowHeaderCells()), QString::fromUtf8(c.rowHeaders)) << where;
      EXPECT_EQ(Joined(headers->columnHeaderCells()), QString::fromUtf8(c.columnHeaders)) << where;
    });
  }
}

// The cell a screen reader finds focused follows the cursor, and an open cell editor is named
// after its cell and is that cell's child.
TEST(ScreenReader, FocusFollowsTheCursorAndTheEditorIsTheCells) {
  WithWindow(Window::Names, [&](QWidget* shown) {
    auto* grid = FindControl<CVSFlexGrid>(shown, ids::kGrid);
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid);
    auto focusedCell = [&] {
      QAccessibleInterface* cell = table->focusChild();
      if (!cell || !cell->tableCellInterface() || !cell->state().focused) return QString("none");
      return QString("%1,%2")
          .arg(cell->tableCellInterface()->rowIndex())
          .arg(cell->tableCellInterface()->columnIndex());
    };
    QStringList seen{focusedCell()};
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Right}) {
      QTest::keyClick(Focused(shown), key);
      seen << focusedCell();
    }
    QTest::keyClick(Focused(shown), Qt::Key_Tab);  // to OK: no cell has the keyboard
    seen << focusedCell();
    EXPECT_EQ(seen, (QStringList{"1,0", "2,0", "1,0", "1,1", "none"}));
    QTest::keyClick(Focused(shown), Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(Focused(shown), Qt::Key_Left);
    QTest::keyClick(Focused(shown), Qt::Key_Return);
    QWidget* editor = Focused(shown);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(editor)->text(QAccessible::Name),
              "2 プログラム名");
    QAccessibleInterface* cell = table->tableInterface()->cellAt(1, 0);
    ASSERT_EQ(cell->childCount(), 1);
    EXPECT_EQ(cell->child(0)->object(), editor);
    EXPECT_EQ(table->tableInterface()->cellAt(0, 0)->childCount(), 0);
    QTest::keyClick(editor, Qt::Key_Escape);
  });
}

// Tab from the window's first control: every enabled control once, in reading order, and back to
// the first. Ctrl+Tab leaves a grid as Tab does.
TEST(Keyboard, TabVisitsEveryControlInReadingOrderAndComesBack) {
  struct Case {
    Window window;
    Qt::KeyboardModifiers modifiers;
    std::vector<int> order;
  };
  const Case cases[] = {
      {Window::Names, Qt::NoModifier, {ids::kGrid, kIdOk, kIdCancel}},
      {Window::Names, Qt::ControlModifier, {ids::kGrid, kIdOk, kIdCancel}},
      {Window::Overview, Qt::NoModifier, {ids::kGrid, ids::kClose}},
      {Window::Steps,
       Qt::NoModifier,
       {ids::kProgram, ids::kName, ids::kChannel, ids::kKind, ids::kGrid, ids::kCopy, ids::kDelete,
        ids::kConfirm, kIdOk, kIdCancel}},
  };
  for (const Case& c : cases) {
    WithWindow(c.window, [&](QWidget* shown) {
      auto* first = FindControl<QWidget>(shown, c.order.front());
      ASSERT_NE(first, nullptr);
      first->setFocus(Qt::TabFocusReason);
      std::vector<int> visited;
      for (std::size_t step = 0; step <= c.order.size(); ++step) {
        QWidget* focus = Focused(shown);
        visited.push_back(focus->objectName().toInt());
        // Ctrl+Tab is the way out of a grid; elsewhere Tab alone moves on.
        QTest::keyClick(focus, Qt::Key_Tab,
                        qobject_cast<CVSFlexGrid*>(focus) ? c.modifiers : Qt::NoModifier);
      }
      std::vector<int> expected = c.order;
      expected.push_back(c.order.front());
      EXPECT_EQ(visited, expected) << NameOf(c.window) << (c.modifiers ? " Ctrl+Tab" : " Tab");
      // Every enabled control is in the walk.
      for (QWidget* control : Controls(shown)) {
        EXPECT_NE(std::find(c.order.begin(), c.order.end(), control->objectName().toInt()),
                  c.order.end())
            << NameOf(c.window) << ": Tab never reaches " << Describe(control).toStdString();
      }
    });
  }
}

// The cursor's dotted box is the grid's focus mark: it goes when Tab takes the keyboard elsewhere
// and comes back with it, so that only one control shows a focus mark.
TEST(Keyboard, TheCursorBoxShowsOnlyWhileTheGridHasTheKeyboard) {
  WithWindow(Window::Names, [&](QWidget* shown) {
    auto* grid = FindControl<CVSFlexGrid>(shown, ids::kGrid);
    ASSERT_EQ(Focused(shown), grid);
    const QRect cell = grid->CellRect(grid->Row(), grid->Col());
    auto look = [&] { return grid->viewport()->grab(cell).toImage(); };
    const QImage focused = look();
    QTest::keyClick(grid, Qt::Key_Tab);
    ASSERT_NE(Focused(shown), grid);
    EXPECT_NE(look(), focused) << "the box stays while the keyboard is on OK";
    QTest::keyClick(Focused(shown), Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(Focused(shown), grid);
    EXPECT_EQ(look(), focused) << "the box did not come back with the keyboard";
  });
}

// Enter on the names list's OK after a rename stores it: the list can be confirmed by keyboard.
TEST(Keyboard, EnterOnOkConfirmsARenamedProgram) {
  Fixture f;
  NameListDialog dialog(*f.model, *f.names, f.sink);
  WhenModal([&](QWidget* shown) {
    QApplication::setActiveWindow(shown);
    ASSERT_TRUE(QTest::qWaitForWindowActive(shown));
    testing::CommitText(Focused(shown), "Z");
    QTest::keyClick(Focused(shown), Qt::Key_Return);  // the cell's edit stored
    QTest::keyClick(Focused(shown), Qt::Key_Tab);
    QTest::keyClick(Focused(shown), Qt::Key_Return);
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(f.names->names[2][0], 'Z');
}

// The program and channel of the step dialog a key on the weekly list opens, "" when none opens.
// The dialog is answered with its Cancel.
TEST(Keyboard, EnterAndSpaceOnAWeeklyCellOpenItsSteps) {
  struct Case {
    const char* what;
    Qt::Key key;
    const char* opened;  // program/channel
  };
  const Case cases[] = {
      {"Enter", Qt::Key_Return, "2/2"}, {"keypad Enter", Qt::Key_Enter, "2/2"},
      {"Space", Qt::Key_Space, "2/2"},  {"a letter", Qt::Key_A, ""},
      {"Delete", Qt::Key_Delete, ""},
  };
  for (const Case& c : cases) {
    Fixture f;
    FakeEditorHost host(*f.model, *f.names);
    QString opened;
    WhenModal([&](QWidget* sheet) {
      QWidget* grid = Focused(sheet);
      ASSERT_TRUE(qobject_cast<CVSFlexGrid*>(grid)) << c.what;
      // From program 1 on channel 1 to program 2 on channel 2.
      auto* cells = static_cast<CVSFlexGrid*>(grid);
      QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
      QTest::keyClick(grid, Qt::Key_Down);
      QTest::keyClick(grid, Qt::Key_Right);
      ASSERT_EQ(cells->Row(), 3) << c.what;
      QTimer answer;
      answer.setInterval(10);
      QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* steps = qobject_cast<StepDialog*>(QApplication::activeModalWidget());
        if (!steps || !steps->Ready()) return;
        answer.stop();
        opened = FindControl<QLineEdit>(steps, ids::kProgram)->text() + "/" +
                 FindControl<QLineEdit>(steps, ids::kChannel)->text();
        Click(steps, kIdCancel);
      });
      answer.start();
      QTest::keyClick(Focused(sheet), c.key);
      answer.stop();
      Click(sheet, kIdCancel);
    });
    f.Open(EditorKind::Weekly, host);
    EXPECT_EQ(opened, QString(c.opened)) << c.what;
  }
}

}  // namespace
}  // namespace tavrin
