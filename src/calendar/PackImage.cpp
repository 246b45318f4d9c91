#include "calendar/PackImage.h"

namespace tavrin {

YearGrid SpecialDayGrid(const YearCalendar& calendar, int year) {
  YearGrid grid{};
  grid[0] = static_cast<uint8_t>(year - 2000);
  for (int month = 1; month <= 12; ++month) {
    const MonthCalendar& days = calendar.months[month - 1];
    for (int day = 1; day <= days.dayCount; ++day) {
      const DayCell& cell = days.cells[day - 1];
      if (cell.source == kSourceIndividual || cell.source == kSourceHoliday) {
        grid[layout::GridSlot(month, day)] = cell.program;
      }
    }
  }
  return grid;
}

void PackImage(ScheduleModel& model, RadioStation& currentStation, const ImageContext& context,
               SettingsImage& image, std::array<YearCalendar, 2>& calendars) {
  const YearPair& years = context.years;
  BuildFullCalendar(years.currentYear, years, model, *context.holidays, calendars[0]);
  BuildFullCalendar(years.nextYear, years, model, *context.holidays, calendars[1]);
  const SpecialDayGrids specialDays{SpecialDayGrid(calendars[0], years.currentYear),
                                    SpecialDayGrid(calendars[1], years.nextYear)};
  PackResolvedImage(model, currentStation, context, specialDays, image);
}

}  // namespace tavrin
