#include "model/Dates.h"

#include <array>

namespace tavrin {

namespace {

constexpr std::array<int, 12> kMonthLengths = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool IsLeap(int year) { return year == kEveryYear || year % 4 == 0; }

int YearLength(int year) { return IsLeap(year) ? 366 : 365; }

}  // namespace

YearPair YearsFromClock(int clockYear) {
  const int year = std::clamp(clockYear, kFirstYear, kLastYear);
  return {static_cast<int16_t>(year), static_cast<int16_t>(year + 1)};
}

int MonthLength(int year, int month) {
  if (month < 1 || month > 12) return 0;
  if (month == 2 && IsLeap(year)) return 29;
  return kMonthLengths[month - 1];
}

int DayCount(int year, int month, int day) {
  if (year < kFirstYear || year > kLastCountedYear) return 0;
  if (month < 1 || month > 12 || day < 1 || day > kGridDays) return 0;
  int count = 0;
  for (int y = kFirstYear; y < year; ++y) count += YearLength(y);
  for (int m = 1; m < month; ++m) count += MonthLength(year, m);
  return count + day - 1;
}

int Weekday(int year, int month, int day) {
  const int rest = DayCount(year, month, day) % 7;
  return rest == 0 ? 6 : rest - 1;  // 1 January 2000 was a Saturday
}

void FillPeriod(int lengthYear, const PeriodEntry& entry, YearGrid& grid) {
  ForEachPeriodRun(lengthYear, entry, [&](int month, int first, int last) {
    uint8_t* const slots = grid.data() + layout::GridSlot(month, 1);
    std::fill(slots + first - 1, slots + last, entry.program);
  });
}

}  // namespace tavrin
