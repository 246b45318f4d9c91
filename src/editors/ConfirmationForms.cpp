#include "editors/ConfirmationForms.h"

#include <algorithm>
#include <set>

#include "model/ScheduleTexts.h"
#include "model/ShiftJis.h"

namespace tavrin::forms {
namespace {

// The smallest hour among the steps of the program on the channel that can be drawn; 23 when
// there is none.
int SmallestHour(const ScheduleModel& model, const std::vector<int>& slots, bool needsDay) {
  int smallest = kHours - 1;
  for (int slot : slots) {
    const WeeklyStep& step = model.steps[static_cast<std::size_t>(slot)];
    const bool anyDay =
        std::any_of(step.days.begin(), step.days.end(), [](uint8_t day) { return day != 0; });
    if ((!needsDay || anyDay) && step.hour < smallest) smallest = step.hour;
  }
  return smallest;
}

KeepShape OnShape(const ClockTime& on) {
  return on.minute < 30 ? KeepShape::OnEarly : KeepShape::OnLate;
}

}  // namespace

Title TitleOf(const ProgramNameTable& names, int program, int channel, int kind) {
  return {std::to_string(program), FromShiftJis(ProgramNameText(names, program)),
          std::to_string(channel), kind == kChannelKeep ? texts::kKeep : texts::kTimeSignal};
}

TimeSignalView TimeSignal(const ScheduleModel& model, const IniSettings& settings, int program,
                          int channel) {
  const StepGroups groups(model);
  const std::vector<int>& slots = groups.Of(program, channel);
  const ChimeBuckets buckets = BucketChimes(model, settings, slots);
  TimeSignalView view;
  for (int day = 0; day < kDays; ++day)
    for (int hour = 0; hour < kHours; ++hour) {
      const std::set<int> positions(buckets[day][hour].begin(), buckets[day][hour].end());
      std::string& text = view.cells[day][hour];
      for (int position : positions) {
        if (!text.empty()) text += ',';
        text += std::to_string(position);
      }
    }
  view.leftCol = std::min(SmallestHour(model, slots, true) + 1, kLastScrollCol);
  return view;
}

std::array<std::string, 11> Legend(const IniSettings& settings) {
  std::array<std::string, 11> labels;
  for (int position = 0; position <= settings.chimeCount && position <= kMaxChimes; ++position)
    labels[static_cast<std::size_t>(position)] = texts::ChimeItem(settings, position);
  return labels;
}

std::array<std::vector<KeepPair>, kDays> KeepPairs(const ScheduleModel& model, int program,
                                                   int channel) {
  const StepGroups groups(model);
  std::array<std::vector<KeepPair>, kDays> days;
  for (int slot : groups.Of(program, channel)) {
    const WeeklyStep& step = model.steps[static_cast<std::size_t>(slot)];
    if (step.hour >= kHours || (step.action != kKeepOn && step.action != kKeepOff)) continue;
    for (int day = 0; day < kDays; ++day) {
      std::vector<KeepPair>& pairs = days[day];
      if (!step.days[static_cast<std::size_t>(day)]) continue;
      // The counter n is the number of closed pairs; pair n is the open one.
      const bool open = !pairs.empty() && !pairs.back().off;
      if (!open && pairs.size() == kMaxPairs) continue;
      if (!open) pairs.emplace_back();
      if (step.action == kKeepOn) {
        if (!pairs.back().on) pairs.back().on = ClockTime{step.hour, step.minute};
      } else {
        pairs.back().off = KeepOffTime(step.hour, step.minute, MidnightOff::StaysAtZero);
      }
    }
  }
  return days;
}

KeepView Keep(const ScheduleModel& model, int program, int channel) {
  KeepView view;
  const std::array<std::vector<KeepPair>, kDays> days = KeepPairs(model, program, channel);
  for (int day = 0; day < kDays; ++day) {
    auto& cells = view.cells[day];
    for (std::size_t index = 0; index < days[day].size(); ++index) {
      const KeepPair& pair = days[day][index];
      const bool odd = index % 2 == 1;
      auto put = [&](int hour, KeepShape shape) { cells[hour] = KeepCell{shape, odd}; };
      if (pair.on && pair.off && *pair.off < *pair.on) {
        // Switched off before it was switched on (ON h:00, OFF h:00 read as (h-1):59): only the ON
        // is real.
        put(pair.on->hour, OnShape(*pair.on));
      } else if (pair.on && pair.off) {
        if (pair.on->hour == pair.off->hour) {
          put(pair.on->hour, KeepShape::OnAndOff);
          continue;
        }
        put(pair.on->hour, OnShape(*pair.on));
        for (int hour = pair.on->hour + 1; hour < pair.off->hour; ++hour)
          put(hour, KeepShape::Between);
        put(pair.off->hour, pair.off->minute <= 30 ? KeepShape::OffEarly : KeepShape::OffLate);
      } else if (pair.on) {
        put(pair.on->hour, OnShape(*pair.on));
        for (int hour = pair.on->hour + 1; hour < kHours; ++hour) put(hour, KeepShape::Between);
      } else if (pair.off) {
        put(pair.off->hour,
            pair.off->minute <= 30 ? KeepShape::OffAloneEarly : KeepShape::OffAloneLate);
      }
    }
  }
  const StepGroups groups(model);
  view.leftCol = std::min(SmallestHour(model, groups.Of(program, channel), false), kLastScrollCol);
  return view;
}

}  // namespace tavrin::forms
