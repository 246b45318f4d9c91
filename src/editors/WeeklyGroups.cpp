#include "editors/WeeklyGroups.h"

#include "model/ShiftJis.h"

namespace tavrin {

bool InGroup(const ScheduleModel& model, const WeeklyStep& step) {
  return step.used() && step.program <= kMaxProgram &&
         IsChannelInUse(ChannelKindOf(model, step.channel));
}

StepGroups::StepGroups(const ScheduleModel& model) {
  for (int i = 0; i < kStepCount; ++i) {
    const WeeklyStep& step = model.steps[static_cast<std::size_t>(i)];
    if (!InGroup(model, step)) continue;
    groups_[static_cast<std::size_t>(step.program * kChannelCount + step.channel - 1)].push_back(i);
  }
}

const std::vector<int>& StepGroups::Of(int program, int channel) const {
  if (program < 1 || program > kMaxProgram || channel < 1 || channel > kChannelCount) return none_;
  return groups_[static_cast<std::size_t>(program * kChannelCount + channel - 1)];
}

bool StepGroups::AnyOf(int program) const {
  for (int channel = 1; channel <= kChannelCount; ++channel)
    if (!Of(program, channel).empty()) return true;
  return false;
}

ChimeBuckets BucketChimes(const ScheduleModel& model, const IniSettings& settings,
                          const std::vector<int>& slots) {
  ChimeBuckets buckets;
  for (int slot : slots) {
    const WeeklyStep& step = model.steps[static_cast<std::size_t>(slot)];
    if (step.hour >= kHours) continue;
    const int position = ChimePosition(settings, step.action);
    for (int day = 0; day < kDays; ++day)
      if (step.days[static_cast<std::size_t>(day)]) buckets[day][step.hour].push_back(position);
  }
  return buckets;
}

ClockTime KeepOffTime(int hour, int minute, MidnightOff midnight) {
  if (minute != 0) return {hour, minute};
  if (hour > 0) return {hour - 1, 59};
  return midnight == MidnightOff::LastHourOfDay ? ClockTime{23, 59} : ClockTime{0, 0};
}

std::string ProgramNameText(const ProgramNameTable& names, int program) {
  if (program < 1 || program > kMaxProgram) return {};
  const auto& field = names.names[static_cast<std::size_t>(program)];
  return CutShiftJis(FieldText(field.data(), field.size()), kNameBytes);
}

std::string ProgramChoice(const ProgramNameTable& names, int program) {
  std::string choice = std::to_string(program);
  const std::string name = FromShiftJis(ProgramNameText(names, program));
  if (!name.empty()) choice += " " + name;
  return choice;
}

std::array<ProgramUsage, kProgramCount> CountUsage(const ScheduleModel& model) {
  std::array<ProgramUsage, kProgramCount> usage{};
  auto valid = [](int program) { return program >= 1 && program <= kMaxProgram; };
  for (const WeeklyStep& step : model.steps)
    if (step.used() && valid(step.program)) ++usage[step.program].steps;
  for (const PeriodEntry& entry : model.periods)
    if (entry.year != 0 && valid(entry.program)) usage[entry.program].period = true;
  for (const DateEntry& entry : model.dates)
    if (entry.year != 0 && valid(entry.program)) usage[entry.program].individual = true;
  if (valid(model.basicProgram)) usage[static_cast<std::size_t>(model.basicProgram)].basic = true;
  if (model.holidayEnabled != 0 && valid(model.holidayProgram))
    usage[static_cast<std::size_t>(model.holidayProgram)].holiday = true;
  return usage;
}

std::vector<std::string> UsageWords(const ProgramUsage& usage) {
  std::vector<std::string> words;
  if (usage.basic) words.emplace_back("基本");
  if (usage.period) words.emplace_back("期間");
  if (usage.holiday) words.emplace_back("祭日");
  if (usage.individual) words.emplace_back("個別");
  return words;
}

}  // namespace tavrin
