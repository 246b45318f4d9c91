// Model to image.
#include <algorithm>
#include <cstring>

#include "model/ImageBytes.h"
#include "model/ImagePacking.h"
#include "model/ShiftJis.h"

namespace tavrin {

namespace {

using namespace image_codes;

void PackHeader(const ScheduleModel& model, SettingsImage& image) {
  std::memcpy(image.data() + layout::kIdText, model.idText.data(), layout::kIdTextSize);
  std::memcpy(image.data() + layout::kModelTag, model.modelTag.data(), layout::kModelTagSize);
  WriteU16(image, layout::kTotalLength, layout::kImageSize);
  WriteU16(image, layout::kChannelBlockWord, layout::kChannelBlock);
  WriteU16(image, layout::kStepBlockWord, layout::kStepBlock);
  WriteU16(image, layout::kPeriodGridCurrentWord, layout::kPeriodGridCurrent);
  WriteU16(image, layout::kPeriodGridNextWord, layout::kPeriodGridNext);
  WriteU16(image, layout::kSpecialGridCurrentWord, layout::kSpecialGridCurrent);
  WriteU16(image, layout::kSpecialGridNextWord, layout::kSpecialGridNext);
  WriteU16(image, layout::kSummerTimeWord, layout::kSummerTime);
  WriteU16(image, layout::kRadioWord, layout::kRadioFrequency);
  image[layout::kHolidayEnabled] = static_cast<uint8_t>(model.holidayEnabled);
  image[layout::kHolidayProgram] = static_cast<uint8_t>(model.holidayProgram);
  image[layout::kBasicProgram] = static_cast<uint8_t>(model.basicProgram);
  image[layout::kLeapStartProgram] = static_cast<uint8_t>(model.leapStartProgram);
  image[layout::kLeapEndProgram] = static_cast<uint8_t>(model.leapEndProgram);
}

void PackChannels(const ScheduleModel& model, SettingsImage& image) {
  for (int i = 0; i < kChannelCount; ++i) {
    const ChannelSetting& channel = model.channels[i];
    uint8_t* record = image.data() + layout::kChannelBlock + i * layout::kChannelRecordSize;
    // The minutes have six bits; more would spill into the keep flag.
    record[0] = static_cast<uint8_t>(channel.signalMinutes & kMinutesMask);
    if (channel.kind == kChannelKeep) record[0] |= kKeepFlag;
    record[1] = channel.signalSeconds;
    record[3] = channel.riseTime <= 3 ? kRiseSeconds[channel.riseTime] : 0;
  }
}

uint8_t ActionCode(const ScheduleModel& model, const WeeklyStep& step) {
  if (ChannelKindOf(model, step.channel) == kChannelTimeSignal) return step.action & 0x0F;
  if (step.action == kKeepOn) return kActionOn;
  if (step.action == kKeepOff) return kActionOff;
  return 0;
}

uint16_t PackSteps(const ScheduleModel& model, SettingsImage& image) {
  uint16_t count = 0;
  for (const WeeklyStep& step : model.steps) {
    if (!step.used()) continue;
    uint8_t* record = image.data() + layout::kStepBlock + count * layout::kStepRecordSize;
    uint8_t mask = 0;
    for (int day = 0; day < 7; ++day) {
      if (step.days[day] != 0) mask |= static_cast<uint8_t>(1 << day);
    }
    record[0] = step.program;
    record[1] = mask;
    record[2] = step.hour;
    record[3] = step.minute;
    record[4] = static_cast<uint8_t>(((step.channel & 0x0F) << 4) | ActionCode(model, step));
    ++count;
  }
  return count;
}

void PutGrid(const YearGrid& grid, std::size_t offset, SettingsImage& image) {
  std::memcpy(image.data() + offset, grid.data(), grid.size());
}

void PackPeriods(const ScheduleModel& model, const YearPair& years, SettingsImage& image) {
  YearGrid current{};
  YearGrid next{};
  current[0] = static_cast<uint8_t>(years.currentYear - 2000);
  next[0] = static_cast<uint8_t>(years.nextYear - 2000);
  for (const PeriodEntry& entry : model.periods) {
    if (entry.year == kEveryYear) {
      FillPeriod(kEveryYear, entry, current);
      FillPeriod(kEveryYear, entry, next);
    } else if (entry.year != 0 && entry.year == years.currentYear) {
      FillPeriod(entry.year, entry, current);
    } else if (entry.year != 0 && entry.year == years.nextYear) {
      FillPeriod(entry.year, entry, next);
    }
  }
  PutGrid(current, layout::kPeriodGridCurrent, image);
  PutGrid(next, layout::kPeriodGridNext, image);
}

void PackSummerTime(const ScheduleModel& model, SettingsImage& image) {
  const SummerTimeRule& rule = model.summerTime;
  uint8_t* bytes = image.data() + layout::kSummerTime;
  bytes[0] = static_cast<uint8_t>(rule.startMonth & 0x0F);
  if (model.summerTimeEnabled != 0) bytes[0] |= kSummerFlag;
  bytes[1] = static_cast<uint8_t>((rule.startWeekday & 0x07) | ((rule.startWeek & 0x0F) << 4));
  bytes[2] = rule.startHour;
  bytes[3] = rule.endMonth;
  bytes[4] = static_cast<uint8_t>((rule.endWeekday & 0x07) | ((rule.endWeek & 0x0F) << 4));
  bytes[5] = rule.endHour;
}

void TakeCurrentStation(ScheduleModel& model, const RadioStation& station) {
  // The remembered station comes from the user's profile; a value that does not fit the image's
  // 16-bit field counts as no station at all.
  const bool fits = station.frequency > 0 && station.frequency <= 0xFFFF;
  const RadioStation& taken = fits ? station : RadioStation{};
  model.radioFrequency = static_cast<uint16_t>(taken.frequency);
  model.radioStation.fill(0);
  std::memcpy(model.radioStation.data(), taken.name.data(),
              ShiftJisPrefixLength(taken.name, kStationBytes));
}

}  // namespace

void PackResolvedImage(ScheduleModel& model, RadioStation& currentStation,
                       const ImageContext& context, const SpecialDayGrids& specialDays,
                       SettingsImage& image) {
  InitImage(image);
  PackHeader(model, image);
  PackChannels(model, image);
  WriteU16(image, layout::kStepCountWord, PackSteps(model, image));

  const YearPair& years = context.years;
  PackPeriods(model, years, image);
  PutGrid(specialDays[0], layout::kSpecialGridCurrent, image);
  PutGrid(specialDays[1], layout::kSpecialGridNext, image);

  PackSummerTime(model, image);

  if (model.radioFrequency == 0) TakeCurrentStation(model, currentStation);
  if (context.radioMode) {
    WriteU16(image, layout::kRadioFrequency, model.radioFrequency);
    std::memcpy(image.data() + layout::kRadioStation, model.radioStation.data(),
                layout::kRadioStationSize);
  }
  currentStation.frequency = model.radioFrequency;
  currentStation.name.assign(model.radioStation.data(),
                             strnlen(model.radioStation.data(), model.radioStation.size()));
}

}  // namespace tavrin
