#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "calendar/ModelLimits.h"

namespace tavrin {
namespace {

// A schedule the editors could have made: a chime channel and a keep channel, steps on both, a
// period, a date and a summer-time rule.
ScheduleModel EditorMade() {
  ScheduleModel model;
  ClearModel(model);
  model.basicProgram = 1;
  model.holidayEnabled = 1;
  model.holidayProgram = 2;
  model.channels[0] = {kChannelTimeSignal, 0, 20, 1};
  model.channels[1] = {kChannelKeep, 0, 0, 0};
  model.steps[0] = {1, 1, {0, 1, 1, 1, 1, 1, 0}, 8, 30, 3};
  model.steps[5] = {2, 2, {1, 0, 0, 0, 0, 0, 1}, 23, 59, kKeepOff};
  model.stepCount = 2;
  model.periods[0] = {kEveryYear, 7, 20, 8, 31, 2};
  model.periods[1] = {2027, 2, 1, 2, 28, 1};
  model.dates[3] = {kEveryYear, 2, 29, 2};
  model.summerTimeEnabled = 1;
  model.summerTime = {3, 5, 1, 2, 10, 5, 1, 3};
  model.radioFrequency = 825;
  return model;
}

TEST(ModelLimits, AnEditorMadeScheduleAndAnEmptyOnePass) {
  Result<> made = CheckEditorLimits(EditorMade());
  EXPECT_TRUE(made.ok()) << made.message();
  ScheduleModel empty;
  ClearModel(empty);
  EXPECT_TRUE(CheckEditorLimits(empty).ok());
}

// The edges of what the editors produce: each one alone in an editor-made schedule packs.
TEST(ModelLimits, TheEditorsEdgeValuesPass) {
  struct Case {
    const char* what;
    std::function<void(ScheduleModel&)> change;
  };
  const Case cases[] = {
      {"a one-day period", [](ScheduleModel& m) { m.periods[1] = {2027, 5, 3, 5, 3, 1}; }},
      {"an every-year period from 29 February",
       [](ScheduleModel& m) { m.periods[0] = {kEveryYear, 2, 29, 3, 5, 2}; }},
      {"a signal of 60 minutes",
       [](ScheduleModel& m) {
         m.channels[0] = {1, 60, 0, 3};
       }},
      {"a signal of 59 seconds",
       [](ScheduleModel& m) {
         m.channels[0] = {1, 0, 59, 0};
       }},
      {"a signal of one second",
       [](ScheduleModel& m) {
         m.channels[0] = {1, 0, 1, 0};
       }},
      {"chime code 15", [](ScheduleModel& m) { m.steps[0].action = 15; }},
      {"no chime", [](ScheduleModel& m) { m.steps[0].action = 0; }},
      {"23:59", [](ScheduleModel& m) { m.steps[0].hour = 23, m.steps[0].minute = 59; }},
      {"program 99", [](ScheduleModel& m) { m.steps[0].program = 99; }},
      {"summer time from the fourth to the last week of a month",
       [](ScheduleModel& m) { m.summerTime = {3, 4, 1, 0, 3, 5, 7, 23}; }},
      {"no summer time", [](ScheduleModel& m) { m.summerTimeEnabled = 0, m.summerTime = {}; }},
      {"the holiday setting off without a program",
       [](ScheduleModel& m) { m.holidayEnabled = 0, m.holidayProgram = 0; }},
  };
  for (const Case& c : cases) {
    ScheduleModel model = EditorMade();
    c.change(model);
    Result<> result = CheckEditorLimits(model);
    EXPECT_TRUE(result.ok()) << c.what << ": " << result.message();
  }
}

TEST(ModelLimits, EachValueTheEditorsCannotProduceIsNamedByFieldAndSlot) {
  struct Case {
    std::function<void(ScheduleModel&)> change;
    std::string message;
  };
  const Case cases[] = {
      {[](ScheduleModel& m) { m.steps[5].hour = 25; }, "steps[slot 5].hour: 25 is outside 0..23"},
      {[](ScheduleModel& m) { m.steps[0].minute = 60; },
       "steps[slot 0].minute: 60 is outside 0..59"},
      {[](ScheduleModel& m) { m.steps[5].channel = 9; },
       "steps[slot 5].channel: 9 is outside 1..8"},
      {[](ScheduleModel& m) { m.steps[0].program = 150; },
       "steps[slot 0].program: 150 is outside 1..99"},
      {[](ScheduleModel& m) { m.steps[0].channel = 3; },
       "steps[slot 0].channel: channel 3 is not in use"},
      {[](ScheduleModel& m) { m.steps[5].action = 3; }, "steps[slot 5].action: 3 is outside 1..2"},
      {[](ScheduleModel& m) { m.steps[0].action = 16; },
       "steps[slot 0].action: 16 is outside 0..15"},  // the image keeps four bits
      {[](ScheduleModel& m) { m.steps[0].days = {}; },
       "steps[slot 0].days: a step in use fires on at least one day"},
      {[](ScheduleModel& m) { m.steps[0].days[6] = 2; },
       "steps[slot 0].days[6]: 2 is outside 0..1"},
      {[](ScheduleModel& m) { m.steps[7].hour = 7; },
       "steps[slot 7].hour: an empty slot (program and channel 0) holds nothing else"},
      {[](ScheduleModel& m) { m.stepCount = 1001; }, "stepCount: 1001 is outside 0..1000"},
      {[](ScheduleModel& m) { m.holidayProgram = -1; }, "holidayProgram: -1 is outside 1..99"},
      {[](ScheduleModel& m) { m.holidayEnabled = 2; }, "holidayEnabled: 2 is outside 0..1"},
      {[](ScheduleModel& m) { m.basicProgram = 100; }, "basicProgram: 100 is outside 0..99"},
      {[](ScheduleModel& m) { m.channels[0].kind = 3; }, "channels[0].kind: 3 is outside 0..2"},
      {[](ScheduleModel& m) { m.channels[0].signalSeconds = 0; },
       "channels[0]: a time signal lasts 1 to 3600 seconds, not 0"},
      {[](ScheduleModel& m) {
         m.channels[0] = {kChannelTimeSignal, 60, 1, 0};
       },
       "channels[0]: a time signal lasts 1 to 3600 seconds, not 3601"},
      {[](ScheduleModel& m) { m.channels[0].signalSeconds = 60; },
       "channels[0].signalSeconds: 60 is outside 0..59"},
      {[](ScheduleModel& m) { m.channels[0].signalMinutes = 61; },
       "channels[0].signalMinutes: 61 is outside 0..60"},
      {[](ScheduleModel& m) { m.channels[1].riseTime = 1; },
       "channels[1].riseTime: only a time-signal channel has a signal length and rise time"},
      {[](ScheduleModel& m) { m.periods[0].startMonth = 13; },
       "periods[slot 0].startMonth: 13 is outside 1..12"},
      {[](ScheduleModel& m) { m.periods[1].endDay = 29; },
       "periods[slot 1].endDay: 29 is outside 1..28"},  // 2027 is no leap year
      {[](ScheduleModel& m) { m.periods[1].year = 1999; },
       "periods[slot 1].year: 1999 is outside 2000..2099"},
      {[](ScheduleModel& m) { m.periods[0] = {kEveryYear, 7, 20, 7, 19, 2}; },
       "periods[slot 0].endMonth: the period ends before it starts"},
      {[](ScheduleModel& m) { m.periods[9].program = 4; },
       "periods[slot 9].program: year 0 marks an empty slot, which holds nothing else"},
      {[](ScheduleModel& m) { m.dates[3].day = 30; }, "dates[slot 3].day: 30 is outside 1..29"},
      {[](ScheduleModel& m) { m.dates[3].program = 0; },
       "dates[slot 3].program: 0 is outside 1..99"},
      {[](ScheduleModel& m) { m.summerTime.startWeekday = 8; },
       "summerTime.startWeekday: 8 is outside 0..7"},
      // The rule itself is judged in the summer-time page's words.
      {[](ScheduleModel& m) { m.summerTime.endHour = 24; },
       "summerTime.endHour: 24 is outside 0..23"},
      {[](ScheduleModel& m) { m.summerTime.endWeek = 0; },
       "summerTime: 終了の＜第何週＞の指定が有りません。"},
      {[](ScheduleModel& m) { m.summerTime.endMonth = 2; },
       "summerTime: ＜開始と終了＞の指定が不正です。"},
  };
  for (const Case& c : cases) {
    ScheduleModel model = EditorMade();
    c.change(model);
    Result<> result = CheckEditorLimits(model);
    EXPECT_FALSE(result.ok()) << c.message;
    EXPECT_EQ(result.message(), c.message);
  }
}

}  // namespace
}  // namespace tavrin
