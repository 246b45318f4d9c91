#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "calendar/AnnualConfirmation.h"
#include "calendar/HolidayFile.h"

namespace tavrin::confirm {
namespace {

constexpr YearPair kYears{2026, 2027};

struct Fixture {
  Fixture() {
    ClearModel(model);
    const std::string text = "[2026]\r\n08=11\r\n[2027]\r\n05=3,4,5\r\n";
    ParseHolidayText(text.data(), text.size(), holidays);
    model.holidayEnabled = 1;
    model.holidayProgram = 2;
    model.periods[0] = {kEveryYear, 7, 21, 8, 31, 4};
    model.dates[0] = {2026, 8, 20, 3};
    Rebuild();
  }
  void Rebuild() {
    BuildFullCalendar(kYears.currentYear, kYears, model, holidays, calendars[0]);
    BuildFullCalendar(kYears.nextYear, kYears, model, holidays, calendars[1]);
  }
  ScheduleModel model{};
  HolidayTable holidays;
  std::array<YearCalendar, 2> calendars{};
};

// The program cells of a month as the dialog reads them, with `typed` over the calendar's.
std::vector<std::string> Programs(const MonthCalendar& month,
                                  const std::vector<std::pair<int, std::string>>& typed = {}) {
  std::vector<std::string> texts(month.dayCount);
  for (int day = 1; day <= month.dayCount; ++day) {
    const int program = month.cells[day - 1].program;
    if (program != 0) texts[day - 1] = std::to_string(program);
  }
  for (const auto& [day, text] : typed) texts[day - 1] = text;
  return texts;
}

TEST(AnnualConfirmation, AMonthStartingOnSaturdayFillsSixWeeksInTheSourcesColours) {
  Fixture f;
  const MonthCalendar& august = f.calendars[0].months[7];
  const MonthSheet sheet = LayOutMonth(august, 0);
  EXPECT_EQ(sheet[0][6].text, "1");  // alone in the Saturday column of the first day row
  for (int col = 0; col < 6; ++col) EXPECT_EQ(sheet[0][col].text, "") << col;
  EXPECT_EQ(sheet[2][0].text, "2");  // the 2nd opens the second day row
  EXPECT_EQ(sheet[10][0].text, "30");
  EXPECT_EQ(sheet[10][1].text, "31");  // a 31-day month from a Saturday reaches row 6
  EXPECT_EQ(DayCellOf(august, 31), (CellPos{10, 1}));
  EXPECT_EQ(DayOfProgramCell(august, {11, 1}), 31);
  EXPECT_EQ(DayOfProgramCell(august, {10, 1}), std::nullopt) << "a day row";
  EXPECT_EQ(DayOfProgramCell(august, {11, 2}), std::nullopt) << "after the last day";
  EXPECT_EQ(DayOfProgramCell(august, {1, 0}), std::nullopt) << "before the first day";

  struct Expect {
    CellPos cell;
    const char* text;
    uint32_t back;
    uint32_t fore;
  };
  const Expect cells[] = {
      {{0, 6}, "1", kSaturdayBack, kPeriodText},    {{1, 6}, "4", kProgramBack, kPeriodText},
      {{2, 0}, "2", kSundayBack, kPeriodText},      {{4, 2}, "11", kSundayBack, kPeriodText},
      {{5, 2}, "2", kProgramBack, kHolidayText},    {{4, 3}, "12", kWeekdayBack, kPeriodText},
      {{7, 4}, "3", kProgramBack, kIndividualText}, {{0, 0}, "", kSundayBack, kPeriodText},
      {{0, 3}, "", kWeekdayBack, kPeriodText},
  };
  for (const Expect& e : cells) {
    const SheetCell& cell = sheet[e.cell.row][e.cell.col];
    EXPECT_EQ(cell.text, e.text) << e.cell.row << "," << e.cell.col;
    EXPECT_EQ(cell.back, e.back) << e.cell.row << "," << e.cell.col;
    EXPECT_EQ(cell.fore, e.fore) << e.cell.row << "," << e.cell.col;
    EXPECT_EQ(cell.bold, e.cell.row % 2 == 1) << "program cells are bold";
  }
  EXPECT_EQ(sheet[1][0].text, "") << "without a basic program a free day stays empty";
  EXPECT_EQ(kHolidayText, 0x0000FFu) << "red in Windows byte order";
  EXPECT_EQ(kSundayBack, 0xFFCCFFu);
  EXPECT_EQ(kWeekdayBack, 0x99FFFFu);
}

TEST(AnnualConfirmation, DaysNoSettingClaimsShowTheBasicProgramInGrey) {
  Fixture f;
  const MonthSheet july = LayOutMonth(f.calendars[0].months[6], 6);
  const MonthSheet august = LayOutMonth(f.calendars[0].months[7], 6);
  struct Expect {
    const MonthSheet& sheet;
    CellPos cell;  // a program cell
    const char* text;
    uint32_t fore;
    bool bold;
  };
  const Expect cells[] = {
      {july, {1, 3}, "6", kBasicText, false},       // 1 July, before the vacation
      {july, {7, 2}, "4", kPeriodText, true},       // 21 July, its first day
      {july, {1, 0}, "", kPeriodText, true},        // no day in this cell
      {august, {5, 2}, "2", kHolidayText, true},    // the holiday
      {august, {7, 4}, "3", kIndividualText, true}  // the individual day
  };
  for (const Expect& e : cells) {
    const SheetCell& cell = e.sheet[e.cell.row][e.cell.col];
    EXPECT_EQ(cell.text, e.text) << e.cell.row << "," << e.cell.col;
    EXPECT_EQ(cell.fore, e.fore) << e.cell.row << "," << e.cell.col;
    EXPECT_EQ(cell.bold, e.bold) << e.cell.row << "," << e.cell.col;
  }
  EXPECT_EQ(kBasicText, 0x808080u) << "the grey of the printed calendar";
}

TEST(AnnualConfirmation, AProgramIsDigitsOnlyFromOneTo99InTheCellAndInTheMonth) {
  // The month check once read the leading number, so "5x" refused in the cell was stored as 5.
  const std::pair<const char*, bool> cases[] = {
      {"1", true},
      {"99", true},
      {"07", true},
      {"0000000000005", true},
      {"0", false},
      {"100", false},
      {"", false},
      {"5x", false},
      {" 5", false},
      {"-5", false},
      {"５", false},
      {"5.0", false},
      {"99999999999999999999", false},  // no wrap into range
      {"4294967301", false},            // 2^32 + 5
  };
  for (const auto& [text, valid] : cases) EXPECT_EQ(ValidProgramText(text), valid) << text;

  Fixture f;
  Session session(f.calendars, f.model, kYears, 8);
  const MonthCalendar& august = session.Shown();
  Verdict verdict = session.CheckMonth(Programs(august, {{5, "5x"}, {9, "0"}}));
  EXPECT_EQ(verdict.message(), "2026年8月5日 のプログラム番号の指定が不正です。");
  EXPECT_EQ(verdict.cell(), (CellPos{3, 3}));
  EXPECT_TRUE(session.CheckMonth(Programs(august, {{5, ""}})).ok()) << "an empty cell passes";
}

TEST(AnnualConfirmation, AnEditedCellShowsItsValueInTheColourOfWhereItCameFrom) {
  const DayCell period{1, 1, 0, kSourcePeriod, 4};
  const DayCell holiday{1, 1, 1, kSourceHoliday, 2};
  const DayCell none{1, 1, 0, kSourcePeriod, 0};
  struct Case {
    const char* typed;
    const char* before;
    DayCell opened;
    int basic;
    const char* text;
    uint32_t fore;
    bool bold;
  };
  const Case cases[] = {
      {"7", "4", period, 0, "7", kIndividualText, true},
      {"4", "7", period, 0, "4", kPeriodText, true},   // back to the calendar's own value
      {"2", "", holiday, 0, "2", kHolidayText, true},  // the same as the holiday's keeps red
      {"5", "2", holiday, 0, "5", kIndividualText, true},
      {"", "7", period, 0, "7", kIndividualText, true},  // an emptied cell gets its text back
      {"", "", period, 0, "4", kPeriodText, true},       // ... or the period's program, in black
      {"", "", none, 0, "", kPeriodText, true},          // entering and leaving an empty cell
      {"", "0", none, 0, "", kPeriodText, true},
      {"4", "", period, 6, "4", kPeriodText, true},  // a set day ignores the basic program
      {"", "6", none, 6, "6", kBasicText, false},    // a basic day emptied shows it again
      {"6", "6", none, 6, "6", kBasicText, false},   // ... as does its own value typed
      {"7", "6", none, 6, "7", kIndividualText, true},
  };
  for (const Case& c : cases) {
    SheetCell cell = EditedProgramCell(c.typed, c.before, c.opened, c.basic);
    EXPECT_EQ(cell.text, c.text) << c.typed << "/" << c.before << "/" << c.basic;
    EXPECT_EQ(cell.fore, c.fore) << c.typed << "/" << c.before << "/" << c.basic;
    EXPECT_EQ(cell.bold, c.bold) << c.typed << "/" << c.before << "/" << c.basic;
  }
}

TEST(AnnualConfirmation, AProgramCellsTipNamesTheProgramAndWhereItComesFrom) {
  ProgramNameTable names{};
  std::memcpy(names.names[4].data(), "\x89\xc4\x8b\x78", 4);  // 夏休 in Shift-JIS
  const DayCell period{1, 1, 0, kSourcePeriod, 4};
  const DayCell holiday{1, 1, 1, kSourceHoliday, 2};
  const DayCell individual{1, 1, 0, kSourceIndividual, 3};
  const DayCell none{1, 1, 0, kSourcePeriod, 0};
  struct Case {
    const char* text;
    DayCell day;
    int basic;
    const char* tip;
  };
  const Case cases[] = {
      {"4", period, 6, "4 夏休（期間設定）"},
      {"2", holiday, 6, "2（祭日設定）"},
      {"3", individual, 6, "3（個別設定）"},
      {"6", none, 6, "6（基本設定）"},
      {"9", period, 6, "9（個別設定）"},  // typed: what it becomes once stored
      {"4", none, 6, "4 夏休（個別設定）"},
      {"", none, 0, ""},
      {"0", period, 6, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ProgramTip(c.text, c.day, c.basic, names), c.tip) << c.text;
}

TEST(AnnualConfirmation, ApplyingAMonthRecordsOnlyChangedDays) {
  Fixture f;
  Session session(f.calendars, f.model, kYears, 8);
  const MonthCalendar& august = session.Shown();
  // The holiday gets another program; the period day its own again; the individual day stays.
  ASSERT_TRUE(session.ApplyMonth(Programs(august, {{11, "9"}, {12, "4"}})).ok());
  EXPECT_EQ(august.cells[10].program, 9);
  EXPECT_EQ(august.cells[10].source, kSourceIndividual);
  EXPECT_EQ(august.cells[11].source, kSourcePeriod);
  EXPECT_EQ(f.model.dates[0], (DateEntry{2026, 8, 20, 3}));
  EXPECT_EQ(f.model.dates[1], (DateEntry{2026, 8, 11, 9}));
  EXPECT_EQ(f.model.dates[2].year, 0);
  // Overwriting an individual day changes its slot instead of adding one.
  ASSERT_TRUE(session.ApplyMonth(Programs(august, {{20, "8"}})).ok());
  EXPECT_EQ(f.model.dates[0].program, 8);
  EXPECT_EQ(f.model.dates[2].year, 0);
}

TEST(AnnualConfirmation, ABasicDayRecordsOnlyAnotherProgram) {
  Fixture f;
  f.model.basicProgram = 6;
  Session session(f.calendars, f.model, kYears, 7);
  const MonthCalendar& july = session.Shown();
  // 1 July runs the basic program: the grey 6 the sheet shows is no change; a 7 is.
  ASSERT_TRUE(session.ApplyMonth(Programs(july, {{1, "6"}, {2, "6"}})).ok());
  EXPECT_EQ(f.model.dates[1].year, 0);
  EXPECT_EQ(july.cells[0].program, 0);
  ASSERT_TRUE(session.ApplyMonth(Programs(july, {{1, "6"}, {2, "7"}})).ok());
  EXPECT_EQ(f.model.dates[1], (DateEntry{2026, 7, 2, 7}));
  EXPECT_EQ(f.model.dates[2].year, 0);
  EXPECT_EQ(july.cells[1].source, kSourceIndividual);
}

TEST(AnnualConfirmation, WithEveryIndividualSlotTakenTheDayStaysAndTheUserIsTold) {
  Fixture f;
  for (int i = 1; i < kDateCount; ++i)
    f.model.dates[i] = {2027, 1, static_cast<uint8_t>(i % 28 + 1), 5};
  f.Rebuild();
  Session session(f.calendars, f.model, kYears, 8);
  const MonthCalendar& august = session.Shown();
  const auto datesBefore = f.model.dates;
  // Day 20 has its slot already; day 3 would need a new one.
  Verdict verdict = session.ApplyMonth(Programs(august, {{3, "6"}, {20, "7"}}));
  EXPECT_EQ(verdict.message(),
            "個別設定が200件に達しているため、2026年8月3日 のプログラム番号を登録できません。");
  EXPECT_EQ(verdict.cell(), (CellPos{3, 1}));
  EXPECT_EQ(august.cells[2].program, 4) << "the day keeps its period program";
  EXPECT_EQ(august.cells[2].source, kSourcePeriod);
  EXPECT_EQ(august.cells[19].program, 3) << "nothing after the refused day is applied";
  EXPECT_TRUE(f.model.dates == datesBefore);
}

TEST(AnnualConfirmation, RestoreBringsBackTheCalendarsAndTheIndividualSettings) {
  // Cancel once kept the individual settings recorded while changing months.
  Fixture f;
  const auto calendarsBefore = f.calendars;
  const auto datesBefore = f.model.dates;
  Session session(f.calendars, f.model, kYears, 8);
  ASSERT_TRUE(session.ApplyMonth(Programs(session.Shown(), {{1, "9"}})).ok());
  session.Show(2027, 5);
  ASSERT_TRUE(session.ApplyMonth(Programs(session.Shown(), {{3, "9"}})).ok());
  EXPECT_NE(f.model.dates[2].year, 0);
  session.Restore();
  EXPECT_TRUE(f.model.dates == datesBefore);
  EXPECT_EQ(std::memcmp(&f.calendars, &calendarsBefore, sizeof calendarsBefore), 0);
}

TEST(AnnualConfirmation, TheShownYearStaysWithinTheTwoImageYears) {
  Fixture f;
  Session session(f.calendars, f.model, kYears, 13);
  EXPECT_EQ(session.year(), 2026);
  EXPECT_EQ(session.month(), 12);
  const std::array<int, 4> cases[] = {
      {2025, 1, 2026, 1}, {2028, 12, 2027, 12}, {2027, 0, 2027, 1}, {2026, 14, 2026, 12}};
  for (const auto& [year, month, shownYear, shownMonth] : cases) {
    session.Show(year, month);
    EXPECT_EQ(session.year(), shownYear);
    EXPECT_EQ(session.month(), shownMonth);
  }
  session.Show(2027, 5);
  EXPECT_EQ(&session.Shown(), &f.calendars[1].months[4]);
  EXPECT_EQ(session.Opened().cells[2].holiday, 1);
}

}  // namespace
}  // namespace tavrin::confirm
