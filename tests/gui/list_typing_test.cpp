// Typing into the editors' cells as a user does, page by page: a click on the cell through the
// window, keys to whichever widget has the keyboard (values the list does not hold, BackSpace, Tab,
// a click on the next cell or on OK with the list still open), then OK through the window; then
// the value the working model holds.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "EditorSheetWorld.h"
#include "FakeEditorHost.h"
#include "GridDriving.h"
#include "GuiTestSupport.h"
#include "MakeStep.h"
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
using testing::ClickAsTheUser;
using testing::ClickCell;
using testing::FakeEditorHost;
using testing::Keyboard;
using testing::WhenModal;

// Presses OK as the window system delivers the click, an open list or cell editor seeing it as it
// does in the running program, and reports whether the window closed; a window that stays is
// cancelled.
bool Ok(QWidget* window) {
  ClickAsTheUser(FindControl<QPushButton>(window, kIdOk));
  if (!window->isVisible()) return true;
  Click(window, kIdCancel);
  return false;
}

// One cell typed into: the row and column of the grid, the keys ("<" BackSpace, "\t" Tab, "@" a
// click on the cell `then`, "\n" Enter; keys left without an end stay in the open cell for OK).
struct Typed {
  int row;
  int col;
  QString keys;
  std::pair<int, int> then{0, 0};
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
  // Types every cell of a case into `grid`.
  void TypeInto(CVSFlexGrid* grid, const Case& c) {
    for (const Typed& cell : c.cells)
      keys.Into(grid, cell.row, cell.col, cell.keys,
                [&] { ClickCell(grid, cell.then.first, cell.then.second); });
  }
  Keyboard keys;
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
      {{{1, 2, "45\n"}}, "1 45:5 rise 0"},
      {{{1, 2, "99\n"}}, "1 0:5 rise 0"},  // no 99 minutes: kept
      {{{1, 2, "59\n"}}, "1 59:5 rise 0"},
      {{{1, 3, "75\n"}}, "1 0:5 rise 0"},  // no 75 seconds: kept
      {{{1, 3, "60\n"}}, "1 0:5 rise 0"},
      {{{1, 3, "07\n"}}, "1 0:7 rise 0"},
      {{{1, 3, "29<3\n"}}, "1 0:23 rise 0"},
      {{{1, 2, "12\t30\t-3\n"}}, "1 12:30 rise 1"},
      {{{1, 2, "45@20\n", {1, 3}}}, "1 45:20 rise 0"},  // the click commits 45 first
      {{{1, 3, "40"}}, "1 0:40 rise 0"},                // OK with the list open
      {{{1, 4, "-1\n"}}, "1 0:5 rise 2"},
      {{{1, 4, "-5\n"}}, "1 0:5 rise 0"},
      {{{1, 2, "9\x1b"}}, "1 0:5 rise 0"},  // Escape leaves the cell
      {{{3, 1, "キ\n"}}, "2 0:0 rise 0"},   // on CH3
  };
  for (const Case& c : cases) {
    PageFixture f;
    const bool ok = f.Run(EditorKind::Channel, [&](QWidget* sheet) {
      f.TypeInto(FindControl<CVSFlexGrid>(sheet, ids::kGrid), c);
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
      {{{1, 1, "報\n"}, {1, 2, "12\n"}, {1, 3, "35<0\n"}, {1, 4, "-3\n"}}, "1 12:30 rise 1"},
      {{{1, 1, "報\t5\t08\t-10"}}, "1 5:8 rise 2"},
      {{{1, 1, "報\t61<\t1\n"}}, "1 6:1 rise 0"},  // no 61 minutes: one taken back
  };
  for (const Case& c : cases) {
    PageFixture f;
    bool dialogOk = false;
    f.Run(EditorKind::Weekly, [&](QWidget* sheet) {
      WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<ChannelDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        f.TypeInto(dialog->Grid(), c);
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

// Program 1 on CH1 (time signal) or CH2 (keep), reached from the weekly list: on a new step,
// Sunday clicked, then hour, minute and action; or on the step at 7:30 (chime 2, or ON) that the
// program has.
TEST(ListTyping, StepDialog) {
  struct StepCase {
    int channel;
    bool onStep;
    Case typed;
  };
  const StepCase cases[] = {
      {1, false, {{{1, 8, "8\n"}, {1, 9, "45\n"}, {1, 10, "3\n"}}, "1/1 8:45 action 3"}},
      {1, false, {{{1, 8, "12\t5\t10\n"}}, "1/1 12:5 action 10"}},
      {1, false, {{{1, 8, "07\t0\t1\t"}}, "1/1 7:0 action 1"}},
      {1, false, {{{1, 8, "21@45\n", {1, 9}}, {1, 10, "0"}}, "1/1 21:45 action 0"}},
      {1, true, {{{1, 8, "24\n"}}, "1/1 7:30 action 2"}},  // midnight is 0, not 4
      {1, true, {{{1, 8, "29<1\n"}}, "1/1 21:30 action 2"}},
      {1, true, {{{1, 9, "70\n"}}, "1/1 7:30 action 2"}},
      {1, true, {{{1, 9, "15"}}, "1/1 7:15 action 2"}},     // OK with the list open
      {1, true, {{{1, 10, "11\n"}}, "1/1 7:30 action 2"}},  // no chime 11
      {1, true, {{{1, 10, "1<7\n"}}, "1/1 7:30 action 7"}},
      {2, false, {{{1, 8, "23\n"}, {1, 9, "30\n"}, {1, 10, "of\n"}}, "1/2 23:30 action 2"}},
      {2, true, {{{1, 10, "x\n"}}, "1/2 7:30 action 1"}},
      {2, true, {{{1, 10, "of"}}, "1/2 7:30 action 2"}},
  };
  for (const StepCase& c : cases) {
    PageFixture f;
    if (c.onStep)
      f.model->steps[0] = testing::MakeStep(1, c.channel, "1000000", 7, 30, c.channel == 1 ? 2 : 1);
    bool dialogOk = false;
    f.Run(EditorKind::Weekly, [&](QWidget* sheet) {
      WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<StepDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([dialog] { return dialog->Ready(); }, 2000));
        CVSFlexGrid* grid = dialog->Grid();
        if (!c.onStep) ClickCell(grid, 1, 1);  // Sunday
        f.TypeInto(grid, c.typed);
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
    bool onEntry = false;  // the individual setting 2026 12/24 program 5 is there
  };
  const auto basic = [](const ScheduleModel& m) { return std::to_string(m.basicProgram); };
  const auto holiday = [](const ScheduleModel& m) { return std::to_string(m.holidayProgram); };
  const auto period = [](const ScheduleModel& m) { return Period(m.periods[0]); };
  const auto date = [](const ScheduleModel& m) { return Date(m.dates[0]); };
  const AnnualCase cases[] = {
      {ids::annual::kBasic, ids::annual::kBasicGrid, {{{1, 1, "45\n"}}, "45"}, basic},
      {ids::annual::kBasic, ids::annual::kBasicGrid, {{{1, 1, "7\n"}}, "7"}, basic},
      {ids::annual::kBasic, ids::annual::kBasicGrid, {{{1, 1, "12\x1b"}}, "1"}, basic},
      {ids::annual::kBasic, ids::annual::kBasicGrid, {{{1, 1, "100\n"}}, "1"}, basic},
      {ids::annual::kBasic, ids::annual::kBasicGrid, {{{1, 1, "100<"}}, "10"}, basic},
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
         {1, 5, "2<9\n"},
         {1, 6, "99\n"}},
        "9999 12/8-12/9 program 99"},
       period},
      {ids::annual::kIndividual,
       ids::annual::kIndividualGrid,
       {{{1, 1, "2\n"}, {1, 2, "12\n"}, {1, 3, "24\n"}, {1, 4, "5\n"}}, "2026 12/24 program 5"},
       date},
      {ids::annual::kIndividual,
       ids::annual::kIndividualGrid,
       {{{1, 1, "2027\t7\t4\t9\t"}}, "2027 7/4 program 9"},
       date,
       true},
      {ids::annual::kIndividual,
       ids::annual::kIndividualGrid,
       {{{1, 2, "13\n"}}, "2026 12/24 program 5"},
       date,
       true},
      {ids::annual::kIndividual,
       ids::annual::kIndividualGrid,
       {{{1, 3, "32\n"}}, "2026 12/24 program 5"},
       date,
       true},
      {ids::annual::kIndividual,
       ids::annual::kIndividualGrid,
       {{{1, 4, "100\n"}}, "2026 12/24 program 5"},
       date,
       true},
      {ids::annual::kIndividual,
       ids::annual::kIndividualGrid,
       {{{1, 3, "31@7\n", {1, 4}}}, "2026 12/31 program 7"},
       date,
       true},
  };
  for (const AnnualCase& c : cases) {
    PageFixture f;
    f.model->holidayEnabled = 1;
    if (c.onEntry) f.model->dates[0] = {2026, 12, 24, 5};
    const bool ok = f.Run(EditorKind::Annual, [&](QWidget* sheet) {
      Click(sheet, c.kind);
      f.TypeInto(FindControl<CVSFlexGrid>(sheet, c.grid), c.typed);
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

// The weeks are typed as the digit a user presses for "第 2"; on the rule 3 2 1 2 / 11 1 1 2,
// values no list holds are refused and the rule kept.
TEST(ListTyping, SummerTime) {
  struct SummerCase {
    bool onRule;
    Case typed;
  };
  const SummerCase cases[] = {
      {false, {{{1, 1, "3\t2\t日\t2\n"}, {2, 1, "11\t1\t日\t2\n"}}, "3 2 1 2 / 11 1 1 2"}},
      {false, {{{1, 1, "03\t最\t土\t23\n"}, {2, 1, "12\t最\t金\t0"}}, "3 5 7 23 / 12 5 6 0"}},
      {true, {{{2, 4, "24\n"}}, "3 2 1 2 / 11 1 1 2"}},
      {true, {{{2, 2, "7\n"}}, "3 2 1 2 / 11 1 1 2"}},
      {true, {{{2, 1, "13\n"}}, "3 2 1 2 / 11 1 1 2"}},
      {true, {{{2, 2, "3@4\n", {2, 4}}}, "3 2 1 2 / 11 3 1 4"}},
      {true, {{{1, 2, "4<3"}}, "3 3 1 2 / 11 1 1 2"}},
  };
  for (const SummerCase& c : cases) {
    PageFixture f;
    if (c.onRule) {
      f.model->summerTimeEnabled = 1;
      f.model->summerTime = {3, 2, 1, 2, 11, 1, 1, 2};
    }
    const bool ok = f.Run(EditorKind::SummerTime, [&](QWidget* sheet) {
      f.TypeInto(FindControl<CVSFlexGrid>(sheet, ids::summer::kGrid), c.typed);
    });
    EXPECT_TRUE(ok) << CaseName(c.typed);
    EXPECT_EQ(Rule(*f.model), c.typed.stored) << CaseName(c.typed);
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

// The program cell of 3 August 2026 (the basic program 1) in the calendar opened from the annual
// page; "@" clicks the program cell of 4 August. Enter opens the cell with its number selected, so
// that a key replaces it. A refused value keeps the cell's editor and the keyboard: the keys after
// it go into the cell, and Escape there ends only the cell, not the calendar.
TEST(ListTyping, ConfirmationCalendar) {
  struct CalendarCase {
    QString keys;
    std::string stored;  // the individual setting recorded, or none
    size_t refusals;
  };
  const CalendarCase cases[] = {
      {"12\n", "2026 8/3 program 12", 0},   {"5\n", "2026 8/3 program 5", 0},
      {"0\n7\n", "2026 8/3 program 7", 1},  {"0@7\n", "2026 8/3 program 7", 1},
      {"100@\x1b", "0 0/0 program 0", 1},   {"\n4\n", "2026 8/3 program 4", 0},
      {"12<5\t", "2026 8/3 program 15", 0}, {"7", "2026 8/3 program 7", 0},
  };
  for (const CalendarCase& c : cases) {
    PageFixture f;
    AnsweredBoxes boxes;
    EditorContext context{*f.model, *f.names, boxes, *f.clipboards, &f.calendar, nullptr};
    bool calendarOk = false;
    bool sheetOk = false;
    FakeEditorHost host(*f.model);
    WhenModal([&](QWidget* sheet) {
      WhenModal([&](QWidget* dialog) {
        auto* grid = FindControl<CVSFlexGrid>(dialog, ids::confirmation::kGrid);
        f.keys.Into(grid, 4, 1, c.keys, [&] { ClickCell(grid, 4, 2); });
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
