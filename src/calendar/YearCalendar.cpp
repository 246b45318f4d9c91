#include "calendar/YearCalendar.h"

#include <algorithm>
#include <cstring>

namespace tavrin {

namespace {

bool Applies(int entryYear, int year, const YearPair& years) {
  if (entryYear == 0) return false;
  if (entryYear == year) return true;
  return entryYear == kEveryYear && (year == years.currentYear || year == years.nextYear);
}

}  // namespace

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
  ForEachPeriodRun(year, entry, [&](int month, int first, int last) {
    std::array<DayCell, 31>& cells = calendar.months[month - 1].cells;
    for (int day = first; day <= last; ++day) {
      cells[day - 1].program = entry.program;
      cells[day - 1].source = kSourcePeriod;
    }
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
