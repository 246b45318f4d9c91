#include <gtest/gtest.h>

#include <algorithm>

#include "CsvFixture.h"

namespace tavrin {
namespace {

using testing::CsvFixture;
using testing::MakeStep;
using Lines = std::vector<std::string>;

std::string Sjis(const std::string& utf8) { return ToShiftJis(utf8).value(); }

class CsvReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    f.model.channels[0] = {kChannelTimeSignal, 0, 5, 0};
    f.model.channels[1] = {kChannelKeep, 0, 0, 0};
  }
  // The day lines that section 12 gives for one program and channel.
  Lines WeeklyLines(int program, int channel) {
    Lines body = f.Section(";＜週間プログラムの確認＞");
    const std::string prefix = "P" + std::to_string(program) + ",";
    const std::string channelText = ",CH" + std::to_string(channel) + ",";
    Lines out;
    bool inside = false;
    for (const std::string& line : body) {
      if (line[0] == 'P') {
        inside = line.rfind(prefix, 0) == 0 && line.find(channelText) != std::string::npos;
      } else if (inside) {
        out.push_back(line);
      }
    }
    return out;
  }
  CsvFixture f;
};

TEST_F(CsvReportTest, KeepLineOfAWorkingDay) {
  f.model.steps[0] = MakeStep(1, 2, "0100000", 8, 15, kKeepOn);
  f.model.steps[1] = MakeStep(1, 2, "0100000", 17, 0, kKeepOff);
  ASSERT_TRUE(f.Write());
  EXPECT_EQ(WeeklyLines(1, 2), Lines{"月,-,-,-,-,-,-,|-,-,<=,=,=,=,|=,=,=,=,=>,-,|-,-,-,-,-,-"});
}

TEST_F(CsvReportTest, KeepLinesOfEveryShape) {
  // Sunday: on and off within one hour; Monday: off earlier than on in the same hour;
  // Tuesday: overnight (off in the morning, on in the evening); Wednesday: off at midnight;
  // Thursday: only an off; Friday: on at 23 o'clock after an off.
  f.model.steps[0] = MakeStep(1, 2, "1000000", 10, 5, kKeepOn);
  f.model.steps[1] = MakeStep(1, 2, "1000000", 10, 50, kKeepOff);
  f.model.steps[2] = MakeStep(1, 2, "0100000", 10, 50, kKeepOn);
  f.model.steps[3] = MakeStep(1, 2, "0100000", 10, 5, kKeepOff);
  f.model.steps[4] = MakeStep(1, 2, "0010000", 7, 0, kKeepOff);
  f.model.steps[5] = MakeStep(1, 2, "0010000", 20, 0, kKeepOn);
  f.model.steps[6] = MakeStep(1, 2, "0001000", 0, 0, kKeepOff);
  f.model.steps[7] = MakeStep(1, 2, "0001000", 9, 0, kKeepOn);
  f.model.steps[8] = MakeStep(1, 2, "0000100", 13, 30, kKeepOff);
  f.model.steps[9] = MakeStep(1, 2, "0000010", 23, 10, kKeepOn);
  f.model.steps[10] = MakeStep(1, 2, "0000010", 3, 30, kKeepOff);
  ASSERT_TRUE(f.Write());
  EXPECT_EQ(WeeklyLines(1, 2), (Lines{"日,-,-,-,-,-,-,|-,-,-,-,<=>,-,|-,-,-,-,-,-,|-,-,-,-,-,-",
                                      "月,-,-,-,-,-,-,|-,-,-,-,<=,=,|=,=,=,=,=,=,|=,=,=,=,=,=",
                                      "火,=,=,=,=,=,=,|=>,-,-,-,-,-,|-,-,-,-,-,-,|-,-,<=,=,=,=",
                                      "水,-,-,-,-,-,-,|-,-,-,<=,=,=,|=,=,=,=,=,=,|=,=,=,=,=,=>",
                                      "木,-,-,-,-,-,-,|-,-,-,-,-,-,|-,=>,-,-,-,-,|-,-,-,-,-,-",
                                      "金,=,=,=,=>,-,-,|-,-,-,-,-,-,|-,-,-,-,-,-,|-,-,-,-,-,<="}));
}

