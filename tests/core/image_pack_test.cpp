#include <gtest/gtest.h>

#include <cstring>

#include "image_test_support.h"

namespace tavrin {
namespace {

using namespace testing_support;

constexpr std::size_t kCurrentPeriods = layout::kPeriodGridCurrent;
constexpr std::size_t kNextPeriods = layout::kPeriodGridNext;
constexpr std::size_t kCurrentSpecial = layout::kSpecialGridCurrent;
constexpr std::size_t kNextSpecial = layout::kSpecialGridNext;

TEST(PackHeader, EmptyModelCarriesTheBlockOffsets) {
  ImageRig rig(2026);
  ScheduleModel model = EmptyModel();
  const SettingsImage image = rig.Pack(model);
  EXPECT_EQ(std::memcmp(image.data(), "KORVA VL3 V01.00VL3X", 20), 0);
  const unsigned words[] = {6594, 48, 80, 0, 5080, 5453, 5826, 6199, 6572, 6578};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Word(image, 20 + 2 * i), words[i]) << "word " << i;
  for (std::size_t offset = 40; offset < 48; ++offset) EXPECT_EQ(image[offset], 0);
  EXPECT_EQ(image[kCurrentPeriods], 26);
  EXPECT_EQ(image[kNextPeriods], 27);
  EXPECT_EQ(image[kCurrentSpecial], 26);
  EXPECT_EQ(image[kNextSpecial], 27);
}

TEST(PackHeader, ProgramsAndSwitchesAsLowBytes) {
  ImageRig rig(2026);
  ScheduleModel model = EmptyModel();
  model.holidayEnabled = 1;
  model.holidayProgram = 12;
  model.basicProgram = 0x105;
  model.leapStartProgram = 7;
  model.leapEndProgram = 8;
  const SettingsImage image = rig.Pack(model);
  EXPECT_EQ(image[40], 1);
  EXPECT_EQ(image[41], 12);
  EXPECT_EQ(image[42], 5);
  EXPECT_EQ(image[43], 7);
  EXPECT_EQ(image[44], 8);
}

TEST(PackChannels, RecordsByKind) {
  ImageRig rig(2026);
  ScheduleModel model = EmptyModel();
  model.channels[0] = {kChannelTimeSignal, 5, 30, 2};
  model.channels[1] = {kChannelKeep, 0, 0, 0};
  model.channels[2] = {kChannelTimeSignal, 0x7F, 0, 3};  // minutes beyond six bits
  model.channels[3] = {kChannelTimeSignal, 1, 2, 9};     // no such rise time
  const SettingsImage image = rig.Pack(model);
  const uint8_t* block = image.data() + layout::kChannelBlock;
  EXPECT_EQ(std::vector<uint8_t>(block, block + 16),
            (std::vector<uint8_t>{5, 30, 0, 10, 0x80, 0, 0, 0, 0x3F, 0, 0, 30, 1, 2, 0, 0}));
  for (int i = 16; i < 32; ++i) EXPECT_EQ(block[i], 0);
}

TEST(PackSteps, UsedStepsFirstWithDayMaskAndActionCode) {
  ImageRig rig(2026);
  ScheduleModel model = EmptyModel();
  model.channels[2].kind = kChannelTimeSignal;
  model.channels[3].kind = kChannelKeep;
  model.steps[3] = {4, 0, {1, 1, 1, 1, 1, 1, 1}, 1, 1, 1};  // no channel: not used
  model.steps[10] = {4, 3, {1, 0, 0, 0, 0, 0, 1}, 7, 30, 9};
  model.steps[20] = {5, 4, {0, 1, 1, 1, 1, 1, 0}, 23, 59, kKeepOn};
  model.steps[21] = {5, 4, {0, 0, 0, 0, 0, 0, 0}, 0, 0, kKeepOff};
  model.steps[22] = {6, 3, {0, 0, 0, 0, 0, 0, 2}, 0, 0, 0x1C};  // chime cut to four bits
  const SettingsImage image = rig.Pack(model);
  EXPECT_EQ(Word(image, 26), 4u);
  const uint8_t* steps = image.data() + layout::kStepBlock;
  EXPECT_EQ(std::vector<uint8_t>(steps, steps + 20),
            (std::vector<uint8_t>{4, 0x41, 7, 30, 0x39, 5, 0x3E, 23, 59, 0x4E,
                                  5, 0,    0, 0,  0x4F, 6, 0x40, 0,  0,  0x3C}));
  for (std::size_t i = 20; i < 5000; ++i) ASSERT_EQ(steps[i], 0) << i;
}

TEST(PackSteps, ChannelsThatDoNotExistAreNotInUse) {
  ImageRig rig(2026);
  ScheduleModel model = EmptyModel();
  for (auto& channel : model.channels) channel.kind = kChannelTimeSignal;
  model.steps[0] = {1, 12, {1, 0, 0, 0, 0, 0, 0}, 1, 2, kKeepOn};
  model.steps[1] = {1, 12, {1, 0, 0, 0, 0, 0, 0}, 1, 2, 7};
  model.steps[2] = {1, 0x25, {1, 0, 0, 0, 0, 0, 0}, 1, 2, kKeepOff};
  const SettingsImage image = rig.Pack(model);
  EXPECT_EQ(image[layout::kStepBlock + 4], 0xCE);
  EXPECT_EQ(image[layout::kStepBlock + 9], 0xC0);
  EXPECT_EQ(image[layout::kStepBlock + 14], 0x5F);
}

TEST(PackSteps, AThousandUsedStepsFillEveryRecord) {
  ImageRig rig(2026);
  ScheduleModel model = EmptyModel();
  model.channels[0].kind = kChannelKeep;
  for (int i = 0; i < kStepCount; ++i) model.steps[i] = {1, 1, {1}, 0, 0, kKeepOn};
  const SettingsImage image = rig.Pack(model);
  EXPECT_EQ(Word(image, 26), 1000u);
  EXPECT_EQ(image[layout::kStepBlock + 999 * 5], 1);
  EXPECT_EQ(image[layout::kStepBlock + 999 * 5 + 4], 0x1E);
}

TEST(PackPeriods, EveryYearAndYearSpecificEntries) {
  ImageRig rig(2026);
  ScheduleModel model = EmptyModel();
  model.periods[0] = {kEveryYear, 3, 1, 3, 31, 5};
  model.periods[1] = {2026, 3, 10, 3, 12, 6};  // later entries overwrite
  model.periods[2] = {2027, 6, 1, 6, 2, 7};
  model.periods[3] = {2028, 7, 1, 7, 2, 8};  // neither image year
  model.periods[4] = {0, 8, 1, 8, 2, 9};     // empty slot
  model.periods[5] = {kEveryYear, 2, 1, 2, 29, 4};
  const SettingsImage image = rig.Pack(model);
  for (int day = 1; day <= 31; ++day) {
    EXPECT_EQ(GridByte(image, kCurrentPeriods, 3, day), day >= 10 && day <= 12 ? 6 : 5) << day;
    EXPECT_EQ(GridByte(image, kNextPeriods, 3, day), 5) << day;
  }
  EXPECT_EQ(GridByte(image, kNextPeriods, 6, 1), 7);
  EXPECT_EQ(GridByte(image, kCurrentPeriods, 6, 1), 0);
  EXPECT_EQ(GridByte(image, kCurrentPeriods, 7, 1), 0);
  EXPECT_EQ(GridByte(image, kNextPeriods, 7, 1), 0);
  EXPECT_EQ(GridByte(image, kCurrentPeriods, 8, 1), 0);
  // Every-year February has 29 days even in two common years.
  EXPECT_EQ(GridByte(image, kCurrentPeriods, 2, 29), 4);
  EXPECT_EQ(GridByte(image, kNextPeriods, 2, 29), 4);
  EXPECT_EQ(GridByte(image, kCurrentPeriods, 2, 30), 0);
  // Periods never reach the special-day grids.
  for (std::size_t i = 1; i < layout::kYearGridSize; ++i) {
    ASSERT_EQ(image[kCurrentSpecial + i], 0);
    ASSERT_EQ(image[kNextSpecial + i], 0);
  }
}

TEST(PackPeriods, YearSpecificFebruaryFollowsItsYear) {
  ImageRig rig(2027);
  ScheduleModel model = EmptyModel();
  model.periods[0] = {2027, 2, 20, 3, 1, 1};
  model.periods[1] = {2028, 2, 20, 3, 1, 2};
  const SettingsImage image = rig.Pack(model);
  EXPECT_EQ(GridByte(image, kCurrentPeriods, 2, 28), 1);
  EXPECT_EQ(GridByte(image, kCurrentPeriods, 2, 29), 0);
  EXPECT_EQ(GridByte(image, kNextPeriods, 2, 29), 2);
  EXPECT_EQ(GridByte(image, kNextPeriods, 2, 30), 0);
}

TEST(PackSpecialDays, IndividualDatesAndHolidaysFromTheCalendar) {
  ImageRig rig(2026, "[2026]\r\n05=3,4,5\r\n[2027]\r\n05=3\r\n");
  ScheduleModel model = EmptyModel();
  model.holidayEnabled = 1;
  model.holidayProgram = 9;
  model.periods[0] = {kEveryYear, 5, 1, 5, 31, 2};
  model.dates[0] = {2026, 5, 4, 3};
  model.dates[1] = {kEveryYear, 12, 24, 4};
  model.dates[2] = {kEveryYear, 2, 29, 5};  // neither year has it
  model.dates[3] = {2026, 4, 31, 6};        // no such day
  const SettingsImage image = rig.Pack(model);
  EXPECT_EQ(GridByte(image, kCurrentSpecial, 5, 3), 9);
  EXPECT_EQ(GridByte(image, kCurrentSpecial, 5, 4), 3);
  EXPECT_EQ(GridByte(image, kCurrentSpecial, 5, 5), 9);
  EXPECT_EQ(GridByte(image, kCurrentSpecial, 5, 6), 0);
  EXPECT_EQ(GridByte(image, kNextSpecial, 5, 3), 9);
  EXPECT_EQ(GridByte(image, kNextSpecial, 5, 4), 0);
  EXPECT_EQ(GridByte(image, kCurrentSpecial, 12, 24), 4);
  EXPECT_EQ(GridByte(image, kNextSpecial, 12, 24), 4);
  EXPECT_EQ(GridByte(image, kCurrentSpecial, 2, 29), 0);
  EXPECT_EQ(GridByte(image, kCurrentSpecial, 4, 31), 0);
  // The calendars handed back are the ones the grids came from.
  EXPECT_EQ(rig.calendars[0].months[4].cells[3].source, kSourceIndividual);
  EXPECT_EQ(rig.calendars[1].months[4].cells[2].source, kSourceHoliday);
  EXPECT_EQ(rig.calendars[1].months[4].cells[3].program, 2);
}

TEST(PackSummerTime, SixBytes) {
  ImageRig rig(2026);
  ScheduleModel model = EmptyModel();
  model.summerTimeEnabled = 1;
  model.summerTime = {3, 5, 1, 2, 10, 5, 1, 3};
  SettingsImage image = rig.Pack(model);
  const uint8_t* bytes = image.data() + layout::kSummerTime;
  EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 6),
            (std::vector<uint8_t>{0x83, 0x51, 2, 10, 0x51, 3}));
  model.summerTimeEnabled = 0;
  model.summerTime = {0x13, 0x12, 0x0F, 0, 0, 0, 0, 0};  // fields wider than their bits
  image = rig.Pack(model);
  EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 6), (std::vector<uint8_t>{3, 0x27, 0, 0, 0, 0}));
}

