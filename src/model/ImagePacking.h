// The two conversions between the editable model and the 6594-byte image.
#pragma once

#include <array>
#include <string>

#include "model/Dates.h"
#include "model/HolidayTable.h"
#include "model/ImageLayout.h"
#include "model/ScheduleModel.h"

namespace tavrin {

// The radio station the view remembers between runs, 東京 82.5 MHz until one is chosen. The name
// is Shift-JIS bytes.
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

// The special-day grids of the current and the next year: the programs the annual resolution
// gives to holidays and individual dates, 0 elsewhere. The calendar layer resolves them.
using SpecialDayGrids = std::array<YearGrid, 2>;

// Builds `image` from `model` and the resolved special days. Fills the model's radio station from
// `currentStation` when the model has none, then sets `currentStation` from the model.
void PackResolvedImage(ScheduleModel& model, RadioStation& currentStation,
                       const ImageContext& context, const SpecialDayGrids& specialDays,
                       SettingsImage& image);

// Rebuilds `model` from `image`. Never fails: every value is masked or cut to its field.
void UnpackImage(const SettingsImage& image, const ImageContext& context, ScheduleModel& model);

}  // namespace tavrin