TEST_F(CsvReportTest, TimeSignalCellListsTheLastChimeFirst) {
  f.model.steps[0] = MakeStep(4, 1, "1000000", 7, 0, 1);
  f.model.steps[1] = MakeStep(4, 1, "1000000", 7, 30, 3);
  // A fifth chime in one hour is not shown; a code outside the table shows as 0.
  for (int i = 0; i < 4; ++i) f.model.steps[2 + i] = MakeStep(4, 1, "0000001", 12, i * 10, 2);
  f.model.steps[6] = MakeStep(4, 1, "0000001", 12, 50, 5);
  f.model.steps[7] = MakeStep(4, 1, "0000001", 18, 0, 14);
  ASSERT_TRUE(f.Write());
  EXPECT_EQ(WeeklyLines(4, 1),
            (Lines{"日,-,-,-,-,-,-,|-,3.1,-,-,-,-,|-,-,-,-,-,-,|-,-,-,-,-,-",
                   "土,-,-,-,-,-,-,|-,-,-,-,-,-,|2.2.2.2,-,-,-,-,-,|0,-,-,-,-,-"}));
  Lines settings = f.Section(";＜週間プログラム設定＞");
  EXPECT_EQ(settings.back(), "S8,-,-,-,-,-,-,土,18時,0分,0.（なし）");
  EXPECT_EQ(settings[1], "S1,日,-,-,-,-,-,-,7時,0分,\"1.ウエストミンスターの鐘\"");
}

TEST_F(CsvReportTest, StepsAreSortedAndNumberedPerProgramAndChannel) {
  f.model.steps[10] = MakeStep(3, 2, "1111111", 7, 30, kKeepOn);
  f.model.steps[20] = MakeStep(3, 1, "0111110", 7, 30, 2);
  f.model.steps[30] = MakeStep(2, 1, "0000001", 23, 0, 1);
  f.model.steps[40] = MakeStep(3, 5, "1000000", 6, 0, 1);  // channel not in use
  ASSERT_TRUE(f.Write());
  EXPECT_EQ(f.Section(";＜週間プログラム・リスト＞"),
            (Lines{"P2,報時,-,-,-,-,-,-,-", "P3,報時,キープ,-,-,-,-,-,-"}));
  EXPECT_EQ(f.Section(";＜週間プログラム一覧＞"),
            (Lines{"S1,P2,23時,0分,CH1,-,-,-,-,-,-,土,\"1.ウエストミンスターの鐘\"",
                   "S2,P3,7時,30分,CH1,-,月,火,水,木,金,-,\"2.エーデルワイス\"",
                   "S3,P3,7時,30分,CH2,日,月,火,水,木,金,土,ON"}));
  EXPECT_EQ(f.model.steps[0].program, 2);  // the working model itself is sorted
  EXPECT_EQ(f.model.steps[1].channel, 5);
}

TEST_F(CsvReportTest, EmptyScheduleGivesBareSections) {
  f.model.channels = {};
  ASSERT_TRUE(f.Write());
  for (const char* heading :
       {";＜チャンネル設定＞", ";＜週間プログラム・リスト＞", ";＜週間プログラム設定＞",
        ";＜週間プログラム一覧＞", ";＜週間プログラム名一覧＞", ";＜年間プログラム期間設定＞",
        ";＜年間プログラム個別設定＞"}) {
    EXPECT_TRUE(f.Section(heading).empty()) << heading;
  }
  EXPECT_EQ(f.Section(";＜週間プログラムの確認＞"),
            Lines{"; |:6時,12時,18時の位置, <=:キープON, =>:キープOFF"});
  EXPECT_EQ(f.Section(";＜年間プログラム基本設定＞"), Lines{"基本,(なし)"});
  EXPECT_EQ(f.Section(";＜年間プログラム祭日設定＞"), (Lines{"祭日,(なし)", "実施,しない"}));
  EXPECT_EQ(f.Section(";＜サマータイム設定＞"),
            (Lines{"開始,-,-,-,-", "終了,-,-,-,-", "実施,しない"}));
}

TEST_F(CsvReportTest, OrderNumbersSkipEmptySlots) {
  f.model.periods[3] = {kEveryYear, 7, 21, 8, 31, 3};
  f.model.periods[150] = {2026, 1, 1, 1, 7, 4};
  f.model.dates[0] = {2025, 11, 3, 2};
  f.model.dates[199] = {kEveryYear, 12, 31, 7};
  ASSERT_TRUE(f.Write());
  EXPECT_EQ(f.Section(";＜年間プログラム期間設定＞"),
            (Lines{"1,毎年,7月,21日,8月,31日,P3", "2,2026年,1月,1日,1月,7日,P4"}));
  EXPECT_EQ(f.Section(";＜年間プログラム個別設定＞"),
            (Lines{"1,2025年,11月,3日,P2", "2,毎年,12月,31日,P7"}));
}

