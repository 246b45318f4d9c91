// A settings file saved in 2026 whose next school year cannot be made: every day of January to
// March 2027 is a one-day period and an individual date, which both stay and are copied into 2028,
// and 21 days of July 2027 stay as well: 111 + 90 of each, one more than the 200 slots.
#pragma once

#include <memory>
#include <utility>

#include "calendar/PackImage.h"

namespace tavrin::testing {

inline SettingsImage OverflowingYearImage() {
  auto model = std::make_unique<ScheduleModel>();
  ClearModel(*model);
  model->basicProgram = 99;
  int slot = 0;
  for (const auto& [month, days] : {std::pair{1, 31}, {2, 28}, {3, 31}, {7, 21}})
    for (int day = 1; day <= days; ++day, ++slot) {
      const auto m = static_cast<uint8_t>(month);
      const auto d = static_cast<uint8_t>(day);
      // Neighbouring days of one program would be read back as one period.
      model->periods[slot] = {2027, m, d, m, d, static_cast<uint8_t>(1 + slot % 2)};
      model->dates[slot] = {2027, m, d, 3};
    }
  HolidayTable holidays{};
  RadioStation station;
  SettingsImage image{};
  std::array<YearCalendar, 2> calendars{};
  PackImage(*model, station, {YearsFromClock(2026), &holidays, true}, image, calendars);
  return image;
}

}  // namespace tavrin::testing
