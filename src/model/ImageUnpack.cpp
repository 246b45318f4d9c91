// Image to model. Periods and dates only exist in the image as day grids of two years, so they
// are rebuilt from runs of equal days.
#include <algorithm>
#include <cstring>

#include "model/ImageBytes.h"
#include "model/ImagePacking.h"

namespace tavrin {

namespace {

using namespace image_codes;

constexpr int kSlotsPerMonth = 31;
constexpr int kDaySlots = 12 * kSlotsPerMonth;
constexpr int kMaxRuns = 200;

using DaySlots = std::array<uint8_t, kDaySlots>;

struct Run {
  int16_t first;
  int16_t last;
  uint8_t program;
  bool taken;
};

struct RunList {
  std::array<Run, kMaxRuns> runs;
  int count = 0;
};

// One of the two year places of the image: the slots of its grid and the year they belong to.
struct GridPlace {
  int year;
  DaySlots slots;
};

GridPlace ReadGrid(const SettingsImage& image, std::size_t offset) {
  GridPlace place;
  place.year = 2000 + image[offset];
  std::memcpy(place.slots.data(), image.data() + offset + 1, kDaySlots);
  return place;
}

int SlotMonth(int slot) { return slot / kSlotsPerMonth + 1; }
int SlotDay(int slot) { return slot % kSlotsPerMonth + 1; }

// The days a month lacks repeat its last day: a period that runs to the end of a short month
// then stays one run with the month after it.
void ContinueMissingDays(GridPlace& place) {
  for (int month = 1; month <= 12; ++month) {
    const int length = MonthLength(place.year, month);
    const std::size_t base = static_cast<std::size_t>(month - 1) * kSlotsPerMonth;
    for (int day = length + 1; day <= kSlotsPerMonth; ++day) {
      place.slots[base + day - 1] = place.slots[base + length - 1];
    }
  }
}

RunList CutRuns(const DaySlots& slots) {
  RunList list;
  int slot = 0;
  while (slot < kDaySlots && list.count < kMaxRuns) {
    const uint8_t program = slots[slot];
    int last = slot;
    while (last + 1 < kDaySlots && slots[last + 1] == program) ++last;
    if (program != 0) {
      list.runs[list.count++] = {static_cast<int16_t>(slot), static_cast<int16_t>(last), program,
                                 false};
    }
    slot = last + 1;
  }
  return list;
}

PeriodEntry RunToPeriod(const Run& run, int lengthYear, int entryYear) {
  const int startMonth = SlotMonth(run.first);
  const int endMonth = SlotMonth(run.last);
  PeriodEntry entry{};
  entry.year = static_cast<int16_t>(entryYear);
  entry.startMonth = static_cast<uint8_t>(startMonth);
  entry.startDay =
      static_cast<uint8_t>(std::min(SlotDay(run.first), MonthLength(lengthYear, startMonth)));
  entry.endMonth = static_cast<uint8_t>(endMonth);
  entry.endDay =
      static_cast<uint8_t>(std::min(SlotDay(run.last), MonthLength(lengthYear, endMonth)));
  entry.program = run.program;
  return entry;
}

// The image keeps no years of its own beyond the grid bytes: a file from an earlier year has its
// next year become the current one, and anything older is of no use.
template <typename Place>
void CheckYears(Place& current, Place& next, const YearPair& years) {
  if (current.year < years.currentYear) {
    if (next.year >= years.currentYear) {
      current = next;
      next = Place{};
      next.year = current.year + 1;
    } else {
      current = Place{};
      next = Place{};
      current.year = years.currentYear;
      next.year = years.nextYear;
    }
  }
  // Only a damaged image has a next year before the current one; its days would become
  // settings of a past year that no editor accepts.
  if (next.year < years.currentYear) {
    next = Place{};
    next.year = current.year + 1;
  }
}

struct RunPlace {
  int year;
  RunList list;
};

class PeriodWriter {
 public:
  explicit PeriodWriter(ScheduleModel& model) : model_(model) {}
  void Add(const PeriodEntry& entry) {
    if (count_ < kPeriodCount) model_.periods[count_++] = entry;
  }

