// Strict packing and the schedule check judge a schedule by the same limits: every field the
// limits declare is walked, in the model's JSON, through values around its limits and past what
// its field holds, and the check reports an invalid value exactly where strict packing refuses
// one.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "SchoolExample.h"
#include "calendar/ModelLimits.h"
#include "model/TimerLimits.h"

namespace tavrin {
namespace {

using nlohmann::json;

// A field of the school's JSON at one place, and how to set it there.
struct Probe {
  std::string field;
  std::function<void(json&, long long)> set;
  Range range;
};

// The records the walk looks at in each table: step slot 0 keep, slot 1 a chime, slot 40 free;
// period slot 0 every year, slot 4 of 2027, slot 9 free; date slot 1 of 2027, slot 9 free.
std::vector<int> SlotsOf(const std::string& table) {
  if (table == "steps") return {0, 1, 40};
  if (table == "periods") return {0, 4, 9};
  if (table == "dates") return {1, 9};
  ADD_FAILURE() << "no records chosen in " << table;
  return {};
}

json& RecordIn(json& model, const std::string& table, int slot) {
  for (json& record : model[table]) {
    if (record["slot"] == slot) return record;
  }
  model[table].push_back({{"slot", slot}});
  return model[table].back();
}

// Every declared field, at each place of its kind the school has: whatever field is declared is
// walked.
std::vector<Probe> Probes() {
  std::vector<Probe> probes;
  std::set<std::string> seen;  // a step's chime, keep action and free action share one key
  const auto add = [&](const std::string& name, std::function<void(json&, long long)> set,
                       Range range) {
    if (seen.insert(name).second) probes.push_back({name, std::move(set), range});
  };
  for (const FieldRecord& field : kFields) {
    const std::string table = field.table;
    const std::string key = field.key;
    switch (field.index) {
      case FieldIndex::None:
        add(
            key, [key](json& m, long long v) { m[key] = v; }, field.range);
        break;
      case FieldIndex::Channel:
        for (int index : {0, 1, 2}) {
          add(
              table + "[" + std::to_string(index) + "]." + key,
              [=](json& m, long long v) { m[table][index][key] = v; }, field.range);
        }
        break;
      case FieldIndex::Point:
        for (const std::string point : {"start", "end"}) {
          add(
              table + "." + point + key, [=](json& m, long long v) { m[table][point + key] = v; },
              field.range);
        }
        break;
      case FieldIndex::Slot:
        for (int slot : SlotsOf(table)) {
          add(
              table + "[slot " + std::to_string(slot) + "]." + key,
              [=](json& m, long long v) { RecordIn(m, table, slot)[key] = v; }, field.range);
        }
        break;
      case FieldIndex::SlotDay:
        for (int slot : SlotsOf(table)) {
          for (int day = 0; day < 7; ++day) {
            add(
                table + "[slot " + std::to_string(slot) + "]." + key + "[" + std::to_string(day) +
                    "]",
                [=](json& m, long long v) {
                  json& record = RecordIn(m, table, slot);
                  if (!record.contains(key)) record[key] = json::array({0, 0, 0, 0, 0, 0, 0});
                  record[key][day] = v;
                },
                field.range);
          }
        }
        break;
    }
  }
  // The holiday and summer-time fields again with both switched off.
  const std::size_t count = probes.size();
  for (std::size_t i = 0; i < count; ++i) {
    const Probe on = probes[i];
    if (on.field.rfind("holiday", 0) != 0 && on.field.rfind("summerTime", 0) != 0) continue;
    probes.push_back({on.field + ", switches off",
                      [on](json& m, long long v) {
                        m["holidayEnabled"] = 0;
                        m["summerTimeEnabled"] = 0;
                        on.set(m, v);
                      },
                      on.range});
  }
  return probes;
}

// Around every limit: the ranges' edges, month lengths, the image years and the field widths,
// besides each field's own edges.
constexpr long long kValues[] = {
    -32769, -32768, -1,   0,    1,    2,    3,    4,    5,    6,    7,    8,     9,     10,
    11,     12,     13,   14,   15,   16,   17,   20,   23,   24,   25,   28,    29,    30,
    31,     32,     59,   60,   61,   98,   99,   100,  254,  255,  256,  999,   1000,  1001,
    1999,   2000,   2025, 2026, 2027, 2028, 2099, 2100, 3600, 9998, 9999, 10000, 32767, 32768};

int CountOf(const std::vector<Finding>& findings, CheckRule rule) {
  int count = 0;
  for (const Finding& finding : findings) count += finding.rule == rule;
  return count;
}

TEST(TimerLimits, TheCheckReportsAnInvalidValueExactlyWhereStrictPackingRefusesIt) {
  const testing::School school;
  // With a summer-time rule in force, so that every field holds a value.
  json model =
      json::parse(testing::ReadBytes(std::string(TAVRIN_SOURCE_DIR) + "/examples/school.json"));
  model["summerTimeEnabled"] = 1;
  model["summerTime"] = {{"startMonth", 3}, {"startWeek", 2}, {"startWeekday", 1}, {"startHour", 2},
                         {"endMonth", 11},  {"endWeek", 1},   {"endWeekday", 1},   {"endHour", 2}};
  // What strict pack judges: the reader, then the limits.
  const auto packRefuses = [](const std::string& text) -> std::optional<std::string> {
    ScheduleModel read;
    ProgramNameTable names;
    if (Result<> parsed = ParseModelJson(text, read, names); !parsed) return parsed.message();
    if (Result<> limits = CheckEditorLimits(read); !limits) return limits.message();
    return std::nullopt;
  };
  // What the check judges: the reader listing the values it leaves out, then the schedule.
  const auto check = [&](const std::string& text) {
    ScheduleModel read;
    ProgramNameTable names;
    std::vector<std::string> refused;
    const Result<> parsed = ParseModelJson(text, read, names, &refused);
    EXPECT_TRUE(parsed.ok()) << parsed.message();
    return CheckSchedule({read, names, school.holidays, testing::kSchoolYears, refused});
  };
  ASSERT_EQ(packRefuses(model.dump()), std::nullopt);
  const std::vector<Finding> clean = check(model.dump());
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
  const std::vector<Probe> probes = Probes();
  for (const Probe& probe : probes) {
    std::vector<long long> values(std::begin(kValues), std::end(kValues));
    const Range r = probe.range;
    values.insert(values.end(), {r.low - 1LL, r.low, r.high, r.high + 1LL});
    int accepted = 0;
    for (long long value : values) {
      json planted = model;
      probe.set(planted, value);
      const std::string text = planted.dump();
      ++walked;
      const std::optional<std::string> packed = packRefuses(text);
      const std::vector<Finding> findings = check(text);
      const bool invalid = CountOf(findings, CheckRule::InvalidValue) > 0;
      EXPECT_EQ(packed.has_value(), invalid || elsewhere(findings))
          << probe.field << " = " << value << ": pack says \"" << packed.value_or("fine") << "\"";
      refused += packed.has_value();
      accepted += !packed.has_value();
    }
    // A field whose every value is refused is not where the limits say it is.
    EXPECT_GT(accepted, 0) << probe.field;
  }
  // The walk reaches both sides of the limits.
  EXPECT_GT(walked, 5000);
  EXPECT_GT(refused, walked / 2);
  EXPECT_LT(refused, walked);
}

}  // namespace
}  // namespace tavrin
