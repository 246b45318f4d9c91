// The check's rules over channels and weekly steps.
#include <algorithm>
#include <functional>
#include <map>
#include <tuple>
#include <utility>
#include <vector>

#include "model/ImageBytes.h"
#include "review/CheckFindings.h"

namespace tavrin::check {
namespace {

constexpr int kMaxSignalSeconds = 3600;
constexpr int kMaxChimeCode = 15;  // the image keeps four bits

std::array<bool, 7> SharedDays(const WeeklyStep& a, const WeeklyStep& b) {
  std::array<bool, 7> shared{};
  for (int day = 0; day < 7; ++day) shared[day] = a.days[day] != 0 && b.days[day] != 0;
  return shared;
}

bool AnyDay(const std::array<bool, 7>& days) { return std::ranges::any_of(days, std::identity{}); }

// A slot with a program but no channel, or the reverse, is neither used nor free: packing drops
// it without a word.
void CheckHalfFilledSlot(Findings& findings, int slot) {
  const WeeklyStep& step = findings.model().steps[slot];
  const CheckPlace place{PlaceKind::Step, slot};
  const std::string where = "ステップ欄 " + std::to_string(slot + 1);
  if (step.channel == 0) {
    findings.Missing(place, where + "（" + findings.Program(step.program) + "）", "チャンネル番号");
  } else {
    findings.Missing(place, where + "（CH" + std::to_string(step.channel) + "）", "プログラム番号");
  }
}

void CheckAction(Findings& findings, int slot) {
  const WeeklyStep& step = findings.model().steps[slot];
  const CheckPlace place{PlaceKind::Step, slot};
  const std::string where = findings.Step(slot);
  switch (ChannelKindOf(findings.model(), step.channel)) {
    case kChannelTimeSignal:
      if (!findings.CheckRange(place, where, "チャイム", step.action, 0, kMaxChimeCode)) return;
      if (step.action == 0) {
        findings.Add(CheckRule::SilentStep, place,
                     where + "の＜チャイム＞が「0.（なし）」のため、チャイムが鳴りません。");
      }
      return;
    case kChannelKeep:
      if (step.action == kKeepNone) {
        findings.Missing(place, where, "ON / OFF");
      } else {
        findings.CheckRange(place, where, "ON / OFF", step.action, kKeepOn, kKeepOff);
      }
      return;
    default:
      if (step.channel >= 1 && step.channel <= kChannelCount) {
        findings.Add(CheckRule::StepOnUnusedChannel, place,
                     where + "は、使用していないチャンネルのため実行されません。");
      }
      return;
  }
}

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
    if (step.hour > 23 || step.minute > 59) continue;
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

void CheckChannels(Findings& findings) {
  for (int number = 1; number <= kChannelCount; ++number) {
    const ChannelSetting& channel = findings.model().channels[number - 1];
    const CheckPlace place{PlaceKind::Channel, number};
    const std::string where = "CH" + std::to_string(number) + " ";
    if (!findings.CheckRange(place, where, "タイプ", channel.kind, kChannelUnused, kChannelKeep) ||
        channel.kind != kChannelTimeSignal) {
      continue;
    }
    const bool minutesOk =
        findings.CheckRange(place, where, "報時（分）", channel.signalMinutes, 0, 60);
    const bool secondsOk =
        findings.CheckRange(place, where, "報時（秒）", channel.signalSeconds, 0, 59);
    findings.CheckRange(place, where, "立ち上り時間", channel.riseTime, 0, 3);
    const int seconds = channel.signalMinutes * 60 + channel.signalSeconds;
    // A signal of no length leaves the channel looking unused in the image: its steps are lost.
    if (minutesOk && secondsOk && (seconds == 0 || seconds > kMaxSignalSeconds)) {
      findings.Add(CheckRule::InvalidValue, place,
                   where + "の＜報時＞の設定が不正です（" + std::to_string(channel.signalMinutes) +
                       " 分 " + std::to_string(channel.signalSeconds) + " 秒）。");
    }
  }
}

void CheckSteps(Findings& findings) {
  for (int slot = 0; slot < kStepCount; ++slot) {
    const WeeklyStep& step = findings.model().steps[slot];
    if (!step.used()) {
      if (step.program != 0 || step.channel != 0) CheckHalfFilledSlot(findings, slot);
      continue;
    }
    const CheckPlace place{PlaceKind::Step, slot};
    const std::string where = findings.Step(slot);
    findings.CheckRange(place, where, "プログラム番号", step.program, 1, kMaxProgram);
    findings.CheckRange(place, where, "チャンネル番号", step.channel, 1, kChannelCount);
    findings.CheckRange(place, where, "時刻（時）", step.hour, 0, 23);
    findings.CheckRange(place, where, "時刻（分）", step.minute, 0, 59);
    if (!AnyDay(SharedDays(step, step))) findings.Missing(place, where, "曜日");
    CheckAction(findings, slot);
  }
  CheckDuplicates(findings);
  CheckKeepLeftOn(findings);
}

}  // namespace tavrin::check
