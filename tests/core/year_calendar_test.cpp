#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "calendar/HolidayFile.h"
#include "calendar/YearCalendar.h"

namespace tavrin {
namespace {

HolidayTable Holidays(const std::string& text) {
  HolidayTable table;
  ParseHolidayText(text.data(), text.size(), table);
  return table;
}

ScheduleModel EmptyModel() {
  ScheduleModel model;
  ClearModel(model);
  return model;
}

const DayCell& Cell(const YearCalendar& calendar, int month, int day) {
  return calendar.months[month - 1].cells[day - 1];
}

TEST(CalendarYears, ClockYearIsClamped) {
  EXPECT_EQ(YearsFromClock(1999).currentYear, 2000);
  EXPECT_EQ(YearsFromClock(2026).currentYear, 2026);
  EXPECT_EQ(YearsFromClock(2026).nextYear, 2027);
  EXPECT_EQ(YearsFromClock(2150).currentYear, 2099);
  EXPECT_EQ(YearsFromClock(2150).nextYear, 2100);
}

TEST(CalendarYears, MonthLengthsUseTheTimersLeapRule) {
  EXPECT_EQ(MonthLength(2026, 2), 28);
  EXPECT_EQ(MonthLength(2028, 2), 29);
  EXPECT_EQ(MonthLength(2100, 2), 29);  // every fourth year, no century rule
  EXPECT_EQ(MonthLength(kEveryYear, 2), 29);
  EXPECT_EQ(MonthLength(2026, 4), 30);
  EXPECT_EQ(MonthLength(2026, 12), 31);
  EXPECT_EQ(MonthLength(2026, 0), 0);
  EXPECT_EQ(MonthLength(2026, 13), 0);
}

TEST(CalendarWeekdays, CountedFromTheFirstOfJanuary2000) {
  EXPECT_EQ(DayCount(2000, 1, 1), 0);
  EXPECT_EQ(Weekday(2000, 1, 1), 6);
  EXPECT_EQ(DayCount(2001, 1, 2), 367);
  EXPECT_EQ(Weekday(2001, 1, 2), 2);
  EXPECT_EQ(DayCount(2026, 13, 1), 0);
  EXPECT_EQ(DayCount(2026, 1, 0), 0);
}

TEST(CalendarWeekdays, MatchTheRealCalendarOverEveryImageYear) {
  using namespace std::chrono;
  for (int y = 2000; y <= 2100; ++y) {
    for (int m = 1; m <= 12; ++m) {
      // 2100 is a leap year on the timer only, so its days after February are off by one there.
      if (y == 2100 && m > 2) break;
      for (int d = 1; d <= MonthLength(y, m); ++d) {
        const year_month_day date{year(y), month(static_cast<unsigned>(m)),
                                  day(static_cast<unsigned>(d))};
        ASSERT_EQ(Weekday(y, m, d), static_cast<int>(weekday(sys_days(date)).c_encoding()))
            << y << "-" << m << "-" << d;
      }
    }
  }
}

TEST(CalendarWeekdays, YearsBeyondTheImageRangeHaveNoCount) {
  EXPECT_EQ(DayCount(1999, 12, 31), 0);
  EXPECT_EQ(DayCount(2101, 1, 1), 0);
  EXPECT_EQ(DayCount(kEveryYear, 1, 1), 0);
}

TEST(CalendarWeekRows, LongMonthsReachTheSixthRow) {
  YearCalendar calendar;
  const HolidayTable none = Holidays("");
  BuildBareCalendar(2026, none, calendar);
  // May 2026 starts on a Friday, August 2026 on a Saturday.
  EXPECT_EQ(Cell(calendar, 5, 1).weekday, 5);
  EXPECT_EQ(Cell(calendar, 5, 1).weekRow, 1);
  EXPECT_EQ(Cell(calendar, 5, 2).weekRow, 1);
  EXPECT_EQ(Cell(calendar, 5, 3).weekRow, 2);
  EXPECT_EQ(Cell(calendar, 5, 31).weekRow, 6);
  EXPECT_EQ(Cell(calendar, 8, 1).weekRow, 1);
  EXPECT_EQ(Cell(calendar, 8, 2).weekRow, 2);
  EXPECT_EQ(Cell(calendar, 8, 30).weekRow, 6);
  EXPECT_EQ(Cell(calendar, 8, 31).weekRow, 6);
  EXPECT_EQ(Cell(calendar, 8, 31).weekday, 1);
  // February 2026 starts on a Sunday and fills exactly four rows.
  EXPECT_EQ(calendar.months[1].dayCount, 28);
  EXPECT_EQ(Cell(calendar, 2, 28).weekRow, 4);
  // April 2028: 30 days from a Saturday.
  BuildBareCalendar(2028, none, calendar);
  EXPECT_EQ(Cell(calendar, 4, 1).weekday, 6);
  EXPECT_EQ(Cell(calendar, 4, 30).weekRow, 6);
  EXPECT_EQ(calendar.months[1].dayCount, 29);
}

TEST(CalendarHolidays, FlagsOnlyDaysTheMonthHas) {
  const HolidayTable holidays = Holidays("[2026]\r\n02=11,30\r\n05=3\r\n[2027]\r\n01=1\r\n");
  YearCalendar calendar;
  BuildBareCalendar(2026, holidays, calendar);
  EXPECT_EQ(Cell(calendar, 2, 11).holiday, 1);
  EXPECT_EQ(Cell(calendar, 5, 3).holiday, 1);
  EXPECT_EQ(Cell(calendar, 1, 1).holiday, 0);
  for (const MonthCalendar& month : calendar.months) {
    for (int day = month.dayCount; day < 31; ++day) EXPECT_EQ(month.cells[day].holiday, 0);
  }
}

struct FullCalendarTest : ::testing::Test {
  YearPair years = YearsFromClock(2027);  // 2027 and the leap year 2028
  HolidayTable holidays = Holidays("[2027]\r\n05=3,4\r\n[2028]\r\n05=3\r\n");
  ScheduleModel model = EmptyModel();
  YearCalendar calendar;
};

TEST_F(FullCalendarTest, IndividualBeatsHolidayBeatsPeriod) {
  model.periods[0] = {kEveryYear, 5, 1, 5, 10, 7};
  model.holidayEnabled = 1;
  model.holidayProgram = 9;
  model.dates[0] = {2027, 5, 4, 3};
  BuildFullCalendar(2027, years, model, holidays, calendar);
  EXPECT_EQ(Cell(calendar, 5, 2).program, 7);
  EXPECT_EQ(Cell(calendar, 5, 2).source, kSourcePeriod);
  EXPECT_EQ(Cell(calendar, 5, 3).program, 9);
  EXPECT_EQ(Cell(calendar, 5, 3).source, kSourceHoliday);
  EXPECT_EQ(Cell(calendar, 5, 4).program, 3);
  EXPECT_EQ(Cell(calendar, 5, 4).source, kSourceIndividual);
  EXPECT_EQ(Cell(calendar, 5, 11).program, 0);
}

TEST_F(FullCalendarTest, HolidayWithoutProgramKeepsThePeriod) {
  model.periods[0] = {2027, 5, 1, 5, 10, 7};
  model.holidayEnabled = 1;
  BuildFullCalendar(2027, years, model, holidays, calendar);
  EXPECT_EQ(Cell(calendar, 5, 3).program, 7);
  EXPECT_EQ(Cell(calendar, 5, 3).source, kSourcePeriod);
  EXPECT_EQ(Cell(calendar, 5, 3).holiday, 1);
}

TEST_F(FullCalendarTest, LaterSlotsWinAndOtherYearsNeverApply) {
  model.periods[0] = {2027, 6, 1, 6, 30, 1};
  model.periods[5] = {2027, 6, 10, 6, 12, 2};
  model.periods[6] = {2030, 6, 1, 6, 30, 3};
  model.dates[0] = {2027, 7, 1, 4};
  model.dates[1] = {2027, 7, 1, 5};
  model.dates[2] = {2026, 7, 2, 6};
  BuildFullCalendar(2027, years, model, holidays, calendar);
  EXPECT_EQ(Cell(calendar, 6, 9).program, 1);
  EXPECT_EQ(Cell(calendar, 6, 10).program, 2);
  EXPECT_EQ(Cell(calendar, 6, 13).program, 1);
  EXPECT_EQ(Cell(calendar, 7, 1).program, 5);
  EXPECT_EQ(Cell(calendar, 7, 2).program, 0);
  // Every-year entries belong to the two image years only.
  model.periods[7] = {kEveryYear, 8, 1, 8, 1, 8};
  BuildFullCalendar(2030, years, model, holidays, calendar);
  EXPECT_EQ(Cell(calendar, 6, 1).program, 3);
  EXPECT_EQ(Cell(calendar, 8, 1).program, 0);
}

TEST_F(FullCalendarTest, EveryYearTwentyNinthOfFebruaryOnlyInTheLeapYear) {
  model.dates[0] = {kEveryYear, 2, 29, 4};
  model.dates[1] = {2027, 4, 31, 4};
  model.dates[2] = {2027, 13, 1, 4};
  BuildFullCalendar(2028, years, model, holidays, calendar);
  EXPECT_EQ(Cell(calendar, 2, 29).program, 4);
  EXPECT_EQ(Cell(calendar, 2, 29).source, kSourceIndividual);
  BuildFullCalendar(2027, years, model, holidays, calendar);
  EXPECT_EQ(Cell(calendar, 2, 29).source, 0);
  EXPECT_EQ(Cell(calendar, 2, 29).program, 0);
  EXPECT_EQ(Cell(calendar, 4, 31).program, 0);
}

// Collects the (month, day) slots a period fills into an otherwise empty grid.
std::string GridDays(int lengthYear, PeriodEntry entry) {
  entry.program = 1;
  YearGrid grid{};
  FillPeriod(lengthYear, entry, grid);
  std::string days;
  for (int month = 1; month <= 12; ++month) {
    int first = 0;
    for (int day = 1; day <= 32; ++day) {
      const bool set = day <= 31 && grid[layout::GridSlot(month, day)] != 0;
      if (set && first == 0) first = day;
      if (!set && first != 0) {
        days += std::to_string(month) + "/" + std::to_string(first) + "-" +
                std::to_string(day - 1) + " ";
        first = 0;
      }
    }
  }
  return days;
}

TEST(PeriodFill, WalksMonthByMonth) {
  EXPECT_EQ(GridDays(2026, {2026, 3, 20, 3, 10, 0}), "");
  EXPECT_EQ(GridDays(2026, {2026, 12, 1, 1, 31, 0}), "12/1-31 ");
  EXPECT_EQ(GridDays(2026, {2026, 1, 30, 3, 2, 0}), "1/30-31 2/1-28 3/1-2 ");
  EXPECT_EQ(GridDays(2026, {2026, 4, 31, 5, 5, 0}), "5/1-5 ");  // April has no 31st
  EXPECT_EQ(GridDays(2026, {2026, 11, 20, 13, 5, 0}), "11/20-30 12/1-31 ");
}

TEST(PeriodFill, GridKeepsEndDaysAsWritten) {
  // Every-year February has 29 days in the grid.
  EXPECT_EQ(GridDays(kEveryYear, {kEveryYear, 2, 1, 2, 29, 0}), "2/1-29 ");
  EXPECT_EQ(GridDays(kEveryYear, {kEveryYear, 1, 15, 2, 29, 0}), "1/15-31 2/1-29 ");
  EXPECT_EQ(GridDays(2026, {2026, 4, 1, 4, 31, 0}), "4/1-31 ");
  EXPECT_EQ(GridDays(2026, {2026, 3, 1, 4, 31, 0}), "3/1-31 4/1-31 ");
}

TEST(PeriodFill, OutOfRangeFieldsStayInsideTheGrid) {
  EXPECT_EQ(GridDays(2026, {2026, 13, 1, 13, 40, 0}), "");
  EXPECT_EQ(GridDays(2026, {2026, 0, 0, 2, 3, 0}), "1/1-31 2/1-3 ");
  EXPECT_EQ(GridDays(2026, {2026, 12, 0, 12, 255, 0}), "12/1-31 ");
  EXPECT_EQ(GridDays(2026, {2026, 255, 1, 255, 255, 0}), "");
  YearGrid grid{};
  grid.fill(0xEE);
  FillPeriod(2026, {2026, 12, 1, 12, 255, 3}, grid);
  EXPECT_EQ(grid[0], 0xEE);  // the year byte is never touched
}

TEST(PeriodFill, CalendarAndGridFillTheSameDays) {
  const PeriodEntry entries[] = {{2026, 2, 29, 3, 2, 1},  {2026, 1, 30, 3, 2, 2},
                                 {2028, 2, 10, 2, 29, 3}, {2026, 11, 20, 1, 5, 4},
                                 {2026, 4, 1, 4, 31, 5},  {2026, 0, 3, 13, 40, 6}};
  for (const PeriodEntry& entry : entries) {
    YearCalendar calendar{};
    YearGrid grid{};
    FillPeriod(entry.year, entry, calendar);
    FillPeriod(entry.year, entry, grid);
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= 31; ++day) {
        ASSERT_EQ(Cell(calendar, month, day).program, grid[layout::GridSlot(month, day)])
            << +entry.program << ": " << month << "/" << day;
      }
    }
  }
}

