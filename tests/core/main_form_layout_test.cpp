#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/HolidayStartup.h"
#include "app/MainFormLayout.h"

namespace tavrin {
namespace {

TEST(MainFormLayoutTest, WithoutRadioFourButtonsStandInOneRow) {
  const MainFormLayout withRadio = LayOutMainForm(true);
  const MainFormLayout layout = LayOutMainForm(false);
  EXPECT_TRUE(withRadio.radioButtonVisible);
  EXPECT_FALSE(layout.radioButtonVisible);
  const Rect first = withRadio.buttons[0];
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(layout.buttons[i],
              (Rect{60 + i * (first.width + 40), 120, first.width, first.height}))
        << "button " << i;
  }
  // The row fits inside the 800-pixel window.
  EXPECT_LE(layout.buttons[3].x + layout.buttons[3].width, kMainWidth);
}

TEST(MainFormLayoutTest, WithRadioNoButtonsOverlap) {
  const MainFormLayout layout = LayOutMainForm(true);
  for (int i = 0; i < kEditorButtonCount; ++i) {
    for (int j = i + 1; j < kEditorButtonCount; ++j) {
      const Rect& a = layout.buttons[i];
      const Rect& b = layout.buttons[j];
      const bool apart = a.x + a.width <= b.x || b.x + b.width <= a.x || a.y + a.height <= b.y ||
                         b.y + b.height <= a.y;
      EXPECT_TRUE(apart) << i << " and " << j;
    }
  }
}

TEST(MainFormLayoutTest, NegativeStoredPositionFallsBackPerAxis) {
  EXPECT_EQ(MainWindowPosition(-5, 30), (Point{150, 30}));
  EXPECT_EQ(MainWindowPosition(40, -1), (Point{40, 100}));
  EXPECT_EQ(MainWindowPosition(0, 0), (Point{0, 0}));
}

class HolidayStartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("tavrin-holiday-startup-" +
               std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  void WriteHolidayFile(const std::string& text) {
    std::ofstream(folder_ / "Tavrin-Holidays.ini", std::ios::binary) << text;
  }
  std::filesystem::path folder_;
};

TEST_F(HolidayStartupTest, ReportsFolderAndFileProblemsWithTheirTexts) {
  HolidayTable table;
  EXPECT_EQ(LoadHolidays(std::nullopt, table), HolidayLoadState::FolderFailed);
  EXPECT_EQ(
      HolidayProblemText(HolidayLoadState::FolderFailed),
      "祭日設定ファイルの格納フォルダの生成に失敗しました。\n祭日設定が正しく実行できません。");

  EXPECT_EQ(LoadHolidays(folder_.string(), table), HolidayLoadState::FileFailed);  // missing
  WriteHolidayFile("[System]\r\nVersion=V1\r\n");  // opens, but holds no year
  EXPECT_EQ(LoadHolidays(folder_.string(), table), HolidayLoadState::FileFailed);
  EXPECT_EQ(HolidayProblemText(HolidayLoadState::FileFailed),
            "祭日設定ファイルが存在しないかまたは壊れています。\n祭日設定が正しく実行できません。");
}

TEST_F(HolidayStartupTest, AGoodFileLoadsAndReportsNothing) {
  WriteHolidayFile("[System]\r\nVersion=V1\r\n[2030]\r\n05=3,4,5\r\n");
  HolidayTable table;
  EXPECT_EQ(LoadHolidays(folder_.string(), table), HolidayLoadState::Loaded);
  EXPECT_TRUE(table.IsHoliday(2030, 5, 4));
  EXPECT_EQ(HolidayProblemText(HolidayLoadState::Loaded), "");
}

}  // namespace
}  // namespace tavrin
