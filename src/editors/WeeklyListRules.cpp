#include "editors/WeeklyListRules.h"

#include <cstring>

#include "editors/WeeklyGroups.h"

namespace tavrin::weekly {

void DropStepsOfUnusedChannels(ScheduleModel& model) {
  for (WeeklyStep& step : model.steps) {
    if (!step.used() || step.channel > kChannelCount) continue;
    if (ChannelKindOf(model, step.channel) == kChannelUnused) std::memset(&step, 0, sizeof step);
  }
}

ListMarks Marks(const ScheduleModel& model) {
  ListMarks marks{};
  for (const WeeklyStep& step : model.steps) {
    if (!step.used() || step.program > kMaxProgram || step.channel > kChannelCount) continue;
    if (ChannelKindOf(model, step.channel) != kChannelUnused)
      marks[step.program][static_cast<std::size_t>(step.channel - 1)] = true;
  }
  return marks;
}

CellPos FirstEmptyCell(const ListMarks& marks) {
  for (int channel = 0; channel < kChannelCount; ++channel)
    for (int program = 1; program <= kMaxProgram; ++program)
      if (!marks[program][static_cast<std::size_t>(channel)]) return {program - 1, channel};
  return {0, 0};
}

int FreeSlots(const ScheduleModel& model) {
  int free = 0;
  for (const WeeklyStep& step : model.steps) free += step.used() ? 0 : 1;
  return free;
}

int OwnSteps(const ScheduleModel& model, int program, int channel, int kind) {
  if (ChannelKindOf(model, channel) != kind) return 0;
  int own = 0;
  for (const WeeklyStep& step : model.steps)
    own += step.used() && step.program == program && step.channel == channel ? 1 : 0;
  return own;
}

int StepRows(const ScheduleModel& model, int program, int channel, int kind) {
  return FreeSlots(model) + OwnSteps(model, program, channel, kind);
}

}  // namespace tavrin::weekly
