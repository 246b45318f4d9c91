#include "review/Agenda.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <tuple>

#include "model/Dates.h"
#include "model/ImageBytes.h"
#include "model/TimerLimits.h"

namespace tavrin {
namespace {

constexpr std::array<std::size_t, 2> kPeriodGrids = {layout::kPeriodGridCurrent,
                                                     layout::kPeriodGridNext};
constexpr std::array<std::size_t, 2> kSpecialGrids = {layout::kSpecialGridCurrent,
                                                      layout::kSpecialGridNext};
constexpr std::array<std::size_t, 4> kAllGrids = {kPeriodGrids[0], kPeriodGrids[1],
                                                  kSpecialGrids[0], kSpecialGrids[1]};

int GridYear(const SettingsImage& image, std::size_t grid) { return kFirstYear + image[grid]; }

// The timer picks a grid by its year byte, not by its place; the first match wins.
uint8_t GridProgram(const SettingsImage& image, const std::array<std::size_t, 2>& grids,
                    const CalendarDate& date) {
  for (std::size_t grid : grids) {
    if (GridYear(image, grid) == date.year) {
      return image[grid + layout::GridSlot(date.month, date.day)];
    }
  }
  return 0;
}

std::string YearList(const std::vector<int>& years) {
  std::string text;
  for (int year : years) {
    if (!text.empty()) text += "、";
    text += std::to_string(year) + " 年";
  }
  return text.empty() ? "なし" : text;
}

bool Carried(const std::vector<int>& years, int year) {
  return std::find(years.begin(), years.end(), year) != years.end();
}

Failure OutsideYears(const CalendarDate& date, const std::vector<int>& years) {
  return Fail(IsoDate(date) + " は設定ファイルの対象年（" + YearList(years) + "）の範囲外です。");
}

Failure NoSuchDate(const CalendarDate& date) {
  return Fail(IsoDate(date) + " は存在しない日付です。");
}

// The step records of each program byte, in record order, so that a day looks only at its own.
using StepIndex = std::array<std::vector<uint16_t>, 256>;

StepIndex IndexSteps(const SettingsImage& image) {
  StepIndex index;
  for (std::size_t i = 0; i < layout::kStepRecords; ++i) {
    const uint8_t program = image[layout::kStepBlock + i * layout::kStepRecordSize];
    if (program != 0) index[program].push_back(static_cast<uint16_t>(i));
  }
  return index;
}

std::vector<AgendaEvent> EventsOf(const SettingsImage& image, const StepIndex& index, int program,
                                  int weekday) {
  std::vector<AgendaEvent> events;
  if (program == 0) return events;
  for (uint16_t i : index[program]) {
    const uint8_t* record = image.data() + layout::kStepBlock + i * layout::kStepRecordSize;
    if (!((record[1] >> weekday) & 1)) continue;
    const int hour = record[2];
    const int minute = record[3];
    const int channel = record[4] >> 4;
    const int code = record[4] & 0x0F;
    if (!limits::kHour.Holds(hour) || !limits::kMinute.Holds(minute) ||
        !limits::kChannel.Holds(channel)) {
      continue;
    }
    AgendaEvent event{hour, minute, channel, AgendaAction::Chime, 0};
    switch (ImageChannelKind(image, channel)) {
      case kChannelUnused:
        continue;
      case kChannelTimeSignal:
        event.chime = code;
        break;
      case kChannelKeep:
        // Only the ON and OFF codes switch a keep channel; any other does nothing.
        if (code == image_codes::kActionOn) {
          event.action = AgendaAction::KeepOn;
        } else if (code == image_codes::kActionOff) {
          event.action = AgendaAction::KeepOff;
        } else {
          continue;
        }
        break;
    }
    events.push_back(event);
  }
  std::stable_sort(events.begin(), events.end(), [](const AgendaEvent& a, const AgendaEvent& b) {
    return std::tie(a.hour, a.minute, a.channel) < std::tie(b.hour, b.minute, b.channel);
  });
  return events;
}

AgendaDay DayOf(const SettingsImage& image, const StepIndex& index, const CalendarDate& date) {
  AgendaDay day;
  day.date = date;
  day.weekday = Weekday(date.year, date.month, date.day);
  if (uint8_t special = GridProgram(image, kSpecialGrids, date)) {
    day.program = special;
    day.source = AgendaSource::Special;
  } else if (uint8_t period = GridProgram(image, kPeriodGrids, date)) {
    day.program = period;
    day.source = AgendaSource::Period;
  } else {
    day.program = image[layout::kBasicProgram];
    day.source = AgendaSource::Basic;
  }
  day.events = EventsOf(image, index, day.program, day.weekday);
  return day;
}

}  // namespace

bool IsTimerDate(const CalendarDate& date) {
  return date.year >= kFirstYear && date.year <= kLastCountedYear && date.day >= 1 &&
         date.day <= MonthLength(date.year, date.month);
}

CalendarDate NextDay(const CalendarDate& date) {
  if (date.day < MonthLength(date.year, date.month)) return {date.year, date.month, date.day + 1};
  if (date.month < 12) return {date.year, date.month + 1, 1};
  return {date.year + 1, 1, 1};
}

std::string IsoDate(const CalendarDate& date) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  return text;
}

const char* AgendaSourceName(AgendaSource source) {
  switch (source) {
    case AgendaSource::Special:
      return "special";
    case AgendaSource::Period:
      return "period";
    case AgendaSource::Basic:
      return "basic";
  }
  return "basic";
}

std::vector<int> ImageYears(const SettingsImage& image) {
  std::vector<int> years;
  for (std::size_t grid : kAllGrids) {
    const int year = GridYear(image, grid);
    if (year <= kLastCountedYear && !Carried(years, year)) years.push_back(year);
  }
  std::sort(years.begin(), years.end());
  return years;
}

Result<AgendaDay> AgendaOn(const SettingsImage& image, const CalendarDate& date) {
  if (!IsTimerDate(date)) return NoSuchDate(date);
  const std::vector<int> years = ImageYears(image);
  if (!Carried(years, date.year)) return OutsideYears(date, years);
  return DayOf(image, IndexSteps(image), date);
}

Result<std::vector<AgendaDay>> AgendaBetween(const SettingsImage& image, const CalendarDate& from,
                                             const CalendarDate& to) {
  if (!IsTimerDate(from)) return NoSuchDate(from);
  if (!IsTimerDate(to)) return NoSuchDate(to);
  if (to < from) {
    return Fail("開始日 " + IsoDate(from) + " が終了日 " + IsoDate(to) + " より後です。");
  }
  const std::vector<int> years = ImageYears(image);
  for (int year = from.year; year <= to.year; ++year) {
    if (!Carried(years, year)) {
      const CalendarDate named = year == from.year ? from
                                 : year == to.year ? to
                                                   : CalendarDate{year, 1, 1};
      return OutsideYears(named, years);
    }
  }
  const StepIndex index = IndexSteps(image);
  std::vector<AgendaDay> days;
  for (CalendarDate date = from; date <= to; date = NextDay(date)) {
    days.push_back(DayOf(image, index, date));
  }
  return days;
}

}  // namespace tavrin
