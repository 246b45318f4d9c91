#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "calendar/HolidayFile.h"

namespace tavrin {
namespace {

HolidayTable Parse(const std::string& text) {
  HolidayTable table;
  std::memset(&table, 0x5A, sizeof table);  // parsing must clear what was there
  ParseHolidayText(text.data(), text.size(), table);
  return table;
}

std::vector<int> Slots(const HolidayTable& table, int section, int month) {
  std::vector<int> days;
  for (uint8_t day : table.days[section][month - 1]) days.push_back(day);
  while (!days.empty() && days.back() == 0) days.pop_back();
  return days;
}

TEST(HolidayFileLines, MonthLineListsTheDaysOfTheLatestYear) {
  const HolidayTable table = Parse("; 祭日\r\n[2030]\r\n05=3,4,5\r\n[2031]\r\n01=1\r\n");
  ASSERT_EQ(table.yearCount, 2);
  EXPECT_EQ(table.years[0], 2030);
  EXPECT_EQ(table.years[1], 2031);
  EXPECT_TRUE(table.IsHoliday(2030, 5, 3));
  EXPECT_TRUE(table.IsHoliday(2030, 5, 5));
  EXPECT_FALSE(table.IsHoliday(2030, 5, 6));
  EXPECT_FALSE(table.IsHoliday(2031, 5, 3));
  EXPECT_TRUE(table.IsHoliday(2031, 1, 1));
  EXPECT_FALSE(table.IsHoliday(2032, 1, 1));
}

TEST(HolidayFileLines, BlanksAndAnySeparatorBetweenDays) {
  for (const char* line : {"5 = 3 , 4 , 5", "05=3/4/5", "\t05=\t3,4x5", "0 5=3,,4;5"}) {
    const HolidayTable table = Parse(std::string("[2030]\r\n") + line);
    EXPECT_EQ(Slots(table, 0, 5), (std::vector<int>{3, 4, 5})) << line;
  }
}

TEST(HolidayFileLines, OutOfRangeMonthsAndDaysAreSkipped) {
  const HolidayTable table = Parse("[2030]\r\n00=1\r\n13=2\r\n01=0,32,7\r\n02=30\r\n999=1\r\n");
  EXPECT_EQ(Slots(table, 0, 1), std::vector<int>{7});
  EXPECT_EQ(Slots(table, 0, 2), std::vector<int>{30});  // stored; the calendar never flags it
  for (int month = 3; month <= 12; ++month) EXPECT_TRUE(Slots(table, 0, month).empty());
}

TEST(HolidayFileLines, AtMostThirtyOneNumbersAreTakenEvenWhenSkipped) {
  std::string line = "01=";
  for (int i = 0; i < 31; ++i) line += "40,";
  line += "5";
  EXPECT_TRUE(Slots(Parse("[2030]\r\n" + line), 0, 1).empty());
}

TEST(HolidayFileLines, SecondLineForAMonthOverwritesFromTheFirstSlot) {
  const HolidayTable table = Parse("[2030]\r\n03=1,2,3\r\n03=9\r\n");
  EXPECT_EQ(Slots(table, 0, 3), (std::vector<int>{9, 2, 3}));
}

TEST(HolidayFileLines, MalformedLinesAreIgnored) {
  const HolidayTable table =
      Parse("05=5\r\n[2030x]\r\n[2031\r\n[]\r\n[Other]\r\n1x=2\r\n[2030]\r\n04=\r\n4=29\r\nX=1");
  ASSERT_EQ(table.yearCount, 1);
  EXPECT_EQ(table.years[0], 2030);
  EXPECT_EQ(Slots(table, 0, 4), std::vector<int>{29});
  EXPECT_TRUE(Slots(table, 0, 5).empty());  // the month line before any year section
}

TEST(HolidayFileLines, HugeNumbersSaturate) {
  const HolidayTable table = Parse(
      "[9999999999999999999999999999999999999999]\r\n"
      "01=99999999999999999999999999,3\r\n"
      "0000000000000000000000000000000000000000000002=4\r\n");
  ASSERT_EQ(table.yearCount, 1);
  EXPECT_EQ(table.years[0], 32767);
  EXPECT_EQ(Slots(table, 0, 1), std::vector<int>{3});
  EXPECT_EQ(Slots(table, 0, 2), std::vector<int>{4});
}

TEST(HolidayFileLines, OnlyTheFirstSectionOfAYearCounts) {
  const HolidayTable table = Parse("[2030]\r\n01=1\r\n[2030]\r\n01=2\r\n");
  EXPECT_EQ(table.yearCount, 2);
  EXPECT_TRUE(table.IsHoliday(2030, 1, 1));
  EXPECT_FALSE(table.IsHoliday(2030, 1, 2));
}

// The table holds a section for each of the timer's 100 years, 2000..2099; a 101st ends the
// reading.
TEST(HolidayFileLines, AHundredAndFirstSectionEndsTheReading) {
  std::string text;
  for (int i = 0; i < 103; ++i) text += "[" + std::to_string(2000 + i) + "]\r\n01=1\r\n";
  const HolidayTable table = Parse(text);
  EXPECT_EQ(table.yearCount, 100);
  EXPECT_EQ(table.years[99], 2099);
  EXPECT_TRUE(table.IsHoliday(2046, 1, 1));
  EXPECT_TRUE(table.IsHoliday(2099, 1, 1));
  EXPECT_FALSE(table.IsHoliday(2100, 1, 1));
}

TEST(HolidayFileLineEnds, OnlyCrLfEndsALine) {
  // LF alone: one long line, of which only the first header counts.
  const HolidayTable lf = Parse("[2030]\n05=3\n[2031]\n01=1\n");
  ASSERT_EQ(lf.yearCount, 1);
  EXPECT_EQ(lf.years[0], 2030);
  EXPECT_TRUE(Slots(lf, 0, 5).empty());
  // A lone CR is a blank inside the line: "01=5\r03=7" reads as 01=503=7.
  const HolidayTable cr = Parse("[2030]\r\n01=5\r03=7");
  EXPECT_EQ(Slots(cr, 0, 1), std::vector<int>{7});
  EXPECT_TRUE(Slots(cr, 0, 3).empty());
}

TEST(HolidayFileLineEnds, BytesBeyondFiveHundredTenAreDropped) {
  const std::string padding(506, ' ');
  // "01=" + 506 blanks + "1" fills the 510 bytes; ",2" falls outside.
  const HolidayTable table = Parse("[2030]\r\n01=" + padding + "1,2\r\n02=3");
  EXPECT_EQ(Slots(table, 0, 1), std::vector<int>{1});
  EXPECT_EQ(Slots(table, 0, 2), std::vector<int>{3});  // the next line is read normally
}

TEST(HolidayFileVersion, SystemSectionInAnyCaseKeepsTrailingBlanks) {
  const HolidayTable table = Parse("[system]\r\nversion = V1.02 \r\n[2030]\r\n");
  EXPECT_EQ(table.Version(), "V1.02 ");
  EXPECT_EQ(table.holidayVersion[6], '\0');
}

TEST(HolidayFileVersion, OnlyInsideTheSystemSection) {
  EXPECT_EQ(Parse("Version=V1\r\n").Version(), "");
  EXPECT_EQ(Parse("[System]\r\n[2030]\r\nVersion=V1\r\n").Version(), "");
  EXPECT_EQ(Parse("[Other]\r\nVersion=V1\r\n").Version(), "");
  EXPECT_EQ(Parse("[System]\r\nVersionX=V1\r\nVer sion=\t V2\r\n").Version(), "V2");
  // An empty value leaves an earlier one in place.
  EXPECT_EQ(Parse("[SYSTEM]\r\nVersion=V3\r\nVersion= \t\r\n").Version(), "V3");
}

TEST(HolidayFileVersion, CutToThirtyOneCharacters) {
  const HolidayTable table = Parse("[System]\r\nVersion=" + std::string(40, 'v') + "\r\n");
  EXPECT_EQ(table.Version(), std::string(31, 'v'));
  EXPECT_EQ(table.holidayVersion[31], '\0');
}

class HolidayFileLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::temp_directory_path() /
        ("tavrin-holiday-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string Write(const std::string& text) {
    const std::string path = (folder_ / "Tavrin-Holidays.ini").string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  std::filesystem::path folder_;
};

TEST_F(HolidayFileLoad, ReadsAcrossBlockBoundariesLikeTheTextParser) {
  std::string text = "[System]\r\nVersion=V2\r\n";
  for (int year = 2020; year < 2060; ++year) {
    text += "; " + std::string(70, '*') + "\r\n[" + std::to_string(year) + "]\r\n";
    for (int month = 1; month <= 12; ++month) {
      text += std::to_string(month) + "=" + std::to_string(month) + "," +
              std::to_string(year % 28 + 1) + "\r\n";
    }
  }
  ASSERT_GT(text.size(), 3 * 2048u);
  HolidayTable loaded;
  ASSERT_TRUE(LoadHolidayFile(Write(text), loaded));
  HolidayTable parsed;
  ParseHolidayText(text.data(), text.size(), parsed);
  EXPECT_EQ(std::memcmp(&loaded, &parsed, sizeof loaded), 0);
  EXPECT_EQ(loaded.yearCount, 40);
  EXPECT_EQ(loaded.Version(), "V2");
}

TEST_F(HolidayFileLoad, AHundredAndFirstSectionStillSucceeds) {
  std::string text;
  for (int i = 0; i < 101; ++i) text += "[" + std::to_string(2000 + i) + "]\r\n";
  HolidayTable table;
  EXPECT_TRUE(LoadHolidayFile(Write(text), table));
  EXPECT_EQ(table.yearCount, 100);
}

TEST_F(HolidayFileLoad, MissingFileOrFolderFails) {
  HolidayTable table;
  Write("[2030]\r\n01=1\r\n");
  EXPECT_FALSE(LoadHolidayFile((folder_ / "none.ini").string(), table));
  EXPECT_EQ(table.yearCount, 0);
  EXPECT_FALSE(LoadHolidayFile(folder_.string(), table));
  EXPECT_EQ(table.yearCount, 0);
}

TEST_F(HolidayFileLoad, CommentsOnlyLoadsWithoutYears) {
  HolidayTable table;
  EXPECT_TRUE(LoadHolidayFile(Write("; \x8f\x6a\x93\xfa\r\n[System]\r\nVersion=1\r\n"), table));
  EXPECT_EQ(table.yearCount, 0);  // the caller reports this as a broken file
  EXPECT_EQ(table.Version(), "1");
}

TEST(ShippedHolidayFileLoad, TheReaderTakesEveryYearOfTheShippedFile) {
  HolidayTable table;
  ASSERT_TRUE(LoadHolidayFile(TAVRIN_SOURCE_DIR "/src/resources/Tavrin-Holidays.ini", table));
  EXPECT_EQ(table.yearCount, 100);
  EXPECT_EQ(table.years[0], 2000);
  EXPECT_EQ(table.years[99], 2099);
  EXPECT_FALSE(table.Version().empty());
  EXPECT_TRUE(table.IsHoliday(2026, 1, 1));
  EXPECT_TRUE(table.IsHoliday(2026, 1, 12));  // second Monday of January
  EXPECT_FALSE(table.IsHoliday(2026, 1, 13));
}

}  // namespace
}  // namespace tavrin