 private:
  ScheduleModel& model_;
  int count_ = 0;
};

void UnpackPeriods(const SettingsImage& image, const YearPair& years, ScheduleModel& model) {
  GridPlace currentGrid = ReadGrid(image, layout::kPeriodGridCurrent);
  GridPlace nextGrid = ReadGrid(image, layout::kPeriodGridNext);
  ContinueMissingDays(currentGrid);
  ContinueMissingDays(nextGrid);
  RunPlace current{currentGrid.year, CutRuns(currentGrid.slots)};
  RunPlace next{nextGrid.year, CutRuns(nextGrid.slots)};

  // Runs are disjoint, so a run of the next year can only match the one that starts where it does.
  std::array<int16_t, kDaySlots> nextByFirst;
  nextByFirst.fill(-1);
  for (int i = 0; i < next.list.count; ++i) {
    nextByFirst[next.list.runs[i].first] = static_cast<int16_t>(i);
  }

  // Two common years carry no 29 February, so the remembered leap-day programs have to guess
  // where it goes. When one of the years is a leap year its grid holds the real 29 February, and a
  // run that both grids share and that reaches the end of February covers it there; guessing
  // would then move that day to another program.
  const bool leapYearSeen = MonthLength(current.year, 2) == 29 || MonthLength(next.year, 2) == 29;
  const int lengthYear = leapYearSeen ? kEveryYear : current.year;

  PeriodWriter writer(model);
  bool leapReplaced = false;
  for (int i = 0; i < current.list.count; ++i) {
    Run& run = current.list.runs[i];
    const int match = nextByFirst[run.first];
    if (match < 0) continue;
    Run& other = next.list.runs[match];
    if (other.last != run.last || other.program != run.program) continue;
    run.taken = other.taken = true;
    PeriodEntry entry = RunToPeriod(run, lengthYear, kEveryYear);
    if (!leapYearSeen && entry.program == model.leapStartProgram && entry.startMonth == 3 &&
        entry.startDay == 1) {
      entry.startMonth = 2;
      entry.startDay = 29;
      leapReplaced = true;
    }
    if (!leapYearSeen && entry.program == model.leapEndProgram && entry.endMonth == 2 &&
        entry.endDay == 28) {
      entry.endDay = 29;
      leapReplaced = true;
    }
    writer.Add(entry);
  }
  if (!leapYearSeen && model.leapStartProgram == model.leapEndProgram &&
      model.leapStartProgram > 0 && !leapReplaced) {
    writer.Add({kEveryYear, 2, 29, 2, 29, static_cast<uint8_t>(model.leapStartProgram)});
  }

  CheckYears(current, next, years);
  for (const RunPlace* place : {&current, &next}) {
    for (int i = 0; i < place->list.count; ++i) {
      const Run& run = place->list.runs[i];
      if (!run.taken) writer.Add(RunToPeriod(run, place->year, place->year));
    }
  }
}

// Holidays of one year by day slot, as the calendar flags them.
DaySlots HolidaySlots(const HolidayTable& holidays, int year) {
  DaySlots flags{};
  const HolidayTable::YearDays* listed = holidays.DaysOf(year);
  if (listed == nullptr) return flags;
  for (int month = 1; month <= 12; ++month) {
    for (uint8_t day : (*listed)[month - 1]) {
      if (day != 0 && day <= MonthLength(year, month)) {
        flags[static_cast<std::size_t>(month - 1) * kSlotsPerMonth + day - 1] = 1;
      }
    }
  }
  return flags;
}

class DateWriter {
 public:
  explicit DateWriter(ScheduleModel& model) : model_(model) {}
  void Add(int year, int slot, uint8_t program) {
    if (count_ >= kDateCount) return;
    model_.dates[count_++] = {static_cast<int16_t>(year), static_cast<uint8_t>(SlotMonth(slot)),
                              static_cast<uint8_t>(SlotDay(slot)), program};
  }

