// The resolved program of every day of one year, and the rules that build it.
#pragma once

#include <array>
#include <cstdint>

#include "model/Dates.h"
#include "model/HolidayTable.h"
#include "model/ImageLayout.h"
#include "model/ScheduleModel.h"

namespace tavrin {

enum DaySource : uint8_t { kSourcePeriod = 0, kSourceIndividual = 1, kSourceHoliday = 2 };

struct DayCell {
  uint8_t weekRow;  // 1..6
  uint8_t weekday;  // 0 = Sunday
  uint8_t holiday;
  uint8_t source;   // DaySource
  uint8_t program;  // 0 = the basic program applies
};

struct MonthCalendar {
  uint8_t dayCount;
  std::array<DayCell, 31> cells;
};

struct YearCalendar {
  std::array<MonthCalendar, 12> months;
};

// Steps 1-3 (weekdays, week rows, holiday flags) for one year.
void BuildBareCalendar(int year, const HolidayTable& holidays, YearCalendar& calendar);
// Steps 1-6 for one of the two image years.
void BuildFullCalendar(int year, const YearPair& years, const ScheduleModel& model,
                       const HolidayTable& holidays, YearCalendar& calendar);

// The period fill on a calendar (month lengths of `year`).
void FillPeriod(int year, const PeriodEntry& entry, YearCalendar& calendar);

// Searches the 200 date slots: same date gets the new program, else the first empty slot.
bool RecordIndividualSetting(ScheduleModel& model, int year, int month, int day, int program);

}  // namespace tavrin
