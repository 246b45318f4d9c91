// Strict packing and the schedule check judge a schedule by the same limits: every field of a
// clean schedule is walked through values around its limits, and the check reports an invalid
// value exactly where packing refuses one.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "SchoolExample.h"
#include "calendar/ModelLimits.h"

namespace tavrin {
namespace {

// Sets a field to a value; false when the field cannot hold it.
using Setter = std::function<bool(ScheduleModel&, long long)>;

template <typename T>
bool Put(T& field, long long value) {
  if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max()) return false;
  field = static_cast<T>(value);
  return true;
}

struct Probe {
  std::string field;
  Setter set;
};

template <typename T>
Probe Top(const char* name, T ScheduleModel::*field) {
  return {name, [field](ScheduleModel& m, long long v) { return Put(m.*field, v); }};
}

// A field of one record of a table: `table`[`slot`].`field`.
template <typename Record, std::size_t N, typename T>
Probe InTable(const char* table, std::array<Record, N> ScheduleModel::*records, int slot,
              const char* name, T Record::*field) {
  return {std::string(table) + "[" + std::to_string(slot) + "]." + name,
          [=](ScheduleModel& m, long long v) { return Put((m.*records)[slot].*field, v); }};
}

// Fields of the school's records of each kind: CH1 time signal, CH2 keep, CH3 unused; step slot 0
// keep, slot 1 a chime, slot 40 free; period slot 0 every year, slot 4 of 2027, slot 9 free; date
// slot 1 of 2027, slot 9 free.
std::vector<Probe> Probes() {
  std::vector<Probe> probes = {
      Top("basicProgram", &ScheduleModel::basicProgram),
      Top("holidayEnabled", &ScheduleModel::holidayEnabled),
      Top("holidayProgram", &ScheduleModel::holidayProgram),
      Top("leapStartProgram", &ScheduleModel::leapStartProgram),
      Top("leapEndProgram", &ScheduleModel::leapEndProgram),
      Top("stepCount", &ScheduleModel::stepCount),
      Top("summerTimeEnabled", &ScheduleModel::summerTimeEnabled),
  };
  using Rule = SummerTimeRule;
  for (auto [name, field] : {std::pair{"startMonth", &Rule::startMonth},
                             {"startWeek", &Rule::startWeek},
                             {"startWeekday", &Rule::startWeekday},
                             {"startHour", &Rule::startHour},
                             {"endMonth", &Rule::endMonth},
                             {"endWeek", &Rule::endWeek},
                             {"endWeekday", &Rule::endWeekday},
                             {"endHour", &Rule::endHour}}) {
    probes.push_back(
        {std::string("summerTime.") + name,
         [member = field](ScheduleModel& m, long long v) { return Put(m.summerTime.*member, v); }});
  }
  for (int index : {0, 1, 2}) {
    for (auto [name, field] : {std::pair{"kind", &ChannelSetting::kind},
                               {"signalMinutes", &ChannelSetting::signalMinutes},
                               {"signalSeconds", &ChannelSetting::signalSeconds},
                               {"riseTime", &ChannelSetting::riseTime}}) {
      probes.push_back(InTable("channels", &ScheduleModel::channels, index, name, field));
    }
  }
  for (int slot : {0, 1, 40}) {
    for (auto [name, field] : {std::pair{"program", &WeeklyStep::program},
                               {"channel", &WeeklyStep::channel},
                               {"hour", &WeeklyStep::hour},
                               {"minute", &WeeklyStep::minute},
                               {"action", &WeeklyStep::action}}) {
      probes.push_back(InTable("steps", &ScheduleModel::steps, slot, name, field));
    }
    for (int day = 0; day < 7; ++day) {
      probes.push_back(
          {"steps[" + std::to_string(slot) + "].days[" + std::to_string(day) + "]",
           [slot, day](ScheduleModel& m, long long v) { return Put(m.steps[slot].days[day], v); }});
    }
  }
  for (int slot : {0, 4, 9}) {
    probes.push_back(InTable("periods", &ScheduleModel::periods, slot, "year", &PeriodEntry::year));
    for (auto [name, field] : {std::pair{"startMonth", &PeriodEntry::startMonth},
                               {"startDay", &PeriodEntry::startDay},
                               {"endMonth", &PeriodEntry::endMonth},
                               {"endDay", &PeriodEntry::endDay},
                               {"program", &PeriodEntry::program}}) {
      probes.push_back(InTable("periods", &ScheduleModel::periods, slot, name, field));
    }
  }
  for (int slot : {1, 9}) {
    probes.push_back(InTable("dates", &ScheduleModel::dates, slot, "year", &DateEntry::year));
    for (auto [name, field] : {std::pair{"month", &DateEntry::month},
                               {"day", &DateEntry::day},
                               {"program", &DateEntry::program}}) {
      probes.push_back(InTable("dates", &ScheduleModel::dates, slot, name, field));
    }
  }
  // The holiday and summer-time fields again with both switched off.
  const std::size_t count = probes.size();
  for (std::size_t i = 0; i < count; ++i) {
    const Probe on = probes[i];
    if (on.field.rfind("holiday", 0) != 0 && on.field.rfind("summerTime", 0) != 0) continue;
    probes.push_back({on.field + ", switches off", [on](ScheduleModel& m, long long v) {
                        m.holidayEnabled = 0;
                        m.summerTimeEnabled = 0;
                        return on.set(m, v);
                      }});
  }
  return probes;
}

// Around every limit: the ranges' edges, month lengths, the image years and the field widths.
constexpr long long kValues[] = {
    -32768, -1,   0,    1,    2,    3,    4,    5,    6,    7,    8,     9,    10,   11,
    12,     13,   14,   15,   16,   17,   20,   23,   24,   25,   28,    29,   30,   31,
    32,     59,   60,   61,   98,   99,   100,  254,  255,  256,  999,   1000, 1001, 1999,
    2000,   2025, 2026, 2027, 2028, 2099, 2100, 3600, 9998, 9999, 10000, 32767};

int CountOf(const std::vector<Finding>& findings, CheckRule rule) {
  int count = 0;
  for (const Finding& finding : findings) count += finding.rule == rule;
  return count;
}

TEST(TimerLimits, TheCheckReportsAnInvalidValueExactlyWhereStrictPackingRefusesIt) {
  // With a summer-time rule in force, so that every field holds a value.
  testing::School school;
  school.model.summerTimeEnabled = 1;
  school.model.summerTime = {3, 2, 1, 2, 11, 1, 1, 2};
  ASSERT_TRUE(CheckEditorLimits(school.model).ok()) << CheckEditorLimits(school.model).message();
  const auto check = [&](const ScheduleModel& model) {
    return CheckSchedule({model, school.names, school.holidays, testing::kSchoolYears});
  };
  const std::vector<Finding> clean = check(school.model);
  ASSERT_EQ(CountOf(clean, CheckRule::InvalidValue), 0);
  // Two rules that packing keeps are reported under their own names: a step on a channel not in
  // use, and a summer-time rule that lacks a month, week or weekday.
  const auto elsewhere = [&](const std::vector<Finding>& findings) {
    return CountOf(findings, CheckRule::StepOnUnusedChannel) >
               CountOf(clean, CheckRule::StepOnUnusedChannel) ||
           CountOf(findings, CheckRule::SummerTimeIncomplete) >
               CountOf(clean, CheckRule::SummerTimeIncomplete);
  };
  int refused = 0;
  int walked = 0;
  for (const Probe& probe : Probes()) {
    for (long long value : kValues) {
      ScheduleModel model = school.model;
      if (!probe.set(model, value)) continue;
      ++walked;
      const Result<> packed = CheckEditorLimits(model);
      const std::vector<Finding> findings = check(model);
      const bool invalid = CountOf(findings, CheckRule::InvalidValue) > 0;
      EXPECT_EQ(!packed.ok(), invalid || elsewhere(findings))
          << probe.field << " = " << value << ": pack says \""
          << (packed.ok() ? std::string("fine") : packed.message()) << "\"";
      refused += !packed.ok();
    }
  }
  // The walk reaches both sides of the limits.
  EXPECT_GT(walked, 3500);
  EXPECT_GT(refused, walked / 2);
  EXPECT_LT(refused, walked);
}

}  // namespace
}  // namespace tavrin
