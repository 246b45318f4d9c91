// The check's rules over weekly steps that the limits leave open: silent chimes, steps repeated
// at one time, keep channels left on.
#include <algorithm>
#include <functional>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "model/ScheduleTexts.h"
#include "model/TimerLimits.h"
#include "review/CheckFindings.h"

namespace tavrin::check {
namespace {

std::array<bool, 7> SharedDays(const WeeklyStep& a, const WeeklyStep& b) {
  std::array<bool, 7> shared{};
  for (int day = 0; day < 7; ++day) shared[day] = a.days[day] != 0 && b.days[day] != 0;
  return shared;
}

bool AnyDay(const std::array<bool, 7>& days) { return std::ranges::any_of(days, std::identity{}); }

void CheckDuplicates(Findings& findings) {
  const auto& steps = findings.model().steps;
  // The used slots of each program, channel and time, in slot order.
  std::map<std::tuple<int, int, int, int>, std::vector<int>> sameTime;
  for (int slot = 0; slot < kStepCount; ++slot) {
    const WeeklyStep& step = steps[slot];
    if (step.used()) sameTime[{step.program, step.channel, step.hour, step.minute}].push_back(slot);
  }
  std::vector<std::pair<int, int>> pairs;  // a later slot and the first earlier one it repeats
  for (const auto& [time, slots] : sameTime) {
    for (std::size_t later = 1; later < slots.size(); ++later) {
      for (std::size_t earlier = 0; earlier < later; ++earlier) {
        if (AnyDay(SharedDays(steps[slots[earlier]], steps[slots[later]]))) {
          pairs.push_back({slots[later], slots[earlier]});
          break;
        }
      }
    }
  }
  std::sort(pairs.begin(), pairs.end());
  for (auto [later, earlier] : pairs) {
    findings.Add(CheckRule::DuplicateStep, {PlaceKind::Step, later},
                 findings.Step(later) + "は、ステップ " +
                     std::to_string(findings.StepRow(earlier)) + " と同じ曜日（" +
                     DayNames(SharedDays(steps[earlier], steps[later])) + "）の同じ時刻です。");
  }
}

// A keep channel stays as its last action of the day left it, overnight and into the next day.
void CheckKeepLeftOn(Findings& findings) {
  const ScheduleModel& model = findings.model();
  // By program and channel: the slot of the last switching step of each weekday, -1 for none.
  std::map<std::pair<int, int>, std::array<int, 7>> lastOfDay;
  for (int slot = 0; slot < kStepCount; ++slot) {
    const WeeklyStep& step = model.steps[slot];
    if (!step.used() || ChannelKindOf(model, step.channel) != kChannelKeep) continue;
    if (step.action != kKeepOn && step.action != kKeepOff) continue;
    if (!limits::kHour.Holds(step.hour) || !limits::kMinute.Holds(step.minute)) continue;
    auto [entry, added] = lastOfDay.try_emplace({step.program, step.channel});
    if (added) entry->second.fill(-1);
    for (int day = 0; day < 7; ++day) {
      if (step.days[day] == 0) continue;
      int& last = entry->second[day];
      // Equal times run in record order, so the later slot acts last.
      if (last < 0 || std::pair(step.hour, step.minute) >=
                          std::pair(model.steps[last].hour, model.steps[last].minute)) {
        last = slot;
      }
    }
  }
  for (const auto& [key, slots] : lastOfDay) {
    std::array<bool, 7> leftOn{};
    int firstOn = -1;
    for (int day = 0; day < 7; ++day) {
      leftOn[day] = slots[day] >= 0 && model.steps[slots[day]].action == kKeepOn;
      if (leftOn[day] && firstOn < 0) firstOn = slots[day];
    }
    if (firstOn < 0) continue;
    findings.Add(CheckRule::KeepLeftOn, {PlaceKind::Step, firstOn},
                 findings.Program(key.first) + " CH" + std::to_string(key.second) + " は、" +
                     DayNames(leftOn) + " の最後の動作が ON のままです。");
  }
}

}  // namespace

void CheckSteps(Findings& findings) {
  for (int slot = 0; slot < kStepCount; ++slot) {
    const WeeklyStep& step = findings.model().steps[slot];
    if (!step.used() || ChannelKindOf(findings.model(), step.channel) != kChannelTimeSignal ||
        step.action != 0) {
      continue;
    }
    findings.Add(CheckRule::SilentStep, {PlaceKind::Step, slot},
                 findings.Step(slot) + "の＜チャイム＞が「" + texts::kNoChime +
                     "」のため、チャイムが鳴りません。");
  }
  CheckDuplicates(findings);
  CheckKeepLeftOn(findings);
}

}  // namespace tavrin::check
