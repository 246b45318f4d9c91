// Any bytes as a settings image, read and written back again and again: nothing leaves its
// field, and the image settles after a few rounds.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "calendar/HolidayFile.h"
#include "calendar/PackImage.h"
#include "model/ImagePacking.h"

using namespace tavrin;

namespace {

// Packing an unpacked image can still differ from it once more: equal leap-day programs add a
// 29 February period the first time, and a run that becomes two year-specific periods stops
// filling the 29 February slot of a common year. After that, nothing moves.
constexpr int kRounds = 2;

const HolidayTable& Holidays() {
  static const HolidayTable table = [] {
    std::string text;
    for (int year = 2000; year < 2046; ++year) {
      text += "[" + std::to_string(year) + "]\r\n01=1," + std::to_string(year % 7 + 8) +
              "\r\n02=11,23\r\n05=3,4,5\r\n";
    }
    HolidayTable holidays;
    ParseHolidayText(text.data(), text.size(), holidays);
    return holidays;
  }();
  return table;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckModel(const ScheduleModel& model, const YearPair& years) {
  Check(model.stepCount >= 0 && model.stepCount <= kStepCount);
  for (int i = 0; i < kStepCount; ++i) {
    const WeeklyStep& step = model.steps[i];
    Check((i < model.stepCount) == (step.program != 0));
    Check(step.channel <= 15 && step.action <= 15);
    for (uint8_t day : step.days) Check(day <= 1);
  }
  for (const ChannelSetting& channel : model.channels) {
    Check(channel.kind <= kChannelKeep && channel.riseTime <= 3 && channel.signalMinutes <= 63);
  }
  bool ended = false;
  for (const PeriodEntry& entry : model.periods) {
    if (entry.year == 0) {
      ended = true;
      continue;
    }
    Check(!ended);  // filled from the first slot without gaps
    Check(entry.year == kEveryYear || entry.year >= years.currentYear);
    Check(entry.program != 0);
    Check(entry.startMonth >= 1 && entry.startMonth <= entry.endMonth && entry.endMonth <= 12);
    Check(entry.startDay >= 1 && entry.startDay <= MonthLength(entry.year, entry.startMonth));
    Check(entry.endDay >= 1 && entry.endDay <= MonthLength(entry.year, entry.endMonth));
    Check(entry.startMonth < entry.endMonth || entry.startDay <= entry.endDay);
  }
  ended = false;
  for (const DateEntry& entry : model.dates) {
    if (entry.year == 0) {
      ended = true;
      continue;
    }
    Check(!ended);
    Check(entry.year == kEveryYear || entry.year >= years.currentYear);
    Check(entry.program != 0);
    Check(entry.day >= 1 && entry.day <= MonthLength(entry.year, entry.month));
  }
  Check(model.summerTime.startMonth <= 15 && model.summerTime.startWeek <= 15);
  Check(model.summerTime.startWeekday <= 7 && model.summerTime.endWeekday <= 7);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const ImageContext context{YearsFromClock(2000 + data[0] % 100), &Holidays(), (data[1] & 1) != 0};
  SettingsImage image{};
  std::memcpy(image.data(), data + 2, std::min(size - 2, image.size()));

  RadioStation station;
  std::array<YearCalendar, 2> calendars;
  ScheduleModel model;
  UnpackImage(image, context, model);
  CheckModel(model, context.years);
  SettingsImage previous = image;
  for (int round = 1; round <= kRounds + 1; ++round) {
    PackImage(model, station, context, image, calendars);
    if (image == previous) return 0;
    Check(round <= kRounds);
    previous = image;
    UnpackImage(image, context, model);
    CheckModel(model, context.years);
  }
  return 0;
}
