// The rules that the weekly confirmation forms, the program-name list and the CSV report share:
// which steps belong to a program on a channel, where a chime sits in the hour table, when a keep
// OFF takes effect, how a program is titled and where the annual program uses it. Each output
// renders these its own way; none of them decides them again.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/IniSettings.h"
#include "model/ScheduleModel.h"

namespace tavrin {

inline constexpr int kDays = 7;
inline constexpr int kHours = 24;

// A step in use of a program 1..99 on a configured channel 1..8.
bool InGroup(const ScheduleModel& model, const WeeklyStep& step);

// Slots of the steps in use of every program 1..99 on every configured channel, in slot order.
class StepGroups {
 public:
  explicit StepGroups(const ScheduleModel& model);
  // Empty for a program or channel outside the ranges.
  const std::vector<int>& Of(int program, int channel) const;
  bool AnyOf(int program) const;

 private:
  std::array<std::vector<int>, kProgramCount * kChannelCount> groups_;
  std::vector<int> none_;
};

// The chime positions (ChimePosition, 0 for none) that fall into each day and hour, in slot order;
// steps past hour 23 fall into none.
using ChimeBuckets = std::array<std::array<std::vector<int>, kHours>, kDays>;
ChimeBuckets BucketChimes(const ScheduleModel& model, const IniSettings& settings,
                          const std::vector<int>& slots);

// A keep OFF on the hour switches off at the end of the hour before. At midnight the CSV counts it
// for the last hour of the same day, the keep form leaves it at 0:00.
enum class MidnightOff { StaysAtZero, LastHourOfDay };
struct ClockTime {
  int hour;
  int minute;
  bool operator==(const ClockTime&) const = default;
  auto operator<=>(const ClockTime&) const = default;
};
ClockTime KeepOffTime(int hour, int minute, MidnightOff midnight);

// The name of a program as every list shows it: at most 16 bytes, Shift-JIS, never cut inside a
// character; empty for a program outside 1..99.
std::string ProgramNameText(const ProgramNameTable& names, int program);
// A program as the editors offer and show it: "5", or "5 朝の日課" when it has a name (UTF-8). A
// cell holding it reads back as its number, the name being only for the eye.
std::string ProgramChoice(const ProgramNameTable& names, int program);

// How many steps a program has and where the annual program uses it.
struct ProgramUsage {
  int steps = 0;
  bool basic = false;
  bool period = false;
  bool holiday = false;  // only while the holiday setting is enabled
  bool individual = false;
};
// Entry p for program p (entry 0 unused). Program numbers 0 and above 99 count nowhere.
std::array<ProgramUsage, kProgramCount> CountUsage(const ScheduleModel& model);
// "基本", "期間", "祭日", "個別" in this order, for those that apply (UTF-8).
std::vector<std::string> UsageWords(const ProgramUsage& usage);

}  // namespace tavrin
