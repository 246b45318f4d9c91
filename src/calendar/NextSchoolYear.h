// The next school year made from this one: the periods and individual dates of a school year (12
// months from its first month) copied one year on, into a schedule of the clock's two years. What
// that schedule holds already stays, and a copy never overwrites it.
#pragma once

#include <vector>

#include "model/Dates.h"
#include "model/ScheduleModel.h"

namespace tavrin {

// How a date finds its day one year on: the same month and day, or the nearest day with the same
// weekday ("Monday 6 April 2026" becomes "Monday 5 April 2027").
enum class NextYearBy { Date, Weekday };

struct NextYearOptions {
  int startMonth = 4;  // the school year's first month; 1 makes it the calendar year
  NextYearBy by = NextYearBy::Date;
};

namespace next_year {

inline constexpr char kCaption[] = "次の年度を作成";
inline constexpr char kStartMonthLabel[] = "最初の月(&M):";
inline constexpr char kByGroup[] = "写し方";
inline constexpr char kByDate[] = "日付を保つ(&D)";
inline constexpr char kByWeekday[] = "曜日を保つ(&W)";
inline constexpr char kLinesLabel[] = "追加する設定(&L):";
inline constexpr char kNothingAdded[] = "追加する設定はありません。";
inline constexpr char kNotesLabel[] = "そのまま写さない設定(&T):";
inline constexpr char kNothingNoted[] = "すべてそのまま写します。";
inline constexpr char kConfirmButton[] = "確認(&K)";
// A nearest same weekday is never further than this from the same date one year on.
inline constexpr int kMaxWeekdayShift = 3;

}  // namespace next_year

// The school year of `firstYear` that starts in `startMonth`, to the month before it a year later.
struct SchoolYear {
  int firstYear = 0;
  int startMonth = 4;

  SchoolYear Next() const { return {firstYear + 1, startMonth}; }
  // Months counted from January of year 0, so that a school year is a range of 12 of them.
  int FirstMonthIndex() const { return firstYear * 12 + startMonth - 1; }
  bool operator==(const SchoolYear&) const = default;
};

enum class EntryKind { Period, Date };

// What became of one copy.
enum class CopyFate {
  Made,
  LeapDayMoved,  // made, with 29 February as 28 February: the target year has none
  Collides,      // not made: an entry of the same kind gives one of its days another program
  AlreadyThere,  // not made: entries of the same kind give all its days its program already
  OutsideYears,  // not made: the new schedule does not hold the target's year
};

// A copy of one period or date, or of the part of it within the school year. A date is a period
// that starts and ends on its day. A period moved by weekday across New Year becomes two copies
// of the same source.
struct NextYearCopy {
  EntryKind kind = EntryKind::Period;
  PeriodEntry source{};
  PeriodEntry target{};
  CopyFate fate = CopyFate::Made;
  PeriodEntry met{};  // Collides, AlreadyThere: an entry it meets

  bool Made() const { return fate == CopyFate::Made || fate == CopyFate::LeapDayMoved; }
};

struct NextYearPlan {
  SchoolYear source;
  // The old schedule as the new one keeps it: its every-year entries and those of the new years.
  ScheduleModel kept{};
  // `kept` with the copies made, when they fit.
  ScheduleModel result{};
  // Every copy tried: periods, then dates, each in the order of the old schedule's table.
  std::vector<NextYearCopy> copies;
  // The table slots the copies lack beyond the 200 of each table; nothing may be written unless
  // both are 0.
  int missingPeriods = 0;
  int missingDates = 0;
  // False when no month of the next school year lies in the new schedule's years: the old
  // schedule is too old to make it from.
  bool reachesNewYears = true;

  bool Fits() const { return missingPeriods == 0 && missingDates == 0; }
};

// The next school year of `source` (whose years are those it was made for, not the clock's: a
// schedule saved last year still holds last year), in a schedule of `newYears`.
NextYearPlan PlanNextSchoolYear(const ScheduleModel& old, const SchoolYear& source,
                                const YearPair& newYears, NextYearBy by);

// A period or date as a one-day period, and back.
PeriodEntry AsPeriod(const DateEntry& date);
DateEntry AsDate(const PeriodEntry& day);

}  // namespace tavrin
