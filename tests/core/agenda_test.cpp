// The agenda reads a settings image as the timer does: which grid gives the program of a date,
// which steps of it run, and in what order.
#include <gtest/gtest.h>

#include "CsvFixture.h"
#include "document/SaveCheck.h"
#include "image_test_support.h"
#include "model/ImageBytes.h"
#include "review/Agenda.h"
#include "review/ScheduleCheck.h"

namespace tavrin {
namespace {

using testing::MakeStep;
using testing_support::EmptyModel;
using testing_support::ImageRig;

// The image years are 2027 and 2028, a leap year. New Year's Day is a public holiday in both.
constexpr char kHolidays[] = "[2027]\r\n01=1\r\n[2028]\r\n01=1\r\n";

ScheduleModel AnnualModel() {
  ScheduleModel model = EmptyModel();
  model.channels[0] = {kChannelTimeSignal, 0, 10, 0};
  model.basicProgram = 1;
  model.holidayEnabled = 1;
  model.holidayProgram = 4;
  model.periods[0] = {kEveryYear, 2, 29, 3, 2, 2};
  model.periods[1] = {2028, 2, 27, 2, 28, 5};
  model.leapStartProgram = 2;
  model.dates[0] = {kEveryYear, 12, 25, 3};
  for (int program = 1; program <= 6; ++program) {
    model.steps[program - 1] = MakeStep(program, 1, "1111111", 12, program, 1);
  }
  return model;
}

// Program 99 is the day that runs nothing: it needs no steps, saving does not ask for them, the
// check says nothing against it, and the agenda shows the day without events.
TEST(Agenda, ADayOnProgram99RunsNothingAndNothingAsksForItsSteps) {
  ImageRig rig(2027, kHolidays);
  ScheduleModel model = AnnualModel();
  model.basicProgram = kIdleProgram;
  model.holidayProgram = kIdleProgram;
  model.periods[1].program = kIdleProgram;
  model.dates[0].program = kIdleProgram;
  EXPECT_TRUE(CheckSaveable(model).ok()) << CheckSaveable(model).message();
  const ProgramNameTable names{};
  for (const Finding& finding :
       CheckSchedule({model, names, rig.holidays(), rig.context().years})) {
    EXPECT_EQ(finding.severity, Severity::Note) << finding.message;
  }
  const SettingsImage image = rig.Pack(model);
  for (CalendarDate date : {CalendarDate{2027, 1, 1}, CalendarDate{2028, 2, 27},
                            CalendarDate{2027, 12, 25}, CalendarDate{2027, 6, 1}}) {
    const Result<AgendaDay> day = AgendaOn(image, date);
    ASSERT_TRUE(day.ok()) << day.message();
    EXPECT_EQ(day->program, kIdleProgram) << IsoDate(date);
    EXPECT_TRUE(day->events.empty()) << IsoDate(date);
  }
}

TEST(Agenda, ProgramComesFromSpecialDaysThenPeriodsThenBasic) {
  ImageRig rig(2027, kHolidays);
  const SettingsImage plain = rig.Pack(AnnualModel());
  ScheduleModel withLeapDate = AnnualModel();
  withLeapDate.dates[1] = {2028, 2, 29, 6};
  const SettingsImage leapDate = rig.Pack(withLeapDate);

  struct Case {
    const SettingsImage* image;
    CalendarDate date;
    int weekday;
    int program;
    AgendaSource source;
  };
  const Case cases[] = {
      {&plain, {2027, 1, 1}, 5, 4, AgendaSource::Special},  // holiday
      {&plain, {2028, 1, 1}, 6, 4, AgendaSource::Special},
      {&plain, {2027, 12, 25}, 6, 3, AgendaSource::Special},  // every-year date
      {&plain, {2028, 12, 25}, 1, 3, AgendaSource::Special},
      {&plain, {2027, 2, 28}, 0, 1, AgendaSource::Basic},  // the period starts on a day 2027 lacks
      {&plain, {2027, 3, 1}, 1, 2, AgendaSource::Period},
      {&plain, {2028, 2, 28}, 1, 5, AgendaSource::Period},  // 2028 only
      {&plain, {2028, 2, 29}, 2, 2, AgendaSource::Period},  // leap day of an every-year period
      {&plain, {2028, 3, 3}, 5, 1, AgendaSource::Basic},
      {&leapDate, {2028, 2, 29}, 2, 6, AgendaSource::Special},  // leap day of an individual date
      {&leapDate, {2028, 3, 1}, 3, 2, AgendaSource::Period},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(IsoDate(c.date));
    Result<AgendaDay> day = AgendaOn(*c.image, c.date);
    ASSERT_TRUE(day) << day.message();
    EXPECT_EQ(day->date, c.date);
    EXPECT_EQ(day->weekday, c.weekday);
    EXPECT_EQ(day->program, c.program);
    EXPECT_EQ(day->source, c.source);
    ASSERT_EQ(day->events.size(), 1u);
    EXPECT_EQ(day->events[0].minute, c.program);  // the step of that program
  }
}

TEST(Agenda, BasicProgramZeroRunsNothing) {
  ImageRig rig(2027);
  SettingsImage image = rig.Pack(AnnualModel());
  image[layout::kBasicProgram] = 0;
  Result<AgendaDay> day = AgendaOn(image, {2027, 7, 1});
  ASSERT_TRUE(day);
  EXPECT_EQ(day->program, 0);
  EXPECT_EQ(day->source, AgendaSource::Basic);
  EXPECT_TRUE(day->events.empty());
}

TEST(Agenda, EventsAreTheStepsThatRunOrderedByTimeChannelAndRecord) {
  ScheduleModel model = EmptyModel();
  model.channels[0] = {kChannelTimeSignal, 0, 10, 0};
  model.channels[1] = {kChannelKeep, 0, 0, 0};
  model.basicProgram = 1;
  model.steps[0] = MakeStep(1, 2, "0100000", 9, 0, kKeepOn);
  model.steps[1] = MakeStep(1, 1, "0100000", 9, 0, 3);
  model.steps[2] = MakeStep(1, 1, "0100000", 8, 59, 0);
  model.steps[3] = MakeStep(1, 3, "0100000", 7, 0, kKeepOn);   // channel not in use
  model.steps[4] = MakeStep(1, 1, "0010000", 6, 0, 1);         // Tuesday only
  model.steps[5] = MakeStep(1, 2, "0100000", 9, 0, kKeepOff);  // same time: after the ON
  model.steps[6] = MakeStep(2, 1, "1111111", 10, 0, 1);        // another program
  model.steps[7] = MakeStep(1, 2, "0100000", 10, 0, kKeepOn);  // a keep code that does nothing
  model.steps[8] = MakeStep(1, 1, "0100000", 11, 0, 1);        // an hour the timer lacks
  model.steps[9] = MakeStep(1, 1, "0100000", 12, 0, 15);
  ImageRig rig(2027);
  SettingsImage image = rig.Pack(model);
  auto record = [&](int i) { return image.data() + layout::kStepBlock + i * 5; };
  record(7)[4] = static_cast<uint8_t>(2 * 16 + 5);
  record(8)[2] = 24;

  Result<AgendaDay> monday = AgendaOn(image, {2027, 3, 1});
  ASSERT_TRUE(monday);
  ASSERT_EQ(monday->weekday, 1);
  const std::vector<AgendaEvent> expected = {
      {8, 59, 1, AgendaAction::Chime, 0},  {9, 0, 1, AgendaAction::Chime, 3},
      {9, 0, 2, AgendaAction::KeepOn, 0},  {9, 0, 2, AgendaAction::KeepOff, 0},
      {12, 0, 1, AgendaAction::Chime, 15},
  };
  EXPECT_EQ(monday->events, expected);
}

TEST(Agenda, GridsAreChosenByTheirYearBytes) {
  ImageRig rig(2027, kHolidays);
  const SettingsImage image = rig.Pack(AnnualModel());
  // The same grids in swapped places say the same.
  SettingsImage swapped = image;
  for (auto [a, b] : {std::pair{layout::kPeriodGridCurrent, layout::kPeriodGridNext},
                      std::pair{layout::kSpecialGridCurrent, layout::kSpecialGridNext}}) {
    std::swap_ranges(swapped.begin() + a, swapped.begin() + a + layout::kYearGridSize,
                     swapped.begin() + b);
  }
  for (CalendarDate date : {CalendarDate{2027, 1, 1}, CalendarDate{2028, 2, 28},
                            CalendarDate{2028, 2, 29}, CalendarDate{2027, 7, 1}}) {
    EXPECT_EQ(AgendaOn(swapped, date)->program, AgendaOn(image, date)->program) << IsoDate(date);
  }

  EXPECT_EQ(ImageYears(image), (std::vector<int>{2027, 2028}));
  // A year byte past the timer's calendar carries nothing; the other grids still count.
  SettingsImage damaged = image;
  damaged[layout::kPeriodGridNext] = damaged[layout::kSpecialGridNext] = 150;
  EXPECT_EQ(ImageYears(damaged), (std::vector<int>{2027}));
  EXPECT_EQ(AgendaOn(damaged, {2028, 2, 28}).message(),
            "2028-02-28 は設定ファイルの対象年（2027 年）の範囲外です。");
}

TEST(Agenda, RangesCoverBothYearsAndRefuseDatesOutsideThem) {
  ImageRig rig(2027, kHolidays);
  const SettingsImage image = rig.Pack(AnnualModel());
  Result<std::vector<AgendaDay>> turn = AgendaBetween(image, {2027, 12, 30}, {2028, 1, 2});
  ASSERT_TRUE(turn) << turn.message();
  ASSERT_EQ(turn->size(), 4u);
  EXPECT_EQ(turn->front().date, (CalendarDate{2027, 12, 30}));
  EXPECT_EQ((*turn)[2].date, (CalendarDate{2028, 1, 1}));
  EXPECT_EQ((*turn)[2].source, AgendaSource::Special);
  EXPECT_EQ(AgendaBetween(image, {2028, 2, 28}, {2028, 3, 1})->size(), 3u);
  EXPECT_EQ(AgendaBetween(image, {2027, 1, 1}, {2028, 12, 31})->size(), 365u + 366u);

  struct Refusal {
    CalendarDate from, to;
    const char* message;
  };
  const Refusal refusals[] = {
      {{2027, 2, 29}, {2027, 3, 1}, "2027-02-29 は存在しない日付です。"},
      {{2027, 4, 31}, {2027, 5, 1}, "2027-04-31 は存在しない日付です。"},
      {{2027, 3, 1}, {2027, 13, 1}, "2027-13-01 は存在しない日付です。"},
      {{2026, 12, 31},
       {2027, 1, 1},
       "2026-12-31 は設定ファイルの対象年（2027 年、2028 年）の範囲外です。"},
      {{2028, 12, 1},
       {2029, 1, 1},
       "2029-01-01 は設定ファイルの対象年（2027 年、2028 年）の範囲外です。"},
      {{2027, 3, 2}, {2027, 3, 1}, "開始日 2027-03-02 が終了日 2027-03-01 より後です。"},
  };
  for (const Refusal& r : refusals) {
    EXPECT_EQ(AgendaBetween(image, r.from, r.to).message(), r.message);
  }
}

}  // namespace
}  // namespace tavrin
