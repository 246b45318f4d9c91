// Typing into the editors' cells as a user does, page by page: a click on the cell, keys to
// whichever widget has the keyboard, Enter, and OK; then the value the working model holds.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "EditorSheetWorld.h"
#include "FakeEditorHost.h"
#include "GridDriving.h"
#include "GuiTestSupport.h"
#include "WidgetDriving.h"
#include "app/ui/OpenEditor.h"
#include "editors/ui/ChannelDialog.h"
#include "editors/ui/StepDialog.h"
#include "framework/ui/CProgSheet.h"
#include "framework/ui/ControlIds.h"
#include "framework/ui/EditorPage.h"
#include "platform/CVSFlexGrid.h"
#include "platform/ControlNames.h"
#include "platform/QtMessageSink.h"

namespace tavrin {
namespace {

using testing::Click;
using testing::ClickCell;
using testing::FakeEditorHost;
using testing::Keyboard;
using testing::WhenModal;

// Presses OK and reports whether the window closed; a window that stays is cancelled.
bool Ok(QWidget* window) {
  Click(window, kIdOk);
  if (!window->isVisible()) return true;
  Click(window, kIdCancel);
  return false;
}

// One cell typed into: the row and column of the grid, the keys.
struct Typed {
  int row;
  int col;
  QString keys;
};

// A case of a page's table: the cells typed into and the model's values after OK, as text.
struct Case {
  std::vector<Typed> cells;
  std::string stored;
};

std::string CaseName(const Case& c) {
  std::string name;
  for (const Typed& cell : c.cells)
    name += std::to_string(cell.row) + "," + std::to_string(cell.col) + " \"" +
            cell.keys.toStdString() + "\" ";
  return name;
}

struct PageFixture : testing::EditorSheetWorld {
  PageFixture() {
    model->channels[0] = {kChannelTimeSignal, 0, 5, 0};
    model->channels[1] = {kChannelKeep, 0, 0, 0};
    model->basicProgram = 1;
  }
  // Runs the sheet of `kind`; `work` gets the sheet, and OK ends it.
  bool Run(EditorKind kind, const std::function<void(QWidget*)>& work) {
    FakeEditorHost host(*model, *names);
    bool accepted = false;
    WhenModal([&](QWidget* sheet) {
      work(sheet);
      accepted = Ok(sheet);
    });
    Open(kind, host);
    return accepted;
  }
};

std::string Channel(const ChannelSetting& c) {
  return std::to_string(c.kind) + " " + std::to_string(c.signalMinutes) + ":" +
         std::to_string(c.signalSeconds) + " rise " + std::to_string(c.riseTime);
}

TEST(ListTyping, ChannelPage) {
  const Case cases[] = {
      {{{1, 2, "8\n"}}, "1 8:5 rise 0"},    // once "0 分"
      {{{1, 2, "45\n"}}, "1 45:5 rise 0"},  // once "5 分"
      {{{1, 2, "59\n"}}, "1 59:5 rise 0"},
      {{{1, 3, "30\n"}}, "1 0:30 rise 0"},
      {{{1, 3, "07\n"}}, "1 0:7 rise 0"},
      {{{1, 4, "-1\n"}}, "1 0:5 rise 2"},
      {{{1, 4, "-3\n"}}, "1 0:5 rise 1"},
      {{{1, 2, "9\x1b"}}, "1 0:5 rise 0"},  // Escape leaves the cell
      {{{3, 1, "キ\n"}}, "2 0:0 rise 0"},   // on CH3
  };
  for (const Case& c : cases) {
    PageFixture f;
    Keyboard keys;
    const bool ok = f.Run(EditorKind::Channel, [&](QWidget* sheet) {
      auto* grid = FindControl<CVSFlexGrid>(sheet, ids::kGrid);
      for (const Typed& cell : c.cells) keys.Into(grid, cell.row, cell.col, cell.keys);
    });
    EXPECT_TRUE(ok) << CaseName(c);
    const int changed = c.cells.front().row - 1;
    EXPECT_EQ(Channel(f.model->channels[changed]), c.stored) << CaseName(c);
  }
}

// The channel dialog comes up when a program of an unused channel (CH3) is picked on the weekly
// page; its step dialog that follows is cancelled.
TEST(ListTyping, SingleChannelDialog) {
  const Case cases[] = {
      {{{1, 1, "キ\n"}}, "2 0:0 rise 0"},
      {{{1, 1, "報\n"}, {1, 2, "12\n"}, {1, 3, "30\n"}, {1, 4, "-3\n"}}, "1 12:30 rise 1"},
      {{{1, 1, "報\n"}, {1, 2, "1~5\n"}, {1, 3, "08\n"}}, "1 5:8 rise 0"},
  };
  for (const Case& c : cases) {
    PageFixture f;
    Keyboard keys;
    bool dialogOk = false;
    f.Run(EditorKind::Weekly, [&](QWidget* sheet) {
      WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<ChannelDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        for (const Typed& cell : c.cells) keys.Into(dialog->Grid(), cell.row, cell.col, cell.keys);
        WhenModal([](QWidget* steps) { Click(steps, kIdCancel); });
        dialogOk = Ok(dialog);
      });
      auto* list = FindControl<CVSFlexGrid>(sheet, ids::kGrid);
      ClickCell(list, 2 + 4, 3);  // program 5 on CH3
    });
    EXPECT_TRUE(dialogOk) << CaseName(c);
    EXPECT_EQ(Channel(f.model->channels[2]), c.stored) << CaseName(c);
  }
}

