#include "calendar/ModelLimits.h"

#include <string>

#include "calendar/SummerTimeRules.h"
#include "model/Dates.h"
#include "model/IniSettings.h"

namespace tavrin {
namespace {

// Collects the first fault; every later check is skipped once one is found.
class Limits {
 public:
  bool Range(const std::string& where, long long value, long long low, long long high) {
    if (fault_.empty() && (value < low || value > high)) {
      fault_ = where + ": " + std::to_string(value) + " is outside " + std::to_string(low) + ".." +
               std::to_string(high);
    }
    return fault_.empty();
  }
  bool Rule(const std::string& where, bool holds, const std::string& what) {
    if (fault_.empty() && !holds) fault_ = where + ": " + what;
    return fault_.empty();
  }
  const std::string& fault() const { return fault_; }

 private:
  std::string fault_;
};

std::string Slot(const char* table, std::size_t slot, const char* field) {
  return std::string(table) + "[slot " + std::to_string(slot) + "]." + field;
}

void CheckChannels(const ScheduleModel& model, Limits& limits) {
  for (std::size_t i = 0; i < model.channels.size(); ++i) {
    const ChannelSetting& channel = model.channels[i];
    const std::string where = "channels[" + std::to_string(i) + "]";
    limits.Range(where + ".kind", channel.kind, kChannelUnused, kChannelKeep);
    limits.Range(where + ".signalSeconds", channel.signalSeconds, 0, 59);
    limits.Range(where + ".riseTime", channel.riseTime, 0, 3);
    const int length = channel.signalMinutes * 60 + channel.signalSeconds;
    if (channel.kind == kChannelTimeSignal) {
      limits.Rule(where, length >= 1 && length <= 3600,
                  "a time signal lasts 1 to 3600 seconds, not " + std::to_string(length));
    } else {
      // The page stores zeros for a keep channel and clears a channel taken out of use.
      limits.Rule(where, length == 0 && channel.riseTime == 0,
                  "only a time-signal channel has a signal length and rise time");
    }
  }
}

void CheckSteps(const ScheduleModel& model, Limits& limits) {
  limits.Range("stepCount", model.stepCount, 0, kStepCount);
  for (std::size_t slot = 0; slot < model.steps.size(); ++slot) {
    const WeeklyStep& step = model.steps[slot];
    const bool empty = step.program == 0 && step.channel == 0;
    if (empty) {
      limits.Rule(Slot("steps", slot, "program"),
                  step.hour == 0 && step.minute == 0 && step.action == 0 &&
                      step.days == decltype(step.days){},
                  "an empty slot (program and channel 0) holds nothing else");
      continue;
    }
    limits.Range(Slot("steps", slot, "program"), step.program, 1, kMaxProgram);
    limits.Range(Slot("steps", slot, "channel"), step.channel, 1, kChannelCount);
    if (!limits.fault().empty()) return;
    const ChannelSetting& channel = model.channels[step.channel - 1u];
    limits.Rule(Slot("steps", slot, "channel"), channel.kind != kChannelUnused,
                "channel " + std::to_string(step.channel) + " is not in use");
    for (std::size_t day = 0; day < step.days.size(); ++day) {
      limits.Range(Slot("steps", slot, "days") + "[" + std::to_string(day) + "]", step.days[day], 0,
                   1);
    }
    limits.Range(Slot("steps", slot, "hour"), step.hour, 0, 23);
    limits.Range(Slot("steps", slot, "minute"), step.minute, 0, 59);
    if (channel.kind == kChannelKeep) {
      limits.Range(Slot("steps", slot, "action"), step.action, kKeepOn, kKeepOff);
    } else {
      limits.Range(Slot("steps", slot, "action"), step.action, 0, kMaxChimes);
    }
  }
}

// Year, then month, then the day within that month's length.
bool CheckDay(Limits& limits, const char* table, std::size_t slot, const char* monthField,
              const char* dayField, int year, int month, int day) {
  return limits.Range(Slot(table, slot, monthField), month, 1, 12) &&
         limits.Range(Slot(table, slot, dayField), day, 1, MonthLength(year, month));
}

bool CheckYear(Limits& limits, const char* table, std::size_t slot, int year) {
  if (year == kEveryYear) return true;
  return limits.Range(Slot(table, slot, "year"), year, 2000, 2099);
}

void CheckPeriods(const ScheduleModel& model, Limits& limits) {
  for (std::size_t slot = 0; slot < model.periods.size(); ++slot) {
    const PeriodEntry& p = model.periods[slot];
    if (p.year == 0) {
      limits.Rule(Slot("periods", slot, "year"),
                  p.startMonth == 0 && p.startDay == 0 && p.endMonth == 0 && p.endDay == 0 &&
                      p.program == 0,
                  "year 0 marks an empty slot, which holds nothing else");
      continue;
    }
    if (CheckYear(limits, "periods", slot, p.year) &&
        CheckDay(limits, "periods", slot, "startMonth", "startDay", p.year, p.startMonth,
                 p.startDay) &&
        CheckDay(limits, "periods", slot, "endMonth", "endDay", p.year, p.endMonth, p.endDay) &&
        limits.Range(Slot("periods", slot, "program"), p.program, 1, kMaxProgram)) {
      limits.Rule(Slot("periods", slot, "endMonth"),
                  p.endMonth * 100 + p.endDay >= p.startMonth * 100 + p.startDay,
                  "the period ends before it starts");
    }
  }
}

void CheckDates(const ScheduleModel& model, Limits& limits) {
  for (std::size_t slot = 0; slot < model.dates.size(); ++slot) {
    const DateEntry& d = model.dates[slot];
    if (d.year == 0) {
      limits.Rule(Slot("dates", slot, "year"), d.month == 0 && d.day == 0 && d.program == 0,
                  "year 0 marks an empty slot, which holds nothing else");
      continue;
    }
    if (CheckYear(limits, "dates", slot, d.year) &&
        CheckDay(limits, "dates", slot, "month", "day", d.year, d.month, d.day)) {
      limits.Range(Slot("dates", slot, "program"), d.program, 1, kMaxProgram);
    }
  }
}

void CheckSummerTime(const ScheduleModel& model, Limits& limits) {
  const SummerTimeRule& rule = model.summerTime;
  limits.Range("summerTimeEnabled", model.summerTimeEnabled, 0, 1);
  limits.Range("summerTime.startMonth", rule.startMonth, 0, 12);
  limits.Range("summerTime.startWeek", rule.startWeek, 0, 5);
  limits.Range("summerTime.startWeekday", rule.startWeekday, 0, 7);
  limits.Range("summerTime.startHour", rule.startHour, 0, 23);
  limits.Range("summerTime.endMonth", rule.endMonth, 0, 12);
  limits.Range("summerTime.endWeek", rule.endWeek, 0, 5);
  limits.Range("summerTime.endWeekday", rule.endWeekday, 0, 7);
  limits.Range("summerTime.endHour", rule.endHour, 0, 23);
  if (!limits.fault().empty()) return;
  const Verdict verdict = summer::Check(model.summerTimeEnabled != 0, summer::Fill(rule));
  limits.Rule("summerTime", verdict.ok(), verdict.message());
}

}  // namespace

Result<> CheckEditorLimits(const ScheduleModel& model) {
  Limits limits;
  limits.Range("holidayEnabled", model.holidayEnabled, 0, 1);
  limits.Range("holidayProgram", model.holidayProgram, model.holidayEnabled ? 1 : 0, kMaxProgram);
  limits.Range("basicProgram", model.basicProgram, 0, kMaxProgram);
  limits.Range("leapStartProgram", model.leapStartProgram, 0, kMaxProgram);
  limits.Range("leapEndProgram", model.leapEndProgram, 0, kMaxProgram);
  CheckChannels(model, limits);
  CheckSteps(model, limits);
  CheckPeriods(model, limits);
  CheckDates(model, limits);
  CheckSummerTime(model, limits);
  if (!limits.fault().empty()) return Fail(limits.fault());
  return {};
}

}  // namespace tavrin