TEST_F(CsvReportTest, NameListShowsStepCountsAndUses) {
  f.SetName(5, "SPARE");
  f.SetName(9, Sjis("予備"));
  f.model.steps[0] = MakeStep(1, 1, "0100000", 8, 0, 1);
  f.model.steps[1] = MakeStep(1, 2, "0100000", 8, 0, kKeepOn);
  f.model.steps[2] = MakeStep(6, 1, "0100000", 8, 0, 1);
  f.model.basicProgram = 1;
  f.model.periods[0] = {2025, 8, 1, 8, 10, 1};
  f.model.dates[0] = {2025, 9, 1, 1};
  f.model.holidayProgram = 6;  // not in force: no use
  f.model.periods[1] = {2025, 9, 1, 9, 2, 5};
  ASSERT_TRUE(f.Write());
  EXPECT_EQ(f.Section(";＜週間プログラム名一覧＞"),
            (Lines{"P1,-,2,基本.期間.個別", "P5,\"SPARE\",0,期間", "P6,-,1,-", "P9,\"予備\",0,-"}));
  f.model.holidayEnabled = 1;
  ASSERT_TRUE(f.Write());
  EXPECT_EQ(f.Section(";＜週間プログラム名一覧＞")[2], "P6,-,1,祭日");
  EXPECT_EQ(f.Section(";＜年間プログラム祭日設定＞"), (Lines{"祭日,P6", "実施,する"}));
}

TEST_F(CsvReportTest, ChannelsAndSummerTime) {
  f.model.channels[0] = {kChannelTimeSignal, 1, 30, 3};
  f.model.channels[6] = {kChannelTimeSignal, 0, 0, 2};
  f.model.summerTime = {3, 5, 1, 2, 10, 5, 7, 3};
  f.model.summerTimeEnabled = 1;
  ASSERT_TRUE(f.Write());
  EXPECT_EQ(f.Section(";＜チャンネル設定＞"),
            (Lines{"CH1,報時,1分,30秒,-30秒", "CH2,キープ,-,-,-", "CH7,報時,0分,0秒,-10秒"}));
  EXPECT_EQ(f.Section(";＜サマータイム設定＞"),
            (Lines{"開始,3月,最終,日,2時", "終了,10月,最終,土,3時", "実施,する"}));
}

TEST_F(CsvReportTest, RadioLineFollowsTheMode) {
  f.model.radioFrequency = 825;
  std::memcpy(f.model.radioStation.data(), "\x93\x8c\x8b\x9e", 4);
  ASSERT_TRUE(f.Write());
  EXPECT_EQ(f.Section(";＜ラジオ選局＞"), Lines{"放送局,東京,82.5MHz"});

  // 901..903 are television channels beside a television channel's name, MHz beside any other.
  f.model.radioFrequency = 902;
  ASSERT_TRUE(f.Write());
  EXPECT_EQ(f.Section(";＜ラジオ選局＞"), Lines{"放送局,東京,90.2MHz"});
  const std::string channel = *ToShiftJis("２ｃｈ");
  f.model.radioStation.fill(0);
  std::memcpy(f.model.radioStation.data(), channel.data(), channel.size());
  ASSERT_TRUE(f.Write());
  EXPECT_EQ(f.Section(";＜ラジオ選局＞"), Lines{"放送局,２ｃｈ,902MHz"});

  f.model.radioFrequency = 0;
  ASSERT_TRUE(f.Write());
  EXPECT_EQ(f.Section(";＜ラジオ選局＞"), Lines{"放送局,-,-"});
  // Packing for the calendar section took the station remembered from the last packing.
  EXPECT_EQ(f.model.radioFrequency, 902);
  EXPECT_EQ(f.station.frequency, 902);

  f.settings.mode = 2;
  ASSERT_TRUE(f.Write());
  Lines lines = f.Lines();
  EXPECT_EQ(std::find(lines.begin(), lines.end(), ";＜ラジオ選局＞"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), ";＜週間プログラムの確認＞"), lines.end());
}

