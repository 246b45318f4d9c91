// A model read from JSON is packed as a save would pack it. Packing must stay in bounds whatever
// the model holds, and what the image says must survive opening and saving it again: the model
// unpacked from it, packed and unpacked once more, comes back unchanged. (The first image itself
// may differ from the second: a keep channel's signal time is packed but never unpacked.)
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzSupport.h"
#include "calendar/PackImage.h"
#include "cli/ModelJson.h"

using namespace tavrin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  ScheduleModel model;
  ProgramNameTable names;
  if (!ParseModelJson(std::string_view(reinterpret_cast<const char*>(data), size), model, names)
           .ok()) {
    return 0;
  }
  // The last byte picks the mode, so that both are reached from any model.
  const ImageContext context{YearsFromClock(2026), &fuzzing::SampleHolidays(), size % 2 == 0};
  RadioStation station{};
  SettingsImage image;
  std::array<YearCalendar, 2> calendars;
  PackImage(model, station, context, image, calendars);

  ScheduleModel unpacked;
  UnpackImage(image, context, unpacked);
  if (unpacked.stepCount < 0 || unpacked.stepCount > kStepCount) __builtin_trap();
  SettingsImage again;
  ScheduleModel saved = unpacked;
  PackImage(saved, station, context, again, calendars);
  ScheduleModel reopened;
  UnpackImage(again, context, reopened);
  if (!(reopened == unpacked)) __builtin_trap();
  return 0;
}
