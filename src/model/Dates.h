// Dates as the timer counts them, and the days a period covers.
#pragma once

#include <algorithm>
#include <cstdint>

#include "model/ImageLayout.h"
#include "model/ScheduleModel.h"

namespace tavrin {

// The calendar's years: the clock's year is clamped to 2000..2099, and an image written in 2099
// covers 2100 as well, the last year the calendar counts.
inline constexpr int kFirstYear = 2000;
inline constexpr int kLastYear = 2099;
inline constexpr int kLastCountedYear = kLastYear + 1;

// The two years a settings image covers.
struct YearPair {
  int16_t currentYear;  // clock year clamped to 2000..2099
  int16_t nextYear;     // currentYear + 1
};
YearPair YearsFromClock(int clockYear);

int MonthLength(int year,
                int month);  // 0 outside 1..12; Feb 29 for years divisible by 4 and kEveryYear
// Days since 2000-01-01 for 2000..2100 (every year divisible by 4 is a leap year, as on the
// timer); 0 for other years and for dates outside 1..12 / 1..31.
int DayCount(int year, int month, int day);
int Weekday(int year, int month, int day);  // 0 = Sunday

inline constexpr int kGridDays = 31;

// Walks the days a period covers, month by month, and hands each run (month, first, last) to
// `write`. Start months use their real length (of `lengthYear`); end days are taken as written,
// up to the 31 slots a month has, because the timer's grid keeps the days a month lacks.
template <typename Write>
void ForEachPeriodRun(int lengthYear, const PeriodEntry& entry, Write&& write) {
  const int startMonth = entry.startMonth;
  const int endMonth = entry.endMonth;
  const auto span = [&](int month, int first, int last) {
    if (month < 1 || month > 12) return;
    first = std::max(first, 1);
    last = std::min(last, kGridDays);
    if (first <= last) write(month, first, last);
  };
  if (startMonth == endMonth) {
    span(startMonth, entry.startDay, entry.endDay);
    return;
  }
  span(startMonth, entry.startDay, MonthLength(lengthYear, startMonth));
  if (endMonth < startMonth) return;
  for (int month = startMonth + 1; month < endMonth && month <= 12; ++month) {
    span(month, 1, MonthLength(lengthYear, month));
  }
  span(endMonth, 1, entry.endDay);
}

// The period fill on a year grid (month lengths of `lengthYear`, kEveryYear for every-year
// entries).
void FillPeriod(int lengthYear, const PeriodEntry& entry, YearGrid& grid);

}  // namespace tavrin