TEST_F(CsvReportTest, CutTextsNeverSplitADoubleByteCharacter) {
  // 15 single bytes and a double-byte character that does not fit the 16 bytes.
  std::string name = "ABCDEFGHIJKLMNO" + Sjis("鐘");
  std::memcpy(f.names.names[2].data(), name.data(), 16);
  f.model.steps[0] = MakeStep(2, 1, "1000000", 9, 0, 1);
  // "1." plus 59 bytes of name leaves room for 29 double-byte characters and no 30th.
  std::string melody;
  for (int i = 0; i < 31; ++i) melody += Sjis("鐘");
  f.settings.chimes[0].code = 1;
  std::memset(f.settings.chimes[0].name.data(), 0, 64);
  std::memcpy(f.settings.chimes[0].name.data(), melody.data(), 62);
  const std::string station = "ABCDEFGHIJKLM" + Sjis("局");
  std::memcpy(f.model.radioStation.data(), station.data(), 14);
  f.model.radioFrequency = 800;
  ASSERT_TRUE(f.Write());
  Lines settings = f.Section(";＜週間プログラム設定＞");
  EXPECT_EQ(settings[0], "P2,\"ABCDEFGHIJKLMNO\",CH1,報時");
  std::string bells;
  for (int i = 0; i < 29; ++i) bells += "鐘";
  EXPECT_EQ(settings[1], "S1,日,-,-,-,-,-,-,9時,0分,\"1." + bells + "\"");
  EXPECT_EQ(f.Section(";＜ラジオ選局＞"), Lines{"放送局,ABCDEFGHIJKLM,80.0MHz"});
}

TEST_F(CsvReportTest, HeaderAndLineBuffer) {
  f.title = std::string(600, 'T');  // does not fit the line buffer: left out
  ASSERT_TRUE(f.Write());
  Lines lines = f.Lines();
  EXPECT_EQ(lines[0], ";" + std::string(71, '-'));
  EXPECT_EQ(lines[1], "; KORVA PROGRAM TIMER V01.00");
  EXPECT_EQ(lines[2], "; ");
  EXPECT_EQ(lines[3], "; 2025年04月01日 08時05分09秒");
  EXPECT_EQ(lines[4], "; CH=チャンネル番号，P=プログラム番号，S=ステップ, 行先頭の数字=順位番号");
  EXPECT_EQ(lines[5], lines[0]);
  EXPECT_EQ(lines[6], ";＜チャンネル設定＞");
}

TEST_F(CsvReportTest, OutputGoesOutInWholeLinesOfAtMost2048Bytes) {
  for (int i = 0; i < 300; ++i) f.model.steps[i] = MakeStep(1 + i % 20, 1, "1111111", i % 24, 0, 1);
  ASSERT_TRUE(f.Write());
  ASSERT_GT(f.output.chunks.size(), 5u);
  for (std::size_t i = 0; i < f.output.chunks.size(); ++i) {
    const std::string& chunk = f.output.chunks[i];
    EXPECT_LE(chunk.size(), 2048u);
    EXPECT_EQ(chunk.substr(chunk.size() - 2), "\r\n");
    if (i + 1 < f.output.chunks.size()) {
      // Flushed only because the next line did not fit.
      std::size_t next = f.output.chunks[i + 1].find("\r\n") + 2;
      EXPECT_GT(chunk.size() + next, 2048u);
    }
  }
}

TEST_F(CsvReportTest, FailedWriteStopsTheReport) {
  for (int i = 0; i < 300; ++i) f.model.steps[i] = MakeStep(1 + i % 20, 1, "1111111", i % 24, 0, 1);
  f.output.failAfter = 2;
  CsvWriter writer(f.output);
  const CsvReportInput input{f.model, f.names,     f.settings, true,
                             f.years, f.calendars, f.title,    f.now};
  EXPECT_FALSE(WriteCsvReport(writer, input));
  EXPECT_EQ(f.output.writes, 2);
  EXPECT_TRUE(writer.failed());
}

TEST_F(CsvReportTest, CalendarCellsMarkSundaysHolidaysAndSources) {
  f.holidays.yearCount = 1;
  f.holidays.years[0] = 2025;
  f.holidays.days[0][10] = {3, 23, 24};  // November 2025
  f.model.holidayEnabled = 1;
  f.model.holidayProgram = 5;
  f.model.periods[0] = {kEveryYear, 11, 1, 11, 9, 2};
  f.model.dates[0] = {2025, 11, 24, 7};
  ASSERT_TRUE(f.Write());
  Lines annual = f.Section(";＜年間プログラムの確認＞");
  ASSERT_EQ(annual.size(), 1u + 2 * 13);
  EXPECT_EQ(annual[1], "2025年");
  EXPECT_EQ(annual[12],
            "11月,2,*2,#H5,2,2,2,2,2,*2,|-,-,-,-,-,-,*-,-,-,-,|-,-,-,*#H5,#K7,-,-,-,-,-,|*-");
  EXPECT_EQ(annual[14], "2026年");
  EXPECT_EQ(annual[14 + 11],
            "11月,*2,2,2,2,2,2,2,*2,2,|-,-,-,-,-,*-,-,-,-,-,|-,-,*-,-,-,-,-,-,-,*-,|-");
  EXPECT_EQ(annual[14 + 2].size(), std::string("2月").size() + 28 * 2 + 6);
}

}  // namespace
}  // namespace tavrin