TEST(PackRadio, ModelStationGoesIntoTheImageAndIsRemembered) {
  ImageRig rig(2026);
  ScheduleModel model = EmptyModel();
  model.radioFrequency = 800;
  std::memcpy(model.radioStation.data(), "FM ABC", 6);
  const SettingsImage image = rig.Pack(model);
  EXPECT_EQ(Word(image, layout::kRadioFrequency), 800u);
  EXPECT_EQ(std::memcmp(image.data() + layout::kRadioStation, "FM ABC\0\0\0\0\0\0\0\0", 14), 0);
  EXPECT_EQ(rig.station.frequency, 800);
  EXPECT_EQ(rig.station.name, "FM ABC");
}

TEST(PackRadio, WithoutAStationTheRememberedOneIsTakenAndCut) {
  ImageRig rig(2026);
  ScheduleModel model = EmptyModel();
  // One single-byte character, then eight double-byte ones: 17 bytes.
  rig.station = {901, "A\x83\x41\x83\x42\x83\x43\x83\x44\x83\x45\x83\x46\xE0\x40\x83\x48"};
  const SettingsImage image = rig.Pack(model);
  EXPECT_EQ(model.radioFrequency, 901);
  // 14 bytes would split the seventh double-byte character: 13 are kept.
  EXPECT_EQ(std::string(model.radioStation.data(), 14),
            std::string("A\x83\x41\x83\x42\x83\x43\x83\x44\x83\x45\x83\x46\0", 14));
  EXPECT_EQ(std::memcmp(image.data() + layout::kRadioStation, model.radioStation.data(), 14), 0);
  EXPECT_EQ(rig.station.name, "A\x83\x41\x83\x42\x83\x43\x83\x44\x83\x45\x83\x46");

  ScheduleModel plain = EmptyModel();
  rig.station = {902, "ABCDEFGHIJKLMNOPQ"};
  rig.Pack(plain);
  EXPECT_EQ(std::string(plain.radioStation.data(), 14), "ABCDEFGHIJKLMN");
}

TEST(PackRadio, NoRememberedStationMeansTheDefault) {
  ImageRig rig(2026);
  for (int frequency : {0, -5, 70000}) {
    ScheduleModel model = EmptyModel();
    rig.station = {frequency, "X"};
    const SettingsImage image = rig.Pack(model);
    EXPECT_EQ(Word(image, layout::kRadioFrequency), 825u) << frequency;
    EXPECT_EQ(std::memcmp(image.data() + layout::kRadioStation, "\x93\x8c\x8b\x9e\0", 5), 0);
    EXPECT_EQ(rig.station.frequency, 825);
  }
}

TEST(PackRadio, ModeWithoutRadioZeroesTheImageOnly) {
  ImageRig rig(2026, "", false);
  ScheduleModel model = EmptyModel();
  rig.station = {880, "Station"};
  const SettingsImage image = rig.Pack(model);
  for (std::size_t i = layout::kRadioFrequency; i < layout::kImageSize; ++i) {
    EXPECT_EQ(image[i], 0) << i;
  }
  EXPECT_EQ(model.radioFrequency, 880);
  EXPECT_EQ(std::string(model.radioStation.data()), "Station");
}

}  // namespace
}  // namespace tavrin