std::string Step(const WeeklyStep& s) {
  return std::to_string(s.program) + "/" + std::to_string(s.channel) + " " +
         std::to_string(s.hour) + ":" + std::to_string(s.minute) + " action " +
         std::to_string(s.action);
}

// Program 1 on CH1 (time signal) or CH2 (keep): Sunday clicked, then hour, minute and action.
TEST(ListTyping, StepDialog) {
  struct StepCase {
    int channel;
    Case typed;
  };
  const StepCase cases[] = {
      {1, {{{1, 8, "8\n"}, {1, 9, "45\n"}, {1, 10, "3\n"}}, "1/1 8:45 action 3"}},
      {1, {{{1, 8, "12\n"}, {1, 9, "5\n"}, {1, 10, "10\n"}}, "1/1 12:5 action 10"}},
      {1, {{{1, 8, "07\n"}, {1, 9, "0\n"}, {1, 10, "1\n"}}, "1/1 7:0 action 1"}},
      {1, {{{1, 8, "1~9\n"}, {1, 9, "59\n"}, {1, 10, "0\n"}}, "1/1 9:59 action 0"}},
      {2, {{{1, 8, "23\n"}, {1, 9, "30\n"}, {1, 10, "of\n"}}, "1/2 23:30 action 2"}},
      {2, {{{1, 8, "6\n"}, {1, 9, "4\n"}, {1, 10, "o\n"}}, "1/2 6:4 action 1"}},
  };
  for (const StepCase& c : cases) {
    PageFixture f;
    Keyboard keys;
    bool dialogOk = false;
    f.Run(EditorKind::Weekly, [&](QWidget* sheet) {
      WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<StepDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([dialog] { return dialog->Ready(); }, 2000));
        CVSFlexGrid* grid = dialog->Grid();
        ClickCell(grid, 1, 1);  // Sunday
        for (const Typed& cell : c.typed.cells) keys.Into(grid, cell.row, cell.col, cell.keys);
        dialogOk = Ok(dialog);
      });
      auto* list = FindControl<CVSFlexGrid>(sheet, ids::kGrid);
      ClickCell(list, 2, c.channel);  // program 1
    });
    EXPECT_TRUE(dialogOk) << CaseName(c.typed);
    EXPECT_EQ(Step(f.model->steps[0]), c.typed.stored) << CaseName(c.typed);
  }
}

