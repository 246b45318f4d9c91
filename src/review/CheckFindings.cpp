#include "review/CheckFindings.h"

#include <cstdio>
#include <map>
#include <utility>

#include "model/ScheduleTexts.h"
#include "model/ShiftJis.h"

namespace tavrin::check {
namespace {

std::string MonthDay(int month, int day) {
  return std::to_string(month) + "/" + std::to_string(day);
}

}  // namespace

std::string DayNames(const std::array<bool, 7>& days) {
  std::string text;
  for (int day = 0; day < 7; ++day) {
    if (!days[day]) continue;
    if (!text.empty()) text += "・";
    text += texts::kWeekdays[day];
  }
  return text;
}

Findings::Findings(const CheckInput& input) : input_(input) {
  const ScheduleModel& model = input.model;
  for (int program = 1; program < kProgramCount; ++program) {
    const auto& field = input.names.names[program];
    names_[program] = FromShiftJis(FieldText(field.data(), field.size()));
  }
  std::map<std::pair<int, int>, int> rowsSoFar;
  for (int slot = 0; slot < kStepCount; ++slot) {
    const WeeklyStep& step = model.steps[slot];
    if (!step.used()) continue;
    stepRows_[slot] = ++rowsSoFar[{step.program, step.channel}];
    registered_[step.program] = true;
    if (ChannelInUse(step.channel)) hasSteps_[step.program] = true;
  }
  int row = 0;
  for (int slot = 0; slot < kPeriodCount; ++slot) {
    if (model.periods[slot].year != 0) periodRows_[slot] = ++row;
  }
  row = 0;
  for (int slot = 0; slot < kDateCount; ++slot) {
    if (model.dates[slot].year != 0) dateRows_[slot] = ++row;
  }
}

void Findings::Add(CheckRule rule, CheckPlace place, std::string message) {
  findings_.push_back({rule, RuleSeverity(rule), place, std::move(message)});
}

std::string Findings::Program(int program) const {
  std::string text = "週間プログラム " + std::to_string(program);
  if (program > 0 && program < kProgramCount && !names_[program].empty()) {
    text += "「" + names_[program] + "」";
  }
  return text;
}

std::string Findings::Step(int slot) const {
  const WeeklyStep& step = model().steps[slot];
  char time[16];
  std::snprintf(time, sizeof time, "%d:%02d", step.hour, step.minute);
  return Program(step.program) + " CH" + std::to_string(step.channel) + " のステップ " +
         std::to_string(stepRows_[slot]) + "（" + time + "）";
}

std::string Findings::Period(int slot) const {
  const PeriodEntry& entry = model().periods[slot];
  return "期間設定 " + std::to_string(periodRows_[slot]) + " 行目（" + texts::YearText(entry.year) +
         " " + MonthDay(entry.startMonth, entry.startDay) + "～" +
         MonthDay(entry.endMonth, entry.endDay) + "）";
}

std::string Findings::Date(int slot) const {
  const DateEntry& entry = model().dates[slot];
  return "個別設定 " + std::to_string(dateRows_[slot]) + " 行目（" + texts::YearText(entry.year) +
         " " + MonthDay(entry.month, entry.day) + "）";
}

bool Findings::HasSteps(int program) const {
  return program >= 0 && program < static_cast<int>(hasSteps_.size()) && hasSteps_[program];
}

bool Findings::Registered(int program) const {
  return program >= 0 && program < static_cast<int>(registered_.size()) && registered_[program];
}

bool Findings::ChannelInUse(int channel) const {
  return IsChannelInUse(ChannelKindOf(model(), channel));
}

void Findings::Missing(CheckPlace place, const std::string& where, const char* item) {
  Add(CheckRule::InvalidValue, place, where + "の＜" + item + "＞の指定が有りません。");
}

}  // namespace tavrin::check
