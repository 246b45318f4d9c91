// The editable schedule: fixed tables of plain records that the editors change in place.
// Texts are kept as the timer's raw Shift-JIS bytes; conversion to Unicode happens only at the
// user-interface and file boundaries (see ShiftJis.h).
#pragma once

#include <array>
#include <cstdint>
#include <type_traits>

namespace tavrin {

inline constexpr int kChannelCount = 8;
inline constexpr int kStepCount = 1000;
inline constexpr int kPeriodCount = 200;
inline constexpr int kDateCount = 200;
inline constexpr int kProgramCount = 100;  // names 0..99, entry 0 never used
inline constexpr int kNameBytes = 16;
inline constexpr int kStationBytes = 14;
inline constexpr int kMaxProgram = 99;
// A day on program 99 runs nothing on purpose: 99 need not have steps, and no check asks for them.
inline constexpr int kIdleProgram = 99;
inline constexpr int16_t kEveryYear = 9999;  // "毎年"

inline constexpr char kIdText[] = "KORVA VL3 V01.00";  // 16 bytes, no terminator in the image
inline constexpr char kModelTag[] = "VL3X";            // 4 bytes

enum ChannelKind : uint8_t { kChannelUnused = 0, kChannelTimeSignal = 1, kChannelKeep = 2 };
enum KeepAction : uint8_t { kKeepNone = 0, kKeepOn = 1, kKeepOff = 2 };

struct ChannelSetting {
  uint8_t kind;  // ChannelKind
  uint8_t signalMinutes;
  uint8_t signalSeconds;
  uint8_t riseTime;  // 0 none, 1 = -3 s, 2 = -10 s, 3 = -30 s

  bool operator==(const ChannelSetting&) const = default;
};

struct WeeklyStep {
  uint8_t program;              // 1..99, 0 = empty
  uint8_t channel;              // 1..8, 0 = empty
  std::array<uint8_t, 7> days;  // index 0 = Sunday
  uint8_t hour;
  uint8_t minute;
  uint8_t action;  // keep: KeepAction; time signal: chime code

  bool used() const { return program != 0 && channel != 0; }
  bool operator==(const WeeklyStep&) const = default;
};

struct PeriodEntry {
  int16_t year;  // calendar year, kEveryYear, 0 = empty
  uint8_t startMonth;
  uint8_t startDay;
  uint8_t endMonth;
  uint8_t endDay;
  uint8_t program;

  bool operator==(const PeriodEntry&) const = default;
};

struct DateEntry {
  int16_t year;  // calendar year, kEveryYear, 0 = empty
  uint8_t month;
  uint8_t day;
  uint8_t program;

  bool operator==(const DateEntry&) const = default;
};

struct SummerTimeRule {
  uint8_t startMonth;    // 1..12, 0 = no rule
  uint8_t startWeek;     // 1..4, 5 = last
  uint8_t startWeekday;  // 1..7 = Sunday..Saturday
  uint8_t startHour;
  uint8_t endMonth;
  uint8_t endWeek;
  uint8_t endWeekday;
  uint8_t endHour;

  bool operator==(const SummerTimeRule&) const = default;
};

struct ScheduleModel {
  std::array<char, 16> idText;
  std::array<char, 4> modelTag;
  int16_t holidayProgram;
  int32_t holidayEnabled;
  int32_t summerTimeEnabled;
  int16_t basicProgram;
  int16_t leapStartProgram;
  int16_t leapEndProgram;
  std::array<ChannelSetting, kChannelCount> channels;  // channel n at index n-1
  int32_t stepCount;
  std::array<WeeklyStep, kStepCount> steps;
  std::array<PeriodEntry, kPeriodCount> periods;
  std::array<DateEntry, kDateCount> dates;
  SummerTimeRule summerTime;
  uint16_t radioFrequency;                       // 0.1 MHz units, 0 = not chosen
  std::array<char, kStationBytes> radioStation;  // Shift-JIS, NUL-padded

  bool operator==(const ScheduleModel&) const = default;
};

// 100 names of 16 Shift-JIS bytes; entry i names weekly program i.
struct ProgramNameTable {
  std::array<std::array<char, kNameBytes>, kProgramCount> names;
  bool operator==(const ProgramNameTable&) const = default;
};

static_assert(std::is_trivially_copyable_v<ScheduleModel>);
static_assert(sizeof(ProgramNameTable) == 1600);

// Zeroes everything and writes the two identification texts.
void ClearModel(ScheduleModel& model);
// True when a used step carries `program`.
bool IsRegistered(const ScheduleModel& model, int program);
// The kind of channel `channel`. Steps can name any channel number, but only 1..8 exist; any
// other is not in use.
int ChannelKindOf(const ScheduleModel& model, int channel);
// A time-signal or keep channel, as opposed to one not in use or of no known kind.
bool IsChannelInUse(int kind);

}  // namespace tavrin