std::string Period(const PeriodEntry& p) {
  return std::to_string(p.year) + " " + std::to_string(p.startMonth) + "/" +
         std::to_string(p.startDay) + "-" + std::to_string(p.endMonth) + "/" +
         std::to_string(p.endDay) + " program " + std::to_string(p.program);
}

std::string Date(const DateEntry& d) {
  return std::to_string(d.year) + " " + std::to_string(d.month) + "/" + std::to_string(d.day) +
         " program " + std::to_string(d.program);
}

// Each kind of the annual page, chosen by its radio button.
TEST(ListTyping, AnnualKinds) {
  struct AnnualCase {
    int kind;  // the radio button
    int grid;
    Case typed;
    std::function<std::string(const ScheduleModel&)> stored;
  };
  const auto basic = [](const ScheduleModel& m) { return std::to_string(m.basicProgram); };
  const auto holiday = [](const ScheduleModel& m) { return std::to_string(m.holidayProgram); };
  const auto period = [](const ScheduleModel& m) { return Period(m.periods[0]); };
  const auto date = [](const ScheduleModel& m) { return Date(m.dates[0]); };
  const AnnualCase cases[] = {
      {ids::annual::kBasic, ids::annual::kBasicGrid, {{{1, 1, "45\n"}}, "45"}, basic},
      {ids::annual::kBasic, ids::annual::kBasicGrid, {{{1, 1, "7\n"}}, "7"}, basic},
      {ids::annual::kBasic, ids::annual::kBasicGrid, {{{1, 1, "12\x1b"}}, "1"}, basic},
      {ids::annual::kHoliday, ids::annual::kHolidayGrid, {{{1, 1, "12\n"}}, "12"}, holiday},
      {ids::annual::kPeriod,
       ids::annual::kPeriodGrid,
       {{{1, 1, "2027\n"},
         {1, 2, "7\n"},
         {1, 3, "21\n"},
         {1, 4, "8\n"},
         {1, 5, "31\n"},
         {1, 6, "4\n"}},
        "2027 7/21-8/31 program 4"},
       period},
      {ids::annual::kPeriod,
       ids::annual::kPeriodGrid,
       {{{1, 1, "[毎]\n"},
         {1, 2, "12\n"},
         {1, 3, "08\n"},
         {1, 4, "12\n"},
         {1, 5, "2~9\n"},
         {1, 6, "99\n"}},
        "9999 12/8-12/9 program 99"},
       period},
      {ids::annual::kIndividual,
       ids::annual::kIndividualGrid,
       {{{1, 1, "2\n"}, {1, 2, "12\n"}, {1, 3, "24\n"}, {1, 4, "5\n"}}, "2026 12/24 program 5"},
       date},
  };
  for (const AnnualCase& c : cases) {
    PageFixture f;
    f.model->holidayEnabled = 1;
    Keyboard keys;
    const bool ok = f.Run(EditorKind::Annual, [&](QWidget* sheet) {
      Click(sheet, c.kind);
      auto* grid = FindControl<CVSFlexGrid>(sheet, c.grid);
      for (const Typed& cell : c.typed.cells) keys.Into(grid, cell.row, cell.col, cell.keys);
    });
    EXPECT_TRUE(ok) << CaseName(c.typed);
    EXPECT_EQ(c.stored(*f.model), c.typed.stored) << CaseName(c.typed);
  }
}

std::string Rule(const ScheduleModel& m) {
  const SummerTimeRule& r = m.summerTime;
  return std::to_string(r.startMonth) + " " + std::to_string(r.startWeek) + " " +
         std::to_string(r.startWeekday) + " " + std::to_string(r.startHour) + " / " +
         std::to_string(r.endMonth) + " " + std::to_string(r.endWeek) + " " +
         std::to_string(r.endWeekday) + " " + std::to_string(r.endHour);
}

