// The next school year: which entries are copied, where a copy lands by date and by weekday (the
// weekdays are the calendar's, written out here), what the new schedule keeps, what a copy may
// not overwrite, and when nothing may be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "calendar/NextSchoolYear.h"

namespace tavrin {
namespace {

struct Ymd {
  int year, month, day;
};

PeriodEntry Period(Ymd start, Ymd end, int program = 3) {
  return {static_cast<int16_t>(start.year), static_cast<uint8_t>(start.month),
          static_cast<uint8_t>(start.day),  static_cast<uint8_t>(end.month),
          static_cast<uint8_t>(end.day),    static_cast<uint8_t>(program)};
}

DateEntry Date(Ymd day, int program = 3) {
  return {static_cast<int16_t>(day.year), static_cast<uint8_t>(day.month),
          static_cast<uint8_t>(day.day), static_cast<uint8_t>(program)};
}

std::unique_ptr<ScheduleModel> Model(const std::vector<PeriodEntry>& periods,
                                     const std::vector<DateEntry>& dates) {
  auto model = std::make_unique<ScheduleModel>();
  ClearModel(*model);
  for (std::size_t i = 0; i < periods.size(); ++i) model->periods[i] = periods[i];
  for (std::size_t i = 0; i < dates.size(); ++i) model->dates[i] = dates[i];
  return model;
}

// The school year from April of `first`, into a schedule of the two years after it.
NextYearPlan Plan(const ScheduleModel& old, int first, NextYearBy by, int startMonth = 4) {
  return PlanNextSchoolYear(old, {first, startMonth},
                            {static_cast<int16_t>(first + 1), static_cast<int16_t>(first + 2)}, by);
}

// The used slots of a table of periods or dates.
template <typename Entry, std::size_t N>
std::vector<Entry> Used(const std::array<Entry, N>& table) {
  std::vector<Entry> used;
  for (const Entry& entry : table)
    if (entry.year != 0) used.push_back(entry);
  return used;
}

TEST(NextSchoolYear, ADateLandsOnItsDateOrItsNearestWeekday) {
  const struct {
    const char* name;
    int first;  // the school year's first year
    Ymd source;
    NextYearBy by;
    Ymd target;
    CopyFate fate;
  } rows[] = {
      {"same date", 2026, {2026, 4, 6}, NextYearBy::Date, {2027, 4, 6}, CopyFate::Made},
      {"Monday 6 April 2026 to Monday 5 April 2027",
       2026,
       {2026, 4, 6},
       NextYearBy::Weekday,
       {2027, 4, 5},
       CopyFate::Made},
      // Monday 1 March 2027; 1 March 2028 is a Wednesday, after a 29 February.
      {"over a 29 February",
       2026,
       {2027, 3, 1},
       NextYearBy::Weekday,
       {2028, 2, 28},
       CopyFate::Made},
      {"29 February by date",
       2027,
       {2028, 2, 29},
       NextYearBy::Date,
       {2029, 2, 28},
       CopyFate::LeapDayMoved},
      // Tuesday 29 February 2028; 27 February 2029 is the Tuesday nearest the 28th.
      {"29 February by weekday",
       2027,
       {2028, 2, 29},
       NextYearBy::Weekday,
       {2029, 2, 27},
       CopyFate::Made},
      // Friday 1 January 2027; 1 January 2028 is a Saturday.
      {"back over New Year",
       2026,
       {2027, 1, 1},
       NextYearBy::Weekday,
       {2027, 12, 31},
       CopyFate::Made},
      {"the last day of the school year",
       2026,
       {2027, 3, 31},
       NextYearBy::Date,
       {2028, 3, 31},
       CopyFate::Made},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const NextYearPlan plan = Plan(*Model({}, {Date(row.source)}), row.first, row.by);
    ASSERT_EQ(plan.copies.size(), 1u);
    EXPECT_EQ(plan.copies[0].kind, EntryKind::Date);
    EXPECT_EQ(plan.copies[0].fate, row.fate);
    EXPECT_EQ(AsDate(plan.copies[0].target), Date(row.target));
    const std::vector<DateEntry> result = Used(plan.result.dates);
    EXPECT_NE(std::find(result.begin(), result.end(), Date(row.target)), result.end());
  }
}

TEST(NextSchoolYear, APeriodKeepsItsDaysOrItsLengthAndOnlyItsPartInTheSchoolYear) {
  const struct {
    const char* name;
    int first;
    PeriodEntry source;
    NextYearBy by;
    std::vector<PeriodEntry> targets;
  } rows[] = {
      {"by date",
       2026,
       Period({2026, 7, 20}, {2026, 8, 31}),
       NextYearBy::Date,
       {Period({2027, 7, 20}, {2027, 8, 31})}},
      // Monday 20 July to Monday 31 August 2026; Monday 19 July to Monday 30 August 2027.
      {"by weekday, as long",
       2026,
       Period({2026, 7, 20}, {2026, 8, 31}),
       NextYearBy::Weekday,
       {Period({2027, 7, 19}, {2027, 8, 30})}},
      {"ending on 29 February",
       2027,
       Period({2028, 2, 20}, {2028, 2, 29}),
       NextYearBy::Date,
       {Period({2029, 2, 20}, {2029, 2, 28})}},
      {"begun before the school year",
       2026,
       Period({2026, 3, 25}, {2026, 4, 5}),
       NextYearBy::Date,
       {Period({2027, 4, 1}, {2027, 4, 5})}},
      {"going on after it",
       2026,
       Period({2027, 3, 20}, {2027, 4, 10}),
       NextYearBy::Date,
       {Period({2028, 3, 20}, {2028, 3, 31})}},
      // Friday 1 to Thursday 7 January 2027: from Friday 31 December, in two rows.
      {"across New Year by weekday",
       2026,
       Period({2027, 1, 1}, {2027, 1, 7}),
       NextYearBy::Weekday,
       {Period({2027, 12, 31}, {2027, 12, 31}), Period({2028, 1, 1}, {2028, 1, 6})}},
      {"before the school year", 2026, Period({2026, 3, 1}, {2026, 3, 31}), NextYearBy::Date, {}},
      {"after it", 2026, Period({2027, 4, 1}, {2027, 4, 30}), NextYearBy::Date, {}},
      {"every year", 2026, Period({kEveryYear, 4, 1}, {kEveryYear, 4, 30}), NextYearBy::Date, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const NextYearPlan plan = Plan(*Model({row.source}, {}), row.first, row.by);
    std::vector<PeriodEntry> targets;
    for (const NextYearCopy& copy : plan.copies) {
      EXPECT_EQ(copy.kind, EntryKind::Period);
      EXPECT_TRUE(copy.Made());
      targets.push_back(copy.target);
    }
    EXPECT_EQ(targets, row.targets);
    const std::vector<PeriodEntry> result = Used(plan.result.periods);
    for (const PeriodEntry& target : targets)
      EXPECT_NE(std::find(result.begin(), result.end(), target), result.end());
  }
}

// Every first month of the school year: its first day and its last are copied, the days just
// outside it are not.
TEST(NextSchoolYear, EveryFirstMonthBoundsTheSchoolYear) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};  // 2026 and 2027
  for (int month = 1; month <= 12; ++month) {
    SCOPED_TRACE(month);
    const Ymd first{2026, month, 1};
    const Ymd last = month == 1 ? Ymd{2026, 12, 31} : Ymd{2027, month - 1, kDays[month - 2]};
    const Ymd before = month == 1 ? Ymd{2025, 12, 31} : Ymd{2026, month - 1, kDays[month - 2]};
    const Ymd after = month == 1 ? Ymd{2027, 1, 1} : Ymd{2027, month, 1};
    const NextYearPlan plan =
        Plan(*Model({}, {Date(before), Date(first, 4), Date(last, 5), Date(after)}), 2026,
             NextYearBy::Date, month);
    std::vector<int> copied;
    for (const NextYearCopy& copy : plan.copies) copied.push_back(copy.source.program);
    EXPECT_EQ(copied, (std::vector<int>{4, 5}));
  }
}

TEST(NextSchoolYear, TheNewScheduleKeepsItsOwnYearsAndEveryYearEntries) {
  const auto old =
      Model({Period({2025, 5, 1}, {2025, 5, 2}), Period({kEveryYear, 1, 1}, {kEveryYear, 1, 7}),
             Period({2028, 9, 1}, {2028, 9, 2}, 8)},
            {Date({2026, 3, 3}), Date({2027, 2, 11}, 6), Date({kEveryYear, 12, 25})});
  const NextYearPlan plan = Plan(*old, 2026, NextYearBy::Date);
  EXPECT_EQ(Used(plan.kept.periods),
            (std::vector<PeriodEntry>{Period({kEveryYear, 1, 1}, {kEveryYear, 1, 7}),
                                      Period({2028, 9, 1}, {2028, 9, 2}, 8)}));
  EXPECT_EQ(Used(plan.kept.dates),
            (std::vector<DateEntry>{Date({2027, 2, 11}, 6), Date({kEveryYear, 12, 25})}));
  // 11 February 2027 lies in the school year: it stays and is copied.
  EXPECT_EQ(Used(plan.result.dates),
            (std::vector<DateEntry>{Date({2027, 2, 11}, 6), Date({kEveryYear, 12, 25}),
                                    Date({2028, 2, 11}, 6)}));
}

TEST(NextSchoolYear, ACopyNeverOverwritesAnEntryOfItsYear) {
  const struct {
    const char* name;
    std::vector<PeriodEntry> keptPeriods;
    std::vector<DateEntry> keptDates;
    CopyFate fate;
  } rows[] = {
      // The copy is 6..10 April 2027, program 3, in a table of periods.
      {"a day of another program",
       {Period({2027, 4, 10}, {2027, 4, 20}, 5)},
       {},
       CopyFate::Collides},
      {"the same program on some days", {Period({2027, 4, 1}, {2027, 4, 7})}, {}, CopyFate::Made},
      {"the same program on every day",
       {Period({2027, 4, 1}, {2027, 4, 7}), Period({2027, 4, 8}, {2027, 4, 12})},
       {},
       CopyFate::AlreadyThere},
      {"the day after it", {Period({2027, 4, 11}, {2027, 4, 20}, 5)}, {}, CopyFate::Made},
      {"another year's", {Period({2028, 4, 6}, {2028, 4, 10}, 5)}, {}, CopyFate::Made},
      {"every year's", {Period({kEveryYear, 4, 1}, {kEveryYear, 4, 30}, 5)}, {}, CopyFate::Made},
      {"a date of another program", {}, {Date({2027, 4, 8}, 5)}, CopyFate::Made},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<PeriodEntry> periods = row.keptPeriods;
    periods.push_back(Period({2026, 4, 6}, {2026, 4, 10}));
    const NextYearPlan plan = Plan(*Model(periods, row.keptDates), 2026, NextYearBy::Date);
    ASSERT_EQ(plan.copies.size(), 1u);
    EXPECT_EQ(plan.copies[0].fate, row.fate);
    const std::vector<PeriodEntry> result = Used(plan.result.periods);
    const bool made = std::find(result.begin(), result.end(),
                                Period({2027, 4, 6}, {2027, 4, 10})) != result.end();
    EXPECT_EQ(made, row.fate == CopyFate::Made);
    if (!made) {
      EXPECT_EQ(plan.copies[0].met, row.keptPeriods.front());
    }
  }
  // Two copies that land on one day meet each other.
  const NextYearPlan leap =
      Plan(*Model({}, {Date({2028, 2, 28}, 2), Date({2028, 2, 29}, 2)}), 2027, NextYearBy::Date);
  ASSERT_EQ(leap.copies.size(), 2u);
  EXPECT_EQ(leap.copies[1].fate, CopyFate::AlreadyThere);
}

TEST(NextSchoolYear, TheNextSchoolYearMustReachTheNewYears) {
  const struct {
    int first, startMonth;
    bool reaches;
  } rows[] = {
      {2026, 4, true},  {2025, 4, true},   // April 2026 to March 2027 holds January 2027
      {2024, 4, false}, {2025, 1, false},  // all of 2026
      {2026, 1, true},  {2027, 12, true}, {2028, 1, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.first) + "/" + std::to_string(row.startMonth));
    EXPECT_EQ(PlanNextSchoolYear(*Model({}, {}), {row.first, row.startMonth}, {2027, 2028},
                                 NextYearBy::Date)
                  .reachesNewYears,
              row.reaches);
  }
}

