#include "calendar/YearCalendar.h"

#include <algorithm>
#include <cstring>

namespace tavrin {

namespace {

constexpr int kFirstYear = 2000;
constexpr int kLastYear = 2099;
// The calendar counts days from 1 January 2000 up to the last year an image can cover.
constexpr int kLastCountedYear = kLastYear + 1;
constexpr int kGridDays = 31;

constexpr std::array<int, 12> kMonthLengths = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool IsLeap(int year) { return year == kEveryYear || year % 4 == 0; }

int YearLength(int year) { return IsLeap(year) ? 366 : 365; }

// Walks the days a period covers, month by month, and hands each (month, day) to `write`.
// Start months use their real length; end days are taken as written, up to the 31 slots a
// month has, because the timer's grid keeps the days a month lacks.
template <typename Write>
void WalkPeriod(int lengthYear, const PeriodEntry& entry, Write&& write) {
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

bool Applies(int entryYear, int year, const YearPair& years) {
  if (entryYear == 0) return false;
  if (entryYear == year) return true;
  return entryYear == kEveryYear && (year == years.currentYear || year == years.nextYear);
}

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

void BuildBareCalendar(int year, const HolidayTable& holidays, YearCalendar& calendar) {
  std::memset(&calendar, 0, sizeof calendar);
  for (int month = 1; month <= 12; ++month) {
    MonthCalendar& target = calendar.months[month - 1];
    target.dayCount = static_cast<uint8_t>(MonthLength(year, month));
    int weekday = Weekday(year, month, 1);
    int row = 1;
    for (int day = 1; day <= target.dayCount; ++day) {
      DayCell& cell = target.cells[day - 1];
      cell.weekRow = static_cast<uint8_t>(row);
      cell.weekday = static_cast<uint8_t>(weekday);
      if (weekday == 6) {
        weekday = 0;
        ++row;
      } else {
        ++weekday;
      }
    }
  }
  const HolidayTable::YearDays* listed = holidays.DaysOf(year);
  if (listed == nullptr) return;
  for (int month = 1; month <= 12; ++month) {
    MonthCalendar& target = calendar.months[month - 1];
    for (uint8_t day : (*listed)[month - 1]) {
      if (day != 0 && day <= target.dayCount) target.cells[day - 1].holiday = 1;
    }
  }
}

void BuildFullCalendar(int year, const YearPair& years, const ScheduleModel& model,
                       const HolidayTable& holidays, YearCalendar& calendar) {
  BuildBareCalendar(year, holidays, calendar);
  // The periods are laid out on a flat grid first, where a run of days is one fill, and copied
  // into the cells once: the same days as filling every period into the calendar.
  YearGrid periodDays{};
  for (const PeriodEntry& entry : model.periods) {
    if (Applies(entry.year, year, years)) FillPeriod(year, entry, periodDays);
  }
  for (int month = 1; month <= 12; ++month) {
    std::array<DayCell, 31>& cells = calendar.months[month - 1].cells;
    for (int day = 1; day <= kGridDays; ++day) {
      cells[day - 1].program = periodDays[layout::GridSlot(month, day)];
    }
  }
  if (model.holidayEnabled != 0 && model.holidayProgram > 0) {
    for (MonthCalendar& month : calendar.months) {
      for (int day = 0; day < month.dayCount; ++day) {
        DayCell& cell = month.cells[day];
        if (cell.holiday == 0) continue;
        cell.program = static_cast<uint8_t>(model.holidayProgram);
        cell.source = kSourceHoliday;
      }
    }
  }
  for (const DateEntry& entry : model.dates) {
    if (!Applies(entry.year, year, years)) continue;
    if (entry.day < 1 || entry.day > MonthLength(year, entry.month)) continue;
    DayCell& cell = calendar.months[entry.month - 1].cells[entry.day - 1];
    cell.program = entry.program;
    cell.source = kSourceIndividual;
  }
}

void FillPeriod(int year, const PeriodEntry& entry, YearCalendar& calendar) {
  WalkPeriod(year, entry, [&](int month, int first, int last) {
    std::array<DayCell, 31>& cells = calendar.months[month - 1].cells;
    for (int day = first; day <= last; ++day) {
      cells[day - 1].program = entry.program;
      cells[day - 1].source = kSourcePeriod;
    }
  });
}

void FillPeriod(int lengthYear, const PeriodEntry& entry, YearGrid& grid) {
  WalkPeriod(lengthYear, entry, [&](int month, int first, int last) {
    uint8_t* const slots = grid.data() + layout::GridSlot(month, 1);
    std::fill(slots + first - 1, slots + last, entry.program);
  });
}

bool RecordIndividualSetting(ScheduleModel& model, int year, int month, int day, int program) {
  // The later slot wins in the calendar: a new entry in a free slot before an existing one for
  // the same date would never show, so the whole table is searched for the date first.
  if (year == 0) return false;  // year 0 marks a free slot
  for (DateEntry& entry : model.dates) {
    if (entry.year == year && entry.month == month && entry.day == day) {
      entry.program = static_cast<uint8_t>(program);
      return true;
    }
  }
  for (DateEntry& entry : model.dates) {
    if (entry.year != 0) continue;
    entry.year = static_cast<int16_t>(year);
    entry.month = static_cast<uint8_t>(month);
    entry.day = static_cast<uint8_t>(day);
    entry.program = static_cast<uint8_t>(program);
    return true;
  }
  return false;
}

}  // namespace tavrin