TEST(ListTyping, SummerTime) {
  const Case cases[] = {
      {{{1, 1, "3\n"},
        {1, 2, "[第 2]\n"},
        {1, 3, "日\n"},
        {1, 4, "2\n"},
        {2, 1, "11\n"},
        {2, 2, "[第 1]\n"},
        {2, 3, "日\n"},
        {2, 4, "2\n"}},
       "3 2 1 2 / 11 1 1 2"},
      {{{1, 1, "1~3\n"},
        {1, 2, "最\n"},
        {1, 3, "土\n"},
        {1, 4, "23\n"},
        {2, 1, "12\n"},
        {2, 2, "最\n"},
        {2, 3, "金\n"},
        {2, 4, "0\n"}},
       "3 5 7 23 / 12 5 6 0"},
  };
  for (const Case& c : cases) {
    PageFixture f;
    Keyboard keys;
    const bool ok = f.Run(EditorKind::SummerTime, [&](QWidget* sheet) {
      auto* grid = FindControl<CVSFlexGrid>(sheet, ids::summer::kGrid);
      for (const Typed& cell : c.cells) keys.Into(grid, cell.row, cell.col, cell.keys);
    });
    EXPECT_TRUE(ok) << CaseName(c);
    EXPECT_EQ(Rule(*f.model), c.stored) << CaseName(c);
  }
}

// Message boxes as the user meets them, answered with Enter; their texts are kept.
class AnsweredBoxes : public MessageSink {
 public:
  MsgAnswer Show(const std::string& text, const std::string& caption, MsgButtons buttons,
                 MsgIcon icon) override {
    shown.push_back(text);
    QTimer::singleShot(0, [] {
      if (QWidget* box = QApplication::activeModalWidget())
        QTest::keyClick(testing::Focused(box), Qt::Key_Return);
    });
    return real_.Show(text, caption, buttons, icon);
  }
  std::vector<std::string> shown;

 private:
  QtMessageSink real_;
};

// The program cell of 3 August 2026 in the calendar opened from the annual page; "@" clicks the
// program cell of 4 August. A refused value keeps the cell's editor and the keyboard: the keys
// after it go into the cell, and Escape there ends only the cell, not the calendar.
TEST(ListTyping, ConfirmationCalendar) {
  struct CalendarCase {
    QString keys;
    std::string stored;  // the individual setting recorded, or none
    size_t refusals;
  };
  const CalendarCase cases[] = {
      {"12\n", "2026 8/3 program 12", 0},  {"5\n", "2026 8/3 program 5", 0},
      {"0\n7\n", "2026 8/3 program 7", 1}, {"0@7\n", "2026 8/3 program 7", 1},
      {"100@\x1b", "0 0/0 program 0", 1},
  };
  for (const CalendarCase& c : cases) {
    PageFixture f;
    AnsweredBoxes boxes;
    EditorContext context{*f.model, *f.names, boxes, *f.clipboards, &f.calendar, nullptr};
    Keyboard keys;
    bool calendarOk = false;
    bool sheetOk = false;
    FakeEditorHost host(*f.model);
    WhenModal([&](QWidget* sheet) {
      WhenModal([&](QWidget* dialog) {
        auto* grid = FindControl<CVSFlexGrid>(dialog, ids::confirmation::kGrid);
        keys.Into(grid, 4, 1, c.keys, [&] { ClickCell(grid, 4, 2); });
        calendarOk = dialog->isVisible() && Ok(dialog);
      });
      Click(sheet, ids::annual::kConfirmSingle);
      sheetOk = Ok(sheet);
    });
    OpenEditor(f.sheet, EditorKind::Annual, context, host, f.state);
    const std::string name = c.keys.toStdString();
    EXPECT_TRUE(calendarOk) << name << ": the calendar stayed open until its OK";
    EXPECT_TRUE(sheetOk) << name;
    EXPECT_EQ(Date(f.model->dates[0]), c.stored) << name;
    EXPECT_EQ(boxes.shown.size(), c.refusals) << name;
  }
}

}  // namespace
}  // namespace tavrin