TEST(PeriodFill, CalendarCoversTheDaysOfItsYear) {
  ScheduleModel model = EmptyModel();
  model.periods[0] = {kEveryYear, 2, 1, 2, 29, 6};
  YearCalendar calendar;
  BuildFullCalendar(2026, YearsFromClock(2026), model, Holidays(""), calendar);
  EXPECT_EQ(calendar.months[1].dayCount, 28);
  EXPECT_EQ(Cell(calendar, 2, 28).program, 6);
  EXPECT_EQ(Cell(calendar, 3, 1).program, 0);
}

TEST(IndividualRecord, UpdatesTheDateWhereverItIsElseTakesTheFirstFreeSlot) {
  ScheduleModel model = EmptyModel();
  model.dates[5] = {2026, 3, 3, 1};
  EXPECT_TRUE(RecordIndividualSetting(model, 2026, 3, 3, 7));
  EXPECT_EQ(model.dates[5].program, 7);
  EXPECT_EQ(model.dates[0].year, 0);  // no second entry in front of it
  EXPECT_TRUE(RecordIndividualSetting(model, 2026, 3, 4, 8));
  EXPECT_EQ(model.dates[0].year, 2026);
  EXPECT_EQ(model.dates[0].day, 4);
  EXPECT_EQ(model.dates[0].program, 8);
}

TEST(IndividualRecord, FailsWhenTheTableIsFull) {
  ScheduleModel model = EmptyModel();
  for (DateEntry& entry : model.dates) entry = {2026, 1, 1, 1};
  EXPECT_FALSE(RecordIndividualSetting(model, 2026, 1, 2, 5));
  EXPECT_TRUE(RecordIndividualSetting(model, 2026, 1, 1, 5));
  EXPECT_EQ(model.dates[0].program, 5);
}

}  // namespace
}  // namespace tavrin
