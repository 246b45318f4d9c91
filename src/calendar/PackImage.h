// Packing as the view does it: the annual resolution of both image years, then the image.
#pragma once

#include <array>

#include "calendar/YearCalendar.h"
#include "model/ImagePacking.h"

namespace tavrin {

// The special-day grid of one year: the programs of its holiday and individual days.
YearGrid SpecialDayGrid(const YearCalendar& calendar, int year);

// Builds `image` from `model` (see PackResolvedImage). The full calendars of both years are left
// in `calendars` (current year first) for the views that show them.
void PackImage(ScheduleModel& model, RadioStation& currentStation, const ImageContext& context,
               SettingsImage& image, std::array<YearCalendar, 2>& calendars);

}  // namespace tavrin
