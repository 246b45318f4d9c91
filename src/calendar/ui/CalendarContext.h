// What the annual page and its confirmation dialog need besides the model: the two image years
// and the clock's month, the holidays, the view's two calendars (current year first) and the
// confirmation dialog's stored position (YEAR_X, YEAR_Y).
#pragma once

#include <array>

#include "calendar/YearCalendar.h"
#include "model/Dates.h"
#include "model/HolidayTable.h"

namespace tavrin {

struct CalendarContext {
  YearPair years;
  int currentMonth;
  const HolidayTable& holidays;
  std::array<YearCalendar, 2>& calendars;
  int& confirmX;
  int& confirmY;
};

}  // namespace tavrin
