// The two conversions between the editable model and the 6594-byte image.
#pragma once

#include <string>

#include "calendar/HolidayTable.h"
#include "calendar/YearCalendar.h"
#include "model/ImageLayout.h"
#include "model/ScheduleModel.h"

namespace tavrin {

// The radio station the view remembers between runs. The name is Shift-JIS bytes.
struct RadioStation {
  int frequency = 825;
  std::string name = "\x93\x8c\x8b\x9e";  // "東京" in Shift-JIS
};

// Everything besides the model that decides an image.
struct ImageContext {
  YearPair years;
  const HolidayTable* holidays;  // never null; an empty table means no holidays
  bool radioMode;                // RadioModeOn
};

// Builds `image` from `model`. Fills the model's radio station from `currentStation` when the model
// has none, then sets `currentStation` from the model. The full calendars of both years are left in
// `calendars` (current year first) for the views that show them.
void PackImage(ScheduleModel& model, RadioStation& currentStation, const ImageContext& context,
               SettingsImage& image, std::array<YearCalendar, 2>& calendars);

// Rebuilds `model` from `image`. Never fails: every value is masked or cut to its field.
void UnpackImage(const SettingsImage& image, const ImageContext& context, ScheduleModel& model);

}  // namespace tavrin
