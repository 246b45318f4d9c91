#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <vector>

#include "image_test_support.h"

namespace tavrin {

// Failure messages show entries field by field; ADL finds these next to the records.
static std::ostream& operator<<(std::ostream& out, const PeriodEntry& e) {
  return out << e.year << " " << +e.startMonth << "/" << +e.startDay << "-" << +e.endMonth << "/"
             << +e.endDay << " p" << +e.program;
}
static std::ostream& operator<<(std::ostream& out, const DateEntry& e) {
  return out << e.year << " " << +e.month << "/" << +e.day << " p" << +e.program;
}

namespace {

using namespace testing_support;

std::vector<PeriodEntry> Periods(const ScheduleModel& model) {
  std::vector<PeriodEntry> list;
  for (const PeriodEntry& entry : model.periods) {
    if (entry.year != 0) list.push_back(entry);
  }
  return list;
}

std::vector<DateEntry> Dates(const ScheduleModel& model) {
  std::vector<DateEntry> list;
  for (const DateEntry& entry : model.dates) {
    if (entry.year != 0) list.push_back(entry);
  }
  return list;
}

PeriodEntry Period(int year, int sm, int sd, int em, int ed, int program) {
  PeriodEntry entry{};
  entry.year = static_cast<int16_t>(year);
  entry.startMonth = static_cast<uint8_t>(sm);
  entry.startDay = static_cast<uint8_t>(sd);
  entry.endMonth = static_cast<uint8_t>(em);
  entry.endDay = static_cast<uint8_t>(ed);
  entry.program = static_cast<uint8_t>(program);
  return entry;
}

DateEntry Date(int year, int month, int day, int program) {
  DateEntry entry{};
  entry.year = static_cast<int16_t>(year);
  entry.month = static_cast<uint8_t>(month);
  entry.day = static_cast<uint8_t>(day);
  entry.program = static_cast<uint8_t>(program);
  return entry;
}

TEST(UnpackBasics, EmptyImageGivesAnEmptyModel) {
  ImageRig rig(2026);
  SettingsImage image;
  InitImage(image);
  EXPECT_EQ(rig.Unpack(image), EmptyModel());
}

TEST(UnpackChannels, KindFromTheRecord) {
  ImageRig rig(2026);
  SettingsImage image;
  InitImage(image);
  const uint8_t records[8][4] = {{5, 30, 0, 10},  {0x85, 7, 0, 3}, {0, 0, 9, 0}, {0, 0, 0, 30},
                                 {0x7F, 0, 0, 7}, {0, 0, 0, 0},    {0, 1, 0, 0}, {0x40, 0, 0, 3}};
  std::memcpy(image.data() + layout::kChannelBlock, records, sizeof records);
  const ScheduleModel model = rig.Unpack(image);
  const auto expect = [&](int index, ChannelSetting setting) {
    const ChannelSetting& got = model.channels[index];
    EXPECT_EQ(std::vector<int>({got.kind, got.signalMinutes, got.signalSeconds, got.riseTime}),
              std::vector<int>(
                  {setting.kind, setting.signalMinutes, setting.signalSeconds, setting.riseTime}))
        << "channel " << index + 1;
  };
  expect(0, {kChannelTimeSignal, 5, 30, 2});
  expect(1, {kChannelKeep, 0, 0, 0});    // a keep channel loses its times
  expect(2, {kChannelUnused, 0, 0, 0});  // byte 2 does not count
  expect(3, {kChannelTimeSignal, 0, 0, 3});
  expect(4, {kChannelTimeSignal, 0x3F, 0, 0});
  expect(5, {kChannelUnused, 0, 0, 0});
  expect(6, {kChannelTimeSignal, 0, 1, 0});
  expect(7, {kChannelTimeSignal, 0, 0, 1});
}

TEST(UnpackSteps, EveryRecordWithAProgramWhateverTheCount) {
  ImageRig rig(2026);
  SettingsImage image;
  InitImage(image);
  image[layout::kChannelBlock + 8] = 1;      // channel 3: time signal
  image[layout::kChannelBlock + 12] = 0x80;  // channel 4: keep
  const auto put = [&](int record, std::vector<uint8_t> bytes) {
    std::memcpy(image.data() + layout::kStepBlock + 5 * record, bytes.data(), 5);
  };
  put(5, {7, 0x7F, 6, 45, 0x3E});
  put(6, {0, 0x7F, 6, 45, 0x3E});  // no program: skipped
  put(500, {8, 0x81, 25, 61, 0x4E});
  put(998, {9, 0x01, 0, 0, 0x4D});
  put(999, {10, 0x02, 0, 0, 0x0F});  // channel 0
  put(997, {11, 0x02, 0, 0, 0xFE});  // channel 15
  const ScheduleModel model = rig.Unpack(image);
  ASSERT_EQ(model.stepCount, 5);
  const WeeklyStep& first = model.steps[0];
  EXPECT_EQ(first.program, 7);
  EXPECT_EQ(first.channel, 3);
  EXPECT_EQ(first.action, 0xE);  // a time-signal channel keeps the code
  EXPECT_EQ(std::vector<int>(first.days.begin(), first.days.end()),
            std::vector<int>({1, 1, 1, 1, 1, 1, 1}));
  EXPECT_EQ(first.hour, 6);
  EXPECT_EQ(first.minute, 45);
  const WeeklyStep& second = model.steps[1];
  EXPECT_EQ(std::vector<int>(second.days.begin(), second.days.end()),
            std::vector<int>({1, 0, 0, 0, 0, 0, 0}));  // bit 7 is no day
  EXPECT_EQ(second.action, kKeepOn);
  EXPECT_EQ(second.hour, 25);
  EXPECT_EQ(second.minute, 61);
  EXPECT_EQ(model.steps[2].program, 11);
  EXPECT_EQ(model.steps[2].channel, 15);
  EXPECT_EQ(model.steps[2].action, kKeepOn);    // a channel that does not exist is not in use
  EXPECT_EQ(model.steps[3].action, kKeepNone);  // 0xD on a keep channel
  EXPECT_EQ(model.steps[4].channel, 0);
  EXPECT_EQ(model.steps[4].action, kKeepOff);
  EXPECT_FALSE(model.steps[4].used());
}

TEST(UnpackSummerTimeAndRadio, FieldsFromTheirBits) {
  ImageRig rig(2026);
  SettingsImage image;
  InitImage(image);
  const uint8_t summer[6] = {0xFF, 0xFF, 0xFE, 0xFD, 0x08, 0xFC};
  std::memcpy(image.data() + layout::kSummerTime, summer, 6);
  image[layout::kRadioFrequency] = 0xFF;
  image[layout::kRadioFrequency + 1] = 0xFF;
  std::memcpy(image.data() + layout::kRadioStation, "ABCDEFGHIJKLMN", 14);
  const ScheduleModel model = rig.Unpack(image);
  EXPECT_EQ(model.summerTimeEnabled, 1);
  const SummerTimeRule& rule = model.summerTime;
  EXPECT_EQ(std::vector<int>({rule.startMonth, rule.startWeek, rule.startWeekday, rule.startHour,
                              rule.endMonth, rule.endWeek, rule.endWeekday, rule.endHour}),
            std::vector<int>({15, 15, 7, 0xFE, 0xFD, 0, 0, 0xFC}));
  EXPECT_EQ(model.radioFrequency, 65535);
  EXPECT_EQ(std::string(model.radioStation.data(), 14), "ABCDEFGHIJKLMN");
}

TEST(RoundTrip, ChannelsStepsSummerAndRadioComeBack) {
  ImageRig rig(2026);
  ScheduleModel model = EmptyModel();
  model.holidayEnabled = 1;
  model.holidayProgram = 3;
  model.basicProgram = 2;
  model.channels[0] = {kChannelTimeSignal, 1, 5, 3};
  model.channels[7] = {kChannelKeep, 0, 0, 0};
  model.steps[0] = {2, 1, {0, 1, 1, 1, 1, 1, 0}, 8, 30, 4};
  model.steps[1] = {2, 8, {0, 1, 1, 1, 1, 1, 0}, 8, 30, kKeepOn};
  model.steps[2] = {3, 8, {1, 0, 0, 0, 0, 0, 1}, 18, 0, kKeepOff};
  model.stepCount = 3;
  model.summerTimeEnabled = 1;
  model.summerTime = {3, 5, 1, 2, 10, 5, 1, 3};
  model.radioFrequency = 825;
  std::memcpy(model.radioStation.data(), "\x93\x8c\x8b\x9e", 4);
  const ScheduleModel back = rig.Unpack(rig.Pack(model));
  EXPECT_EQ(back, model);
}

TEST(RoundTripPeriods, EveryYearMarchComesBackAsOnePeriod) {
  ImageRig rig(2026);
  ScheduleModel model = EmptyModel();
  model.periods[0] = Period(kEveryYear, 3, 1, 3, 31, 5);
  const SettingsImage image = rig.Pack(model);
  for (std::size_t grid : {layout::kPeriodGridCurrent, layout::kPeriodGridNext}) {
    for (int day = 1; day <= 31; ++day) EXPECT_EQ(GridByte(image, grid, 3, day), 5);
  }
  EXPECT_EQ(Periods(rig.Unpack(image)), std::vector{Period(kEveryYear, 3, 1, 3, 31, 5)});
}

TEST(RoundTripPeriods, MonthEndsJoinTheNextMonth) {
  ImageRig rig(2026);
  ScheduleModel model = EmptyModel();
  model.periods[0] = Period(kEveryYear, 4, 1, 4, 30, 5);
  model.periods[1] = Period(kEveryYear, 5, 1, 5, 20, 5);
  model.periods[2] = Period(2026, 1, 15, 2, 28, 6);
  model.periods[3] = Period(2026, 3, 1, 3, 3, 6);
  model.periods[4] = Period(2027, 6, 1, 6, 30, 7);
  model.periods[5] = Period(2027, 6, 10, 6, 12, 8);  // overlapping: the visible pieces remain
  EXPECT_EQ(Periods(rig.Unpack(rig.Pack(model))),
            (std::vector{Period(kEveryYear, 4, 1, 5, 20, 5), Period(2026, 1, 15, 3, 3, 6),
                         Period(2027, 6, 1, 6, 9, 7), Period(2027, 6, 10, 6, 12, 8),
                         Period(2027, 6, 13, 6, 30, 7)}));
}

// An every-year period from 29 February: whether it survives depends on the two image years.
struct LeapStartCase {
  int clockYear;
  std::vector<PeriodEntry> expected;
};

// Names the case by its clock year, not by the bytes of its vector.
void PrintTo(const LeapStartCase& c, std::ostream* out) { *out << "clock " << c.clockYear; }

class RoundTripLeapStart : public ::testing::TestWithParam<LeapStartCase> {};

TEST_P(RoundTripLeapStart, TwentyNinthOfFebruaryToTenthOfMarch) {
  ImageRig rig(GetParam().clockYear);
  ScheduleModel model = EmptyModel();
  model.periods[0] = Period(kEveryYear, 2, 29, 3, 10, 6);
  model.leapStartProgram = 6;
  EXPECT_EQ(Periods(rig.Unpack(rig.Pack(model))), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Years, RoundTripLeapStart,
    ::testing::Values(
        LeapStartCase{2025, {Period(kEveryYear, 2, 29, 3, 10, 6)}},
        LeapStartCase{2027, {Period(2027, 3, 1, 3, 10, 6), Period(2028, 2, 29, 3, 10, 6)}},
        LeapStartCase{2028, {Period(2028, 2, 29, 3, 10, 6), Period(2029, 3, 1, 3, 10, 6)}}));

TEST(RoundTripPeriods, WithoutTheLeapProgramTheStartIsFirstOfMarch) {
  ImageRig rig(2025);
  ScheduleModel model = EmptyModel();
  model.periods[0] = Period(kEveryYear, 2, 29, 3, 10, 6);
  EXPECT_EQ(Periods(rig.Unpack(rig.Pack(model))), std::vector{Period(kEveryYear, 3, 1, 3, 10, 6)});
}

TEST(RoundTripPeriods, EveryYearPeriodEndingOnTwentyNinthOfFebruary) {
  for (int clockYear : {2025, 2027, 2028}) {
    ImageRig rig(clockYear);
    ScheduleModel model = EmptyModel();
    model.periods[0] = Period(kEveryYear, 1, 20, 2, 29, 4);
    model.leapEndProgram = 4;
    EXPECT_EQ(Periods(rig.Unpack(rig.Pack(model))),
              std::vector{Period(kEveryYear, 1, 20, 2, 29, 4)})
        << clockYear;
  }
}

TEST(RoundTripPeriods, ALeapYearGridDecidesTheTwentyNinthOfFebruary) {
  for (int clockYear : {2027, 2028}) {
    const int leapYear = 2028;
    const std::size_t leapGrid =
        clockYear == 2027 ? layout::kPeriodGridNext : layout::kPeriodGridCurrent;
    ImageRig rig(clockYear);
    // No remembered program ends on 29 February, yet the leap year's grid covers it.
    ScheduleModel model = EmptyModel();
    model.periods[0] = Period(kEveryYear, 1, 20, 2, 29, 4);
    EXPECT_EQ(Periods(rig.Unpack(rig.Pack(model))),
              std::vector{Period(kEveryYear, 1, 20, 2, 29, 4)})
        << clockYear;
    // Two every-year periods meet on 29 February and the later one owns it.
    model.periods[0] = Period(kEveryYear, 2, 29, 3, 10, 6);
    model.periods[1] = Period(kEveryYear, 1, 20, 2, 29, 4);
    model.leapStartProgram = 6;
    model.leapEndProgram = 4;
    const SettingsImage first = rig.Pack(model);
    ASSERT_EQ(GridByte(first, leapGrid, 2, 29), 4) << leapYear;
    const SettingsImage second = rig.Pack(rig.Unpack(first));
    EXPECT_EQ(GridByte(second, leapGrid, 2, 29), 4) << leapYear;
    EXPECT_EQ(GridByte(second, leapGrid, 3, 1), 6) << leapYear;
  }
}

TEST(RoundTripPeriods, LeapDayOnlyPeriodIsRestoredFromTheLeapPrograms) {
  ImageRig rig(2025);
  ScheduleModel model = EmptyModel();
  model.periods[0] = Period(kEveryYear, 2, 29, 2, 29, 9);
  model.periods[1] = Period(kEveryYear, 7, 1, 7, 2, 3);
  model.leapStartProgram = 9;
  model.leapEndProgram = 9;
  const SettingsImage image = rig.Pack(model);
  EXPECT_EQ(GridByte(image, layout::kPeriodGridCurrent, 2, 29), 9);
  EXPECT_EQ(Periods(rig.Unpack(image)),
            (std::vector{Period(kEveryYear, 7, 1, 7, 2, 3), Period(kEveryYear, 2, 29, 2, 29, 9)}));
  // When an every-year period already took the leap day, nothing is added.
  model.periods[2] = Period(kEveryYear, 2, 29, 3, 5, 9);
  EXPECT_EQ(Periods(rig.Unpack(rig.Pack(model))),
            (std::vector{Period(kEveryYear, 2, 29, 3, 5, 9), Period(kEveryYear, 7, 1, 7, 2, 3)}));
}

TEST(RoundTripPeriods, FileFromAnEarlierYearMovesItsNextYearForward) {
  ImageRig rig(2025);
  ScheduleModel model = EmptyModel();
  model.periods[0] = Period(kEveryYear, 8, 1, 8, 31, 1);
  model.periods[1] = Period(2025, 9, 1, 9, 2, 2);
  model.periods[2] = Period(2026, 10, 1, 10, 2, 3);
  model.dates[0] = Date(kEveryYear, 1, 1, 4);
  model.dates[1] = Date(2025, 1, 2, 5);
  model.dates[2] = Date(2026, 1, 3, 6);
  const SettingsImage image = rig.Pack(model);

  rig.SetClockYear(2026);
  ScheduleModel later = rig.Unpack(image);
  EXPECT_EQ(Periods(later),
            (std::vector{Period(kEveryYear, 8, 1, 8, 31, 1), Period(2026, 10, 1, 10, 2, 3)}));
  EXPECT_EQ(Dates(later), (std::vector{Date(kEveryYear, 1, 1, 4), Date(2026, 1, 3, 6)}));

  rig.SetClockYear(2027);  // both years are gone
  later = rig.Unpack(image);
  EXPECT_EQ(Periods(later), std::vector{Period(kEveryYear, 8, 1, 8, 31, 1)});
  EXPECT_EQ(Dates(later), std::vector{Date(kEveryYear, 1, 1, 4)});
}

TEST(RoundTripPeriods, AtMostTwoHundredRunsPerGrid) {
  ImageRig rig(2026);
  SettingsImage image;
  InitImage(image);
  image[layout::kPeriodGridCurrent] = 26;
  image[layout::kPeriodGridNext] = 27;
  // Alternating programs over the seven 31-day months: 217 runs of one day each.
  int index = 0;
  for (int month : {1, 3, 5, 7, 8, 10, 12}) {
    for (int day = 1; day <= 31; ++day, ++index) {
      image[layout::kPeriodGridCurrent + layout::GridSlot(month, day)] =
          static_cast<uint8_t>(1 + index % 2);
    }
  }
  const std::vector<PeriodEntry> periods = Periods(rig.Unpack(image));
  ASSERT_EQ(periods.size(), 200u);
  EXPECT_EQ(periods[0], Period(2026, 1, 1, 1, 1, 1));
  EXPECT_EQ(periods[199], Period(2026, 12, 14, 12, 14, 2));
}

TEST(RoundTripDates, HolidayCellsAreNotIndividualDates) {
  ImageRig rig(2026, "[2026]\r\n05=3,4,5\r\n[2027]\r\n05=3,4\r\n");
  ScheduleModel model = EmptyModel();
  model.holidayEnabled = 1;
  model.holidayProgram = 9;
  model.dates[0] = Date(2026, 5, 5, 8);        // over a holiday
  model.dates[1] = Date(kEveryYear, 5, 4, 9);  // same program as the holidays
  model.dates[2] = Date(kEveryYear, 12, 24, 9);
  model.dates[3] = Date(2027, 5, 6, 9);
  const ScheduleModel back = rig.Unpack(rig.Pack(model));
  EXPECT_EQ(Dates(back),
            (std::vector{Date(kEveryYear, 12, 24, 9), Date(2026, 5, 5, 8), Date(2027, 5, 6, 9)}));
  // Without the holiday setting the holiday program is an ordinary date.
  ImageRig off(2026, "[2026]\r\n05=3\r\n");
  ScheduleModel plain = EmptyModel();
  plain.holidayProgram = 9;
  plain.dates[0] = Date(2026, 5, 3, 9);
  EXPECT_EQ(Dates(off.Unpack(off.Pack(plain))), std::vector{Date(2026, 5, 3, 9)});
}

TEST(RoundTripDates, EveryYearLeapDayComesBackInTheLeapYearOnly) {
  ImageRig rig(2027);
  ScheduleModel model = EmptyModel();
  model.dates[0] = Date(kEveryYear, 2, 29, 4);
  model.dates[1] = Date(kEveryYear, 6, 30, 5);
  EXPECT_EQ(Dates(rig.Unpack(rig.Pack(model))),
            (std::vector{Date(kEveryYear, 6, 30, 5), Date(2028, 2, 29, 4)}));
}

TEST(RoundTripDates, DaysTheGridYearLacksAreNoDates) {
  ImageRig rig(2026);
  SettingsImage image;
  InitImage(image);
  image[layout::kSpecialGridCurrent] = 26;
  image[layout::kSpecialGridNext] = 27;
  for (std::size_t grid : {layout::kSpecialGridCurrent, layout::kSpecialGridNext}) {
    image[grid + layout::GridSlot(4, 31)] = 3;
    image[grid + layout::GridSlot(2, 29)] = 4;
    image[grid + layout::GridSlot(2, 30)] = 4;
    image[grid + layout::GridSlot(1, 31)] = 5;
  }
  EXPECT_EQ(Dates(rig.Unpack(image)), std::vector{Date(kEveryYear, 1, 31, 5)});
}

TEST(RoundTripDates, AtMostTwoHundredDates) {
  ImageRig rig(2026);
  SettingsImage image;
  InitImage(image);
  image[layout::kSpecialGridCurrent] = 26;
  image[layout::kSpecialGridNext] = 27;
  for (int slot = 0; slot < 372; ++slot) {
    image[layout::kSpecialGridCurrent + 1 + slot] = 1;
    image[layout::kSpecialGridNext + 1 + slot] = 2;
  }
  const std::vector<DateEntry> dates = Dates(rig.Unpack(image));
  ASSERT_EQ(dates.size(), 200u);
  EXPECT_EQ(dates[199], Date(2026, 7, 19, 1));  // 200th existing day of 2026
}

// The year bytes decide which year a grid's days belong to, not the grid's place: a next-year
// grid that holds the current year keeps its days as the current year's, beside a current-year
// grid of the same or a later year; one of a past year is dropped.
TEST(HostileImage, ANextYearGridOfTheCurrentYearKeepsItsDays) {
  ImageRig rig(2026);
  struct Case {
    int currentByte;
    int nextByte;
    std::vector<PeriodEntry> periods;
    std::vector<DateEntry> dates;
  };
  const Case cases[] = {
      {26,
       26,
       {Period(2026, 3, 1, 3, 2, 1), Period(2026, 10, 1, 10, 2, 3)},
       {Date(2026, 1, 2, 5), Date(2026, 1, 3, 6)}},
      {27,
       26,
       {Period(2027, 3, 1, 3, 2, 1), Period(2026, 10, 1, 10, 2, 3)},
       {Date(2027, 1, 2, 5), Date(2026, 1, 3, 6)}},
      {25, 26, {Period(2026, 10, 1, 10, 2, 3)}, {Date(2026, 1, 3, 6)}},  // a file of last year
      {26, 25, {Period(2026, 3, 1, 3, 2, 1)}, {Date(2026, 1, 2, 5)}},
  };
  for (const Case& c : cases) {
    SettingsImage image;
    InitImage(image);
    image[layout::kPeriodGridCurrent] = static_cast<uint8_t>(c.currentByte);
    image[layout::kSpecialGridCurrent] = static_cast<uint8_t>(c.currentByte);
    image[layout::kPeriodGridNext] = static_cast<uint8_t>(c.nextByte);
    image[layout::kSpecialGridNext] = static_cast<uint8_t>(c.nextByte);
    for (int day : {1, 2}) {
      image[layout::kPeriodGridCurrent + layout::GridSlot(3, day)] = 1;
      image[layout::kPeriodGridNext + layout::GridSlot(10, day)] = 3;
    }
    image[layout::kSpecialGridCurrent + layout::GridSlot(1, 2)] = 5;
    image[layout::kSpecialGridNext + layout::GridSlot(1, 3)] = 6;
    const ScheduleModel model = rig.Unpack(image);
    EXPECT_EQ(Periods(model), c.periods) << c.currentByte << " " << c.nextByte;
    EXPECT_EQ(Dates(model), c.dates) << c.currentByte << " " << c.nextByte;
  }
}

TEST(HostileImage, GridYearsOfAnyValue) {
  ImageRig rig(2026);
  for (int yearByte : {0, 25, 26, 99, 100, 255}) {
    SettingsImage image;
    InitImage(image);
    for (std::size_t grid : {layout::kPeriodGridCurrent, layout::kPeriodGridNext,
                             layout::kSpecialGridCurrent, layout::kSpecialGridNext}) {
      image[grid] = static_cast<uint8_t>(yearByte);
      image[grid + layout::GridSlot(2, 29)] = 7;
      image[grid + layout::GridSlot(12, 31)] = 8;
    }
    image[layout::kPeriodGridNext] = static_cast<uint8_t>(yearByte + 3);
    image[layout::kSpecialGridNext] = static_cast<uint8_t>(yearByte + 3);
    const ScheduleModel model = rig.Unpack(image);
    for (const PeriodEntry& entry : Periods(model)) {
      EXPECT_TRUE(entry.year == kEveryYear || entry.year >= 2026) << entry;
      EXPECT_GE(entry.startDay, 1);
      EXPECT_LE(entry.startDay, MonthLength(entry.year, entry.startMonth)) << entry;
      EXPECT_LE(entry.endDay, MonthLength(entry.year, entry.endMonth)) << entry;
    }
    for (const DateEntry& entry : Dates(model)) {
      EXPECT_TRUE(entry.year == kEveryYear || entry.year >= 2026) << entry;
      EXPECT_LE(entry.day, MonthLength(entry.year, entry.month)) << entry;
    }
  }
}

TEST(HostileModel, OutOfRangeValuesPackWithinTheImage) {
  ImageRig rig(2026);
  ScheduleModel model = EmptyModel();
  model.periods[0] = Period(2026, 13, 40, 14, 50, 1);
  model.periods[1] = Period(kEveryYear, 12, 40, 12, 255, 2);
  model.periods[2] = Period(-5, 1, 1, 1, 2, 3);
  model.periods[3] = Period(2027, 0, 0, 0, 0, 4);
  model.dates[0] = Date(2026, 13, 1, 5);
  model.dates[1] = Date(kEveryYear, 0, 0, 6);
  model.dates[2] = Date(2026, 1, 255, 7);
  model.holidayProgram = 300;
  model.holidayEnabled = 1;
  const SettingsImage image = rig.Pack(model);
  EXPECT_EQ(image[layout::kPeriodGridNext], 27);  // year bytes untouched
  EXPECT_EQ(image[layout::kSpecialGridCurrent], 26);
  for (std::size_t i = 1; i < layout::kYearGridSize; ++i) {
    ASSERT_EQ(image[layout::kPeriodGridCurrent + i], 0) << i;
    ASSERT_EQ(image[layout::kSpecialGridCurrent + i], 0) << i;
  }
}

// Bytes the timer reads: everything but the grid slots of days a grid's year does not have.
void ExpectSameMeaning(const SettingsImage& a, const SettingsImage& b) {
  for (std::size_t offset = 0; offset < layout::kImageSize; ++offset) {
    bool meaningful = true;
    for (std::size_t grid : {layout::kPeriodGridCurrent, layout::kPeriodGridNext,
                             layout::kSpecialGridCurrent, layout::kSpecialGridNext}) {
      if (offset <= grid || offset >= grid + layout::kYearGridSize) continue;
      const int slot = static_cast<int>(offset - grid - 1);
      meaningful = slot % 31 + 1 <= MonthLength(2000 + a[grid], slot / 31 + 1);
    }
    if (meaningful) {
      EXPECT_EQ(a[offset], b[offset]) << "offset " << offset;
    }
  }
}

// The image is lossy: the first unpack turns every-year periods that the two years see
// differently into year-specific ones, and those no longer fill the slots of 29 February in the
// common year. The timer's view stays the same, and a second round changes nothing.
TEST(RoundTrip, ARichScheduleKeepsItsMeaningAndSettles) {
  for (int clockYear : {2026, 2027, 2028}) {
    ImageRig rig(clockYear, "[2027]\r\n01=1,11\r\n05=3,4,5\r\n[2028]\r\n01=1,10\r\n05=3,4,5\r\n");
    ScheduleModel model = EmptyModel();
    model.holidayEnabled = 1;
    model.holidayProgram = 9;
    model.basicProgram = 1;
    model.leapStartProgram = 6;
    model.leapEndProgram = 4;
    model.periods[0] = Period(kEveryYear, 2, 29, 3, 10, 6);
    model.periods[1] = Period(kEveryYear, 1, 20, 2, 29, 4);
    model.periods[2] = Period(kEveryYear, 7, 1, 8, 31, 2);
    model.periods[3] = Period(2027, 7, 20, 7, 25, 3);
    model.periods[4] = Period(2028, 12, 1, 1, 10, 5);
    model.periods[5] = Period(2028, 4, 1, 4, 30, 8);
    model.dates[0] = Date(kEveryYear, 2, 29, 7);
    model.dates[1] = Date(2028, 5, 4, 8);
    model.dates[2] = Date(kEveryYear, 12, 31, 9);
    model.channels[0] = {kChannelKeep, 0, 0, 0};
    for (int i = 0; i < 30; ++i) {
      model.steps[i * 3] = {static_cast<uint8_t>(1 + i % 9), 1, {1}, 7, 0, 1};
    }
    const SettingsImage first = rig.Pack(model);
    const ScheduleModel once = rig.Unpack(first);
    const SettingsImage second = rig.Pack(once);
    ExpectSameMeaning(first, second);
    const ScheduleModel twice = rig.Unpack(second);
    EXPECT_EQ(twice, once) << clockYear;
    EXPECT_EQ(rig.Pack(twice), second) << clockYear;
  }
}

TEST(RoundTrip, WithoutLeapDaysOneRoundSettles) {
  ImageRig rig(2025, "[2025]\r\n05=3\r\n[2026]\r\n05=3\r\n");
  ScheduleModel model = EmptyModel();
  model.holidayEnabled = 1;
  model.holidayProgram = 9;
  model.periods[0] = Period(kEveryYear, 1, 20, 2, 28, 4);
  model.periods[1] = Period(kEveryYear, 4, 1, 6, 30, 2);
  model.periods[2] = Period(2026, 11, 1, 11, 30, 3);
  model.dates[0] = Date(kEveryYear, 8, 15, 5);
  model.dates[1] = Date(2025, 5, 3, 6);
  const SettingsImage first = rig.Pack(model);
  EXPECT_EQ(rig.Pack(rig.Unpack(first)), first);
}

}  // namespace
}  // namespace tavrin
