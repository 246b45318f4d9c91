#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "TestFakes.h"
#include "calendar/PackImage.h"
#include "cli/Commands.h"
#include "document/SettingsFiles.h"
#include "model/ImagePacking.h"
#include "model/ShiftJis.h"

namespace tavrin {
namespace {

using testing::TempFolder;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class CliExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(tmp / "data");
    ScheduleModel model;
    ClearModel(model);
    model.basicProgram = 1;
    model.channels[1] = {kChannelKeep, 0, 0, 0};
    model.steps[0] = WeeklyStep{1, 2, {0, 1, 1, 1, 1, 1, 0}, 8, 15, kKeepOn};
    model.steps[1] = WeeklyStep{1, 2, {0, 1, 1, 1, 1, 1, 0}, 17, 0, kKeepOff};
    model.periods[0] = {kEveryYear, 8, 1, 8, 20, 1};
    HolidayTable holidays;
    ClearHolidayTable(holidays);
    RadioStation station;
    SettingsImage image{};
    std::array<YearCalendar, 2> calendars{};
    PackImage(model, station, {{2025, 2026}, &holidays, true}, image, calendars);
    ASSERT_TRUE(WriteSettingsFile(tmp / "plan.BIN", image).ok());
    ProgramNameTable names{};
    std::memcpy(names.names[1].data(), "LIGHTS", 6);
    ASSERT_TRUE(WriteNameFile(tmp / "plan.TXT", names));
  }

  int Run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    args.insert(args.end(), {"--data-dir", tmp / "data", "--now", "2025-05-07T10:20:30"});
    CliIo io{out, err};
    return RunExport(args, io);
  }

  TempFolder tmp;
  std::ostringstream out, err;
};

TEST_F(CliExportTest, SameInputsAndClockGiveTheSameBytes) {
  ASSERT_EQ(Run({tmp / "plan.BIN", "--names", tmp / "plan.TXT", "-o", tmp / "one.csv"}), 0);
  ASSERT_EQ(Run({tmp / "plan.BIN", "--names", tmp / "plan.TXT", "-o", tmp / "two.csv"}), 0);
  std::string one = ReadAll(tmp / "one.csv"), two = ReadAll(tmp / "two.csv");
  one.replace(one.find("one.csv"), 3, "two");
  EXPECT_EQ(one, two);
  const std::string text = FromShiftJis(two);
  EXPECT_NE(text.find("; two.csv\r\n; 2025年05月07日 10時20分30秒\r\n"), std::string::npos);
  EXPECT_NE(text.find("P1,\"LIGHTS\",CH2,キープ\r\n月,-,-,-,-,-,-,|-,-,<=,=,=,=,|"),
            std::string::npos);
  EXPECT_NE(text.find("1,毎年,8月,1日,8月,20日,P1\r\n"), std::string::npos);
  EXPECT_NE(text.find(";＜ラジオ選局＞\r\n放送局,東京,82.5MHz\r\n"), std::string::npos);
}

TEST_F(CliExportTest, OutputWithoutExtensionGetsCsvAndTheModeComesFromTheIni) {
  { std::ofstream(tmp / "data/Tavrin.ini", std::ios::binary) << "[System]\r\nRadioSet=OFF\r\n"; }
  std::filesystem::rename(tmp / "plan.TXT", tmp / "other.TXT");
  ASSERT_EQ(Run({tmp / "plan.BIN", "-o", tmp / "report"}), 0);
  const std::string text = FromShiftJis(ReadAll(tmp / "report.CSV"));
  EXPECT_NE(text.find("; report.CSV\r\n"), std::string::npos);
  EXPECT_EQ(text.find("ラジオ"), std::string::npos);
  EXPECT_NE(text.find("P1,-,CH2,キープ"), std::string::npos);  // no name file beside it
}

TEST_F(CliExportTest, BadInputIsReportedWithTheProgramsMessages) {
  EXPECT_EQ(Run({tmp / "plan.BIN"}), 2);
  EXPECT_NE(err.str().find("usage:"), std::string::npos);
  EXPECT_EQ(Run({"-o", tmp / "x.csv"}), 2);
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_NE(out.str().find("tavrin-cli export FILE.BIN"), std::string::npos);

  EXPECT_EQ(Run({tmp / "missing.BIN", "-o", tmp / "x.csv"}), 1);
  EXPECT_NE(err.str().find("tavrin-cli: " + tmp / "missing.BIN does not exist\n"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(tmp / "x.csv"));

  EXPECT_EQ(Run({tmp / "plan.BIN", "--names", tmp / "none.TXT", "-o", tmp / "x.csv"}), 1);
  EXPECT_FALSE(std::filesystem::exists(tmp / "x.csv"));

  // Both are found before anything is read: no report lands beside the folder, none is lost.
  EXPECT_EQ(Run({tmp / "plan.BIN", "-o", tmp / "gone/x.csv"}), 1);
  EXPECT_EQ(err.str(), "tavrin-cli: the folder " + tmp / "gone does not exist\n");
  EXPECT_EQ(Run({tmp / "plan.BIN", "-o", tmp / "data"}), 1);
  EXPECT_EQ(err.str(), "tavrin-cli: " + tmp / "data is a folder\n");
  EXPECT_FALSE(std::filesystem::exists(tmp / "data.CSV"));
}

}  // namespace
}  // namespace tavrin
