// Shared by the rule files of the schedule check: where the findings go, how places are named
// (as the editors number their rows), and the message shapes the rules have in common.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "review/ScheduleCheck.h"

namespace tavrin::check {

class Findings {
 public:
  explicit Findings(const CheckInput& input);

  const ScheduleModel& model() const { return input_.model; }
  const CheckInput& input() const { return input_; }

  void Add(CheckRule rule, CheckPlace place, std::string message);
  std::vector<Finding> Take() { return std::move(findings_); }

  // "週間プログラム 3「短縮授業」"
  std::string Program(int program) const;
  // "週間プログラム 3 CH1 のステップ 2（8:30）": the row the step has in the weekly program dialog.
  std::string Step(int slot) const;
  int StepRow(int slot) const { return stepRows_[slot]; }
  // "期間設定 2 行目（毎年 3/25～4/5）", "個別設定 1 行目（2027 年 6/12）": rows of the annual
  // editor.
  std::string Period(int slot) const;
  std::string Date(int slot) const;

  // True when a used step of `program` is on a channel in use: the timer has something to run.
  bool HasSteps(int program) const;
  // True when a used step carries `program`, whatever its channel.
  bool Registered(int program) const;
  // True for channels 1..8 set to time signal or keep.
  bool ChannelInUse(int channel) const;

  // The invalid-value finding of a value not given: "<place>の＜<item>＞の指定が有りません。"
  void Missing(CheckPlace place, const std::string& where, const char* item);

 private:
  const CheckInput& input_;
  std::vector<Finding> findings_;
  std::array<int, kStepCount> stepRows_{};
  std::array<int, kPeriodCount> periodRows_{};
  std::array<int, kDateCount> dateRows_{};
  std::array<bool, 256> hasSteps_{};
  std::array<bool, 256> registered_{};
  std::array<std::string, kProgramCount> names_;  // UTF-8, converted once
};

// "月・火・水"; `days` Sunday first.
std::string DayNames(const std::array<bool, 7>& days);
// Every breach of the timer's limits, in the editors' words.
void CheckLimits(Findings& findings);
void CheckSteps(Findings& findings);
void CheckAnnual(Findings& findings);
// Steps that run on public holidays while the holiday setting is off.
void CheckHolidaysOff(Findings& findings);

}  // namespace tavrin::check
