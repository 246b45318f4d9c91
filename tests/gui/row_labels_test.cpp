// Rows picked on their labels, by a drag down the labels or a click and a Shift+click, and a row
// command acting on all of them, in every editor grid with row labels.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <algorithm>
#include <functional>
#include <string>

#include "EditorSheetWorld.h"
#include "FakeEditorHost.h"
#include "GridDriving.h"
#include "GuiTestSupport.h"
#include "MakeStep.h"
#include "WidgetDriving.h"
#include "app/ui/OpenEditor.h"
#include "editors/ui/StepDialog.h"
#include "framework/ui/CProgSheet.h"
#include "framework/ui/ControlIds.h"
#include "framework/ui/EditorPage.h"
#include "platform/CVSFlexGrid.h"
#include "platform/ControlNames.h"

namespace tavrin {
namespace {

using testing::Click;
using testing::ClickCell;
using testing::FakeEditorHost;
using testing::MakeStep;
using testing::WhenModal;

enum class Pick { Drag, ShiftClick };

QPoint Label(CVSFlexGrid* grid, int row) { return grid->CellRect(row, 0).center(); }

// Picks the rows `first`..`last` on their labels as a user does with the mouse.
void PickRows(CVSFlexGrid* grid, int first, int last, Pick how) {
  QWidget* area = grid->viewport();
  if (how == Pick::ShiftClick) {
    ClickCell(grid, first, 0);
    QTest::mouseClick(area, Qt::LeftButton, Qt::ShiftModifier, Label(grid, last));
    return;
  }
  QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, Label(grid, first));
  for (int row = first; row != last; row += first < last ? 1 : -1) {
    const QPoint at = Label(grid, row + (first < last ? 1 : -1));
    // QTest's moves carry no button; a real drag's do.
    QMouseEvent move(QEvent::MouseMove, at, area->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(area, &move);
  }
  QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, Label(grid, last));
}

struct Fixture : testing::EditorSheetWorld {
  Fixture() {
    model->basicProgram = 1;
    model->channels[0] = {kChannelTimeSignal, 0, 5, 0};
    model->channels[1] = {kChannelKeep, 0, 0, 0};
    model->channels[2] = {kChannelTimeSignal, 3, 0, 1};
    for (int i = 0; i < 3; ++i) {
      model->periods[i] = {2026, 4, static_cast<uint8_t>(1 + i), 4, 20, 2};
      model->dates[i] = {2026, 5, static_cast<uint8_t>(1 + i), 3};
      model->steps[i] = MakeStep(1, 1, "1000000", 7 + i, 0, 1);
    }
    model->summerTimeEnabled = 1;
    model->summerTime = {3, 2, 1, 2, 11, 1, 1, 2};
  }
};

std::string Kinds(const ScheduleModel& m) {
  std::string kinds;
  for (const ChannelSetting& c : m.channels) kinds += std::to_string(c.kind);
  return kinds;
}

std::string PeriodDays(const ScheduleModel& m) {
  std::string days;
  for (int i = 0; i < 6; ++i) days += std::to_string(m.periods[i].startDay) + " ";
  return days;
}

std::string DateDays(const ScheduleModel& m) {
  std::string days;
  for (int i = 0; i < 6; ++i) days += std::to_string(m.dates[i].day) + " ";
  return days;
}

std::string StepHours(const ScheduleModel& m) {
  std::string hours;
  for (int i = 0; i < 4; ++i)
    hours += m.steps[i].used() ? std::to_string(m.steps[i].hour) + " " : "- ";
  return hours;
}

std::string SummerMonths(const ScheduleModel& m) {
  return std::to_string(m.summerTime.startMonth) + " " + std::to_string(m.summerTime.endMonth);
}

// The grid of a page (or of the weekly page's step dialog for program 1 on CH1), the rows picked,
// the command keys pressed there (Alt+C then a click on the label of row `pasteAt` and Alt+P, or
// Alt+D), and the model after OK.
struct Case {
  const char* name;
  EditorKind page;
  int kindButton;  // the annual page's radio button, else 0
  int grid;        // 0: the step dialog's
  int first, last;
  Pick how;
  int pasteAt;  // 0: delete instead
  std::function<std::string(const ScheduleModel&)> read;
  std::string stored;
};

void Command(CVSFlexGrid* grid, Qt::Key key) {
  QTest::keyClick(grid, key, Qt::AltModifier);
  // A dialog's button answers its letter with a short animated click: done once it is up again.
  const QList<QAbstractButton*> buttons = grid->window()->findChildren<QAbstractButton*>();
  EXPECT_TRUE(QTest::qWaitFor(
      [&buttons] {
        return std::none_of(buttons.begin(), buttons.end(),
                            [](QAbstractButton* button) { return button->isDown(); });
      },
      2000));
}

void RunCommand(CVSFlexGrid* grid, const Case& c) {
  // The window the user works in is the active one; the offscreen platform leaves that to us.
  QApplication::setActiveWindow(grid->window());
  PickRows(grid, c.first, c.last, c.how);
  if (c.pasteAt == 0) {
    Command(grid, Qt::Key_D);
    return;
  }
  Command(grid, Qt::Key_C);
  ClickCell(grid, c.pasteAt, 0);
  Command(grid, Qt::Key_P);
}

TEST(RowLabels, ARangePickedOnTheLabelsIsWhatTheRowCommandsActOn) {
  const Case cases[] = {
      {"channels copied", EditorKind::Channel, 0, ids::kGrid, 1, 3, Pick::Drag, 5, Kinds,
       "12101210"},
      {"channels deleted", EditorKind::Channel, 0, ids::kGrid, 3, 2, Pick::ShiftClick, 0, Kinds,
       "10000000"},
      {"periods deleted", EditorKind::Annual, ids::annual::kPeriod, ids::annual::kPeriodGrid, 1, 2,
       Pick::Drag, 0, PeriodDays, "3 0 0 0 0 0 "},
      {"dates copied", EditorKind::Annual, ids::annual::kIndividual, ids::annual::kIndividualGrid,
       2, 3, Pick::ShiftClick, 5, DateDays, "1 2 3 2 3 0 "},
      {"steps deleted", EditorKind::Weekly, 0, 0, 3, 1, Pick::Drag, 0, StepHours, "- - - - "},
      {"summer rows deleted", EditorKind::SummerTime, 0, ids::summer::kGrid, 1, 2, Pick::ShiftClick,
       0, SummerMonths, "0 0"},
  };
  for (const Case& c : cases) {
    Fixture f;
    if (c.page == EditorKind::SummerTime) f.model->summerTimeEnabled = 0;
    FakeEditorHost host(*f.model);
    bool closed = false;
    WhenModal([&](QWidget* sheet) {
      if (c.kindButton != 0) Click(sheet, c.kindButton);
      auto* grid = FindControl<CVSFlexGrid>(sheet, c.grid == 0 ? ids::kGrid : c.grid);
      if (c.grid != 0) {
        RunCommand(grid, c);
      } else {
        WhenModal([&](QWidget* modal) {
          auto* dialog = qobject_cast<StepDialog*>(modal);
          ASSERT_NE(dialog, nullptr);
          ASSERT_TRUE(QTest::qWaitFor([dialog] { return dialog->Ready(); }, 2000));
          RunCommand(dialog->Grid(), c);
          Click(dialog, kIdOk);
        });
        ClickCell(grid, 2, 1);  // program 1 on CH1
      }
      Click(sheet, kIdOk);
      closed = !sheet->isVisible();
      if (!closed) Click(sheet, kIdCancel);
    });
    f.Open(c.page, host);
    EXPECT_TRUE(closed) << c.name;
    EXPECT_EQ(c.read(*f.model), c.stored) << c.name;
  }
}

}  // namespace
}  // namespace tavrin