 private:
  ScheduleModel& model_;
  int count_ = 0;
};

struct DatePlace {
  int year;
  DaySlots slots;
  DaySlots holidays;
};

void UnpackDates(const SettingsImage& image, const ImageContext& context, ScheduleModel& model) {
  DatePlace current{};
  DatePlace next{};
  for (auto [place, offset] : {std::pair{&current, layout::kSpecialGridCurrent},
                               std::pair{&next, layout::kSpecialGridNext}}) {
    const GridPlace grid = ReadGrid(image, offset);
    place->year = grid.year;
    place->slots = grid.slots;
    place->holidays = HolidaySlots(*context.holidays, grid.year);
    // A date the grid's year does not have cannot be a setting; packing never writes one.
    for (int slot = 0; slot < kDaySlots; ++slot) {
      if (SlotDay(slot) > MonthLength(grid.year, SlotMonth(slot))) place->slots[slot] = 0;
    }
  }
  const bool holidaysSet = model.holidayEnabled != 0;
  const auto isHolidayCell = [&](const DatePlace& place, int slot) {
    return holidaysSet && place.slots[slot] == model.holidayProgram && place.holidays[slot] != 0;
  };

  DateWriter writer(model);
  for (int slot = 0; slot < kDaySlots; ++slot) {
    const uint8_t program = current.slots[slot];
    if (program == 0 || next.slots[slot] != program) continue;
    if (isHolidayCell(current, slot)) continue;
    writer.Add(kEveryYear, slot, program);
    current.slots[slot] = next.slots[slot] = 0;
  }

  CheckYears(current, next, context.years);
  for (const DatePlace* place : {&current, &next}) {
    for (int slot = 0; slot < kDaySlots; ++slot) {
      if (place->slots[slot] != 0 && !isHolidayCell(*place, slot)) {
        writer.Add(place->year, slot, place->slots[slot]);
      }
    }
  }
}

void UnpackChannels(const SettingsImage& image, ScheduleModel& model) {
  for (int i = 0; i < kChannelCount; ++i) {
    const uint8_t* record = image.data() + layout::kChannelBlock + i * layout::kChannelRecordSize;
    ChannelSetting& channel = model.channels[i];
    channel.kind = ImageChannelKind(image, i + 1);
    if (channel.kind == kChannelTimeSignal) {
      channel.signalMinutes = record[0] & kMinutesMask;
      channel.signalSeconds = record[1];
      for (uint8_t rise = 1; rise <= 3; ++rise) {
        if (record[3] == kRiseSeconds[rise]) channel.riseTime = rise;
      }
    }
  }
}

void UnpackSteps(const SettingsImage& image, ScheduleModel& model) {
  int count = 0;
  for (std::size_t i = 0; i < layout::kStepRecords; ++i) {
    const uint8_t* record = image.data() + layout::kStepBlock + i * layout::kStepRecordSize;
    if (record[0] == 0) continue;
    WeeklyStep& step = model.steps[count++];
    step.program = record[0];
    for (int day = 0; day < 7; ++day) step.days[day] = (record[1] >> day) & 1;
    step.hour = record[2];
    step.minute = record[3];
    step.channel = record[4] >> 4;
    const uint8_t code = record[4] & 0x0F;
    if (ChannelKindOf(model, step.channel) == kChannelTimeSignal) {
      step.action = code;
    } else {
      step.action = code == kActionOn ? kKeepOn : code == kActionOff ? kKeepOff : kKeepNone;
    }
  }
  model.stepCount = count;
}

void UnpackSummerTime(const SettingsImage& image, ScheduleModel& model) {
  const uint8_t* bytes = image.data() + layout::kSummerTime;
  SummerTimeRule& rule = model.summerTime;
  model.summerTimeEnabled = (bytes[0] & kSummerFlag) ? 1 : 0;
  rule.startMonth = bytes[0] & 0x0F;
  rule.startWeekday = bytes[1] & 0x07;
  rule.startWeek = bytes[1] >> 4;
  rule.startHour = bytes[2];
  rule.endMonth = bytes[3];
  rule.endWeekday = bytes[4] & 0x07;
  rule.endWeek = bytes[4] >> 4;
  rule.endHour = bytes[5];
}

}  // namespace

void UnpackImage(const SettingsImage& image, const ImageContext& context, ScheduleModel& model) {
  ClearModel(model);
  std::memcpy(model.idText.data(), image.data() + layout::kIdText, layout::kIdTextSize);
  std::memcpy(model.modelTag.data(), image.data() + layout::kModelTag, layout::kModelTagSize);
  model.holidayEnabled = image[layout::kHolidayEnabled];
  model.holidayProgram = image[layout::kHolidayProgram];
  model.basicProgram = image[layout::kBasicProgram];
  model.leapStartProgram = image[layout::kLeapStartProgram];
  model.leapEndProgram = image[layout::kLeapEndProgram];

  UnpackChannels(image, model);
  UnpackSteps(image, model);
  UnpackPeriods(image, context.years, model);
  UnpackDates(image, context, model);
  UnpackSummerTime(image, model);
  model.radioFrequency = ReadU16(image, layout::kRadioFrequency);
  std::memcpy(model.radioStation.data(), image.data() + layout::kRadioStation,
              layout::kRadioStationSize);
}

}  // namespace tavrin
