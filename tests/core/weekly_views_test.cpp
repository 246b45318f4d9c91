// The weekly list page, the program-name list, the overview and the two confirmation forms.
#include <gtest/gtest.h>

#include <random>

#include "CsvFixture.h"
#include "editors/ConfirmationForms.h"
#include "editors/NameListRules.h"
#include "editors/OverviewRules.h"
#include "editors/WeeklyListRules.h"

namespace tavrin {
namespace {

using testing::MakeStep;

struct ViewFixture {
  ViewFixture() {
    ClearModel(model);
    BuildChimeLists(settings);
    model.channels[0] = {kChannelTimeSignal, 0, 5, 0};
    model.channels[1] = {kChannelKeep, 0, 0, 0};
  }
  void Name(int program, const std::string& bytes) {
    names.names[program].fill('\0');
    std::memcpy(names.names[program].data(), bytes.data(), bytes.size());
  }
  ScheduleModel model;
  ProgramNameTable names{};
  IniSettings settings;
};

TEST(WeeklyList, DropsWholeSlotsOfUnusedChannelsAndCountsThemFree) {
  ViewFixture f;
  for (int i = 0; i < kStepCount; ++i) f.model.steps[i] = MakeStep(1, 1, "1000000", 1, 0, 1);
  f.model.steps[3] = MakeStep(4, 5, "1000000", 1, 0, 1);     // channel 5 not in use
  f.model.steps[4] = MakeStep(200, 12, "1000000", 1, 0, 1);  // from elsewhere: stays
  weekly::DropStepsOfUnusedChannels(f.model);
  EXPECT_EQ(f.model.steps[3], WeeklyStep{});
  EXPECT_EQ(f.model.steps[4].program, 200);
  EXPECT_EQ(weekly::FreeSlots(f.model), 1);
  EXPECT_EQ(weekly::StepRows(f.model, 9, 2, kChannelKeep), 1);
}

TEST(WeeklyList, MarksAndFirstEmptyCellStayInRange) {
  ViewFixture f;
  f.model.steps[0] = MakeStep(1, 1, "1000000", 1, 0, 1);
  f.model.steps[1] = MakeStep(255, 15, "1000000", 255, 255, 15);
  f.model.steps[2] = MakeStep(99, 2, "1000000", 1, 0, 1);
  weekly::ListMarks marks = weekly::Marks(f.model);
  EXPECT_TRUE(marks[1][0]);
  EXPECT_TRUE(marks[99][1]);
  EXPECT_EQ(weekly::FirstEmptyCell(marks), (CellPos{1, 0}));
  for (int p = 1; p <= kMaxProgram; ++p) marks[p].fill(true);
  EXPECT_EQ(weekly::FirstEmptyCell(marks), (CellPos{0, 0}));
}

TEST(NameList, FillShowsStepsNamesAndUsage) {
  ViewFixture f;
  f.model.basicProgram = 1;
  f.model.periods[0] = {kEveryYear, 1, 1, 1, 31, 1};
  f.model.periods[7] = {2026, 2, 1, 2, 3, 1};
  f.model.dates[4] = {2026, 5, 5, 3};
  f.model.holidayProgram = 2;
  f.model.holidayEnabled = 0;
  f.model.steps[0] = MakeStep(2, 1, "1000000", 1, 0, 1);
  f.model.steps[1] = MakeStep(2, 2, "1000000", 1, 0, 1);
  f.Name(4, ToShiftJis("朝").value());
  names::NameList list = names::Fill(f.model, f.names);
  struct Case {
    int program;
    const char* name;
    const char* steps;
    const char* usage;
    bool unused;
  };
  const Case cases[] = {
      {1, "", "", "基本, 期間", true},
      {2, "", "2", "", false},
      {3, "", "", "個別", true},
      {4, "朝", "0", "", false},
  };
  for (const Case& c : cases) {
    const int row = c.program - 1;
    EXPECT_EQ(list.table.at(row, names::kNameCol), c.name);
    EXPECT_EQ(list.table.at(row, names::kStepsCol), c.steps);
    EXPECT_EQ(list.table.at(row, names::kUsageCol), c.usage);
    EXPECT_EQ(list.unused[static_cast<std::size_t>(row)], c.unused);
  }
  f.model.holidayEnabled = 1;
  EXPECT_EQ(names::Fill(f.model, f.names).table.at(1, names::kUsageCol), "祭日");
  EXPECT_EQ(names::FirstCursor(list.table), (CellPos{0, names::kNameCol}));
}

TEST(NameList, StoreKeepsUntouchedBytesAndCutsTheRest) {
  ViewFixture f;
  const std::string undecodable =
      "\x81\xFF"
      "AB";  // no character at 0x81 0xFF
  f.Name(1, undecodable);
  f.Name(2, "old");
  f.Name(3, "gone");
  names::NameList list = names::Fill(f.model, f.names);
  list.table.at(1, names::kNameCol) = "ABCDEFGHIJKLMNOPQ";  // 17 half-width characters
  list.table.at(2, names::kNameCol) = "";
  list.table.at(4, names::kNameCol) = "夕方の終業チャイムです";
  EXPECT_EQ(names::OverlongNames(list.table, f.names), (std::vector<int>{1, 4}));
  EXPECT_EQ(names::OverlongMessage(1),
            "プログラム番号 2 の＜プログラム名＞は半角で１６文字まで有効とします。");
  ProgramNameTable stored = names::Store(list.table, f.names);
  EXPECT_EQ(stored.names[1], f.names.names[1]);
  EXPECT_EQ(std::string(stored.names[2].data(), 16), "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(stored.names[3], (std::array<char, 16>{}));
  EXPECT_EQ(FromShiftJis(FieldText(stored.names[5].data(), 16)), "夕方の終業チャイ");
  EXPECT_EQ(stored.names[0], (std::array<char, 16>{}));
}

TEST(Overview, RowsOfEveryStepInSlotOrder) {
  ViewFixture f;
  f.model.steps[0] = MakeStep(3, 1, "1000001", 7, 5, 2);
  f.model.steps[1] = MakeStep(3, 2, "0100000", 17, 30, kKeepOff);
  f.model.steps[2] = MakeStep(250, 14, "0000000", 200, 99, 9);
  std::vector<overview::Row> rows = overview::Rows(f.model, f.settings, "★");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].cells, (std::array<std::string, 12>{"3", " 7 時", " 5 分", "1", "★", "", "", "",
                                                        "", "", "★", "2.エーデルワイス"}));
  EXPECT_TRUE(rows[0].timeSignal);
  EXPECT_EQ(rows[1].cells[overview::kSettingCol], "OFF");
  EXPECT_FALSE(rows[1].timeSignal);
  EXPECT_EQ(rows[2].cells[overview::kProgramCol], "250");
  EXPECT_EQ(rows[2].cells[overview::kHourCol], "200 時");
  EXPECT_EQ(rows[2].cells[overview::kSettingCol], "");
}

TEST(ConfirmationForms, TimeSignalCellsAndScroll) {
  ViewFixture f;
  f.model.steps[0] = MakeStep(1, 1, "0100000", 7, 0, 3);
  f.model.steps[1] = MakeStep(1, 1, "0100000", 7, 30, 1);
  f.model.steps[2] = MakeStep(1, 1, "0100000", 7, 40, 1);
  f.model.steps[3] = MakeStep(1, 1, "0010000", 9, 0, 0);
  f.model.steps[4] = MakeStep(1, 1, "0000000", 2, 0, 0);    // no day: does not scroll
  f.model.steps[5] = MakeStep(1, 1, "0010000", 240, 0, 0);  // past the day: nowhere
  f.model.steps[6] = MakeStep(2, 1, "0010000", 1, 0, 1);    // another program
  forms::TimeSignalView view = forms::TimeSignal(f.model, f.settings, 1, 1);
  EXPECT_EQ(view.cells[1][7], "1,3");
  EXPECT_EQ(view.cells[2][9], "0");
  EXPECT_EQ(view.cells[2][1], "");
  EXPECT_EQ(view.leftCol, 8);
  f.model.steps[0].hour = 3;
  EXPECT_EQ(forms::TimeSignal(f.model, f.settings, 1, 1).leftCol, 4);
  EXPECT_EQ(forms::Legend(f.settings)[1], "1.ウエストミンスターの鐘");
  f.settings.chimeCount = 2;
  EXPECT_EQ(forms::Legend(f.settings)[3], "");
}

std::string Shapes(const forms::KeepView& view, int day) {
  std::string out;
  for (int h = 0; h < kHours; ++h) {
    const auto& cell = view.cells[day][h];
    out += cell ? static_cast<char>((cell->odd ? 'a' : 'A') + static_cast<int>(cell->shape)) : '.';
  }
  return out;
}

// Letters: A both in one hour, B ON early, C ON late, D between, E OFF early, F OFF late,
// G OFF alone early, H OFF alone late; lower case for the odd (magenta) pairs.
TEST(ConfirmationForms, KeepPairsAsPictures) {
  struct Case {
    std::vector<WeeklyStep> steps;  // all on Monday
    std::string monday;
  };
  auto on = [](int h, int m) { return MakeStep(1, 2, "0100000", h, m, kKeepOn); };
  auto off = [](int h, int m) { return MakeStep(1, 2, "0100000", h, m, kKeepOff); };
  const Case cases[] = {
      {{on(8, 15), off(17, 0)}, "........BDDDDDDDF......."},
      {{on(6, 40), on(7, 0), off(9, 20)}, "......CDDE.............."},
      {{off(5, 10)}, ".....G.................."},
      {{on(22, 45)}, "......................CD"},
      {{on(10, 5), off(10, 50), on(12, 0), off(13, 31)}, "..........A.bf.........."},
      // ON 9:00 with OFF 9:00: the OFF reads as 8:59, before the ON; only the ON is drawn.
      {{on(9, 0), off(9, 0)}, ".........B.............."},
      {{off(0, 0)}, "G......................."},
  };
  for (const Case& c : cases) {
    ViewFixture f;
    for (std::size_t i = 0; i < c.steps.size(); ++i) f.model.steps[i] = c.steps[i];
    EXPECT_EQ(Shapes(forms::Keep(f.model, 1, 2), 1), c.monday);
  }
}

TEST(ConfirmationForms, KeepStopsAtTwentyFourPairsAndOutOfRangeSteps) {
  ViewFixture f;
  for (int i = 0; i < 30; ++i) f.model.steps[i] = MakeStep(1, 2, "1000000", i % 24, 10, kKeepOff);
  f.model.steps[30] = MakeStep(1, 2, "1000000", 255, 255, kKeepOn);
  EXPECT_EQ(forms::KeepPairs(f.model, 1, 2)[0].size(), 24u);
  forms::KeepView view = forms::Keep(f.model, 1, 2);
  EXPECT_EQ(Shapes(view, 0), "GgGgGgGgGgGgGgGgGgGgGgGg");
  EXPECT_EQ(view.leftCol, 0);
  EXPECT_EQ(forms::Keep(f.model, 120, 12).leftCol, 8);
}

// Images made elsewhere carry any byte in these fields; under the sanitizers no rule may read or
// write outside its tables for them.
TEST(WeeklyViews, AnyStepBytesStayInsideEveryTable) {
  std::mt19937 random(9);
  auto byte = [&] { return static_cast<uint8_t>(random() & 0xFF); };
  for (int round = 0; round < 20; ++round) {
    ViewFixture f;
    for (ChannelSetting& channel : f.model.channels) channel = {byte(), byte(), byte(), byte()};
    f.settings.chimes[0].code = static_cast<int16_t>(random());
    for (WeeklyStep& step : f.model.steps) {
      step = {byte(), static_cast<uint8_t>(byte() & 0x0F), {}, byte(), byte(), byte()};
      for (uint8_t& day : step.days) day = byte() & 1;
    }
    f.model.basicProgram = static_cast<int16_t>(random());
    f.model.holidayProgram = static_cast<int16_t>(random());
    f.model.holidayEnabled = 1;
    (void)weekly::FirstEmptyCell(weekly::Marks(f.model));
    (void)names::Fill(f.model, f.names);
    EXPECT_LE(overview::Rows(f.model, f.settings, "*").size(), 1000u);
    for (int program : {1, 99, 200, 255})
      for (int channel : {1, 2, 8, 12}) {
        (void)forms::TimeSignal(f.model, f.settings, program, channel);
        for (const auto& pairs : forms::KeepPairs(f.model, program, channel))
          EXPECT_LE(pairs.size(), 24u);
        (void)forms::Keep(f.model, program, channel);
      }
    weekly::DropStepsOfUnusedChannels(f.model);
    EXPECT_LE(weekly::FreeSlots(f.model), kStepCount);
  }
}

}  // namespace
}  // namespace tavrin