// 200 slots a table, one more than fit leaves the schedule as it was. The entries of January to
// March 2027 both stay and are copied; those of 2028 only stay.
TEST(NextSchoolYear, CopiesThatOverflowATableAreCountedAndNothingIsMade) {
  const struct {
    int periodsOf2028, datesOf2028;
    int missingPeriods, missingDates;
  } rows[] = {{20, 0, 0, 0}, {21, 0, 1, 0}, {0, 20, 0, 0}, {0, 21, 0, 1}, {21, 21, 1, 1}};
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.periodsOf2028) + " " + std::to_string(row.datesOf2028));
    auto old = Model({}, {});
    int periods = 0;
    int dates = 0;
    for (int month = 1; month <= 3; ++month) {
      for (int day = 1; day <= MonthLength(2027, month); ++day) {
        old->periods[periods++] = Period({2027, month, day}, {2027, month, day}, 1 + day % 2);
        old->dates[dates++] = Date({2027, month, day});
      }
    }
    ASSERT_EQ(periods, 90);
    for (int i = 0; i < row.periodsOf2028; ++i)
      old->periods[periods++] = Period({2028, 5, 1 + i}, {2028, 5, 1 + i});
    for (int i = 0; i < row.datesOf2028; ++i) old->dates[dates++] = Date({2028, 5, 1 + i});
    const NextYearPlan plan = Plan(*old, 2026, NextYearBy::Date);
    EXPECT_EQ(plan.missingPeriods, row.missingPeriods);
    EXPECT_EQ(plan.missingDates, row.missingDates);
    // A table that overflows leaves both as they were.
    EXPECT_EQ(plan.result == plan.kept, row.missingPeriods + row.missingDates > 0);
  }
}

}  // namespace
}  // namespace tavrin
