#include <gtest/gtest.h>

#include "CsvFixture.h"
#include "editors/ChannelRules.h"

namespace tavrin {
namespace {

using testing::MakeStep;
using Row = std::array<const char*, 4>;

TextTable Table(std::vector<Row> rows) {
  TextTable table(kChannelCount, channels::kCols);
  for (std::size_t r = 0; r < rows.size(); ++r)
    for (int c = 0; c < channels::kCols; ++c) table.at(static_cast<int>(r), c) = rows[r][c];
  return table;
}

TEST(ChannelRules, FillCapsAndShowsEachKind) {
  struct Case {
    ChannelSetting channel;
    Row shown;
  };
  const Case cases[] = {
      {{kChannelTimeSignal, 75, 70, 9}, {"報時", "60 分", "59 秒", "-30 秒"}},
      {{kChannelTimeSignal, 0, 0, 0}, {"報時", "", "", "（なし）"}},
      {{kChannelTimeSignal, 0, 5, 1}, {"報時", "0 分", "5 秒", "-3 秒"}},
      {{kChannelKeep, 3, 4, 2}, {"キープ", "----", "----", "----"}},
      {{kChannelUnused, 3, 4, 2}, {"", "", "", ""}},
  };
  for (const Case& c : cases) {
    TextTable table(1, channels::kCols);
    channels::FillRow(table, 0, c.channel);
    for (int col = 0; col < channels::kCols; ++col) EXPECT_EQ(table.at(0, col), c.shown[col]);
  }
}

TEST(ChannelRules, CursorGoesToTheFirstMissingThing) {
  struct Case {
    std::vector<Row> rows;
    CellPos cell;
    bool readOnly;
  };
  const Row keep{"キープ", "----", "----", "----"};
  const Row full{"報時", "1 分", "0 秒", "（なし）"};
  std::vector<Row> allKeep(8, keep);
  std::vector<Row> noRise = allKeep;
  noRise[5] = {"報時", "1 分", "0 秒", ""};
  const Case cases[] = {
      {{keep, full}, {2, 0}, false},
      {noRise, {5, 3}, false},
      {allKeep, {0, 0}, true},
  };
  for (const Case& c : cases) {
    channels::CursorPlace place = channels::PlaceCursor(Table(c.rows));
    EXPECT_EQ(place.cell, c.cell);
    EXPECT_EQ(place.readOnly, c.readOnly);
  }
}

TEST(ChannelRules, EditabilityFollowsTheRowsType) {
  TextTable table =
      Table({{"", "", "", ""}, {"報時", "", "", ""}, {"キープ", "----", "----", "----"}});
  const bool expected[3][4] = {
      {true, false, false, false}, {false, true, true, true}, {false, false, false, false}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c)
      EXPECT_EQ(channels::Editable(table, {r, c}), expected[r][c]) << r << c;
}

TEST(ChannelRules, PageAndDialogChecks) {
  struct Case {
    Row row;
    std::string page;    // message of the page check for CH1, "" = passes
    std::string dialog;  // message of the dialog check
    CellPos cell;
  };
  const Case cases[] = {
      {{"報時", "60 分", "0 秒", ""}, "", "", {}},
      {{"報時", "60 分", "1 秒", ""}, "CH1 の＜報時＞の設定が不正です。", "", {0, 2}},
      {{"報時", "0 分", "1 秒", ""}, "", "", {}},
      {{"報時", "0 分", "0 秒", ""},
       "CH1 の＜報時＞の設定が不正です。",
       "＜報時＞の設定が不正です。",
       {0, 2}},
      {{"報時", "", "5 秒", ""},
       "CH1 の＜報時（分）＞の指定が有りません。",
       "＜報時（分）＞の指定が有りません。",
       {0, 1}},
      {{"報時", "5 分", "", ""},
       "CH1 の＜報時（秒）＞の指定が有りません。",
       "＜報時（秒）＞の指定が有りません。",
       {0, 2}},
      {{"", "", "", ""}, "", "＜タイプ＞の指定が有りません。", {0, 0}},
      {{"キープ", "----", "----", "----"}, "", "", {}},
  };
  for (const Case& c : cases) {
    TextTable table = Table({c.row});
    Verdict page = channels::CheckPage(table);
    Verdict dialog = channels::CheckDialogRow(table, 0);
    EXPECT_EQ(page.message(), c.page) << c.row[1] << c.row[2];
    EXPECT_EQ(dialog.message(), c.dialog) << c.row[1] << c.row[2];
    if (!page) {
      EXPECT_EQ(page.cell(), c.cell);
    }
    if (!dialog) {
      EXPECT_EQ(dialog.cell(), c.cell);
    }
  }
  // The channel number of the message is the row's.
  TextTable table = Table({{"", "", "", ""}, {"", "", "", ""}, {"報時", "", "", ""}});
  EXPECT_EQ(channels::CheckPage(table).message(), "CH3 の＜報時（分）＞の指定が有りません。");
}

TEST(ChannelRules, StoreReadsKindsAndNumbers) {
  ScheduleModel model{};
  channels::Store(Table({{"報時", "12 分", "34 秒", "-10 秒"},
                         {"キープ", "----", "----", "----"},
                         {"報時", "", "5 秒", ""}}),
                  model);
  EXPECT_EQ(model.channels[0], (ChannelSetting{kChannelTimeSignal, 12, 34, 2}));
  EXPECT_EQ(model.channels[1], (ChannelSetting{kChannelKeep, 0, 0, 0}));
  EXPECT_EQ(model.channels[2], (ChannelSetting{kChannelTimeSignal, 0, 5, 0}));
  EXPECT_EQ(model.channels[3], (ChannelSetting{}));
}

// Every item of the rise-time list is stored as its code, "（なし）" and an empty cell as none.
TEST(ChannelRules, StoreReadsEachRiseTimeItem) {
  const std::pair<const char*, uint8_t> cases[] = {
      {"（なし）", 0}, {"-3 秒", 1}, {"-10 秒", 2}, {"-30 秒", 3}, {"", 0}};
  for (const auto& [text, code] : cases) {
    ScheduleModel model{};
    channels::Store(Table({{"報時", "0 分", "5 秒", text}}), model);
    EXPECT_EQ(model.channels[0], (ChannelSetting{kChannelTimeSignal, 0, 5, code})) << text;
  }
}

// Deleting a channel (or giving it another kind) must not leave steps whose actions the timer
// would read for the new kind; a channel that keeps its kind keeps its steps.
TEST(ChannelRules, StoreDropsTheStepsOfChannelsWhoseKindChanged) {
  ScheduleModel model{};
  model.channels[0] = {kChannelTimeSignal, 0, 5, 0};
  model.channels[1] = {kChannelKeep, 0, 0, 0};
  model.channels[2] = {kChannelTimeSignal, 0, 5, 0};
  model.steps[0] = MakeStep(1, 1, "1000000", 7, 0, 3);
  model.steps[1] = MakeStep(1, 2, "1000000", 8, 0, kKeepOn);
  model.steps[2] = MakeStep(2, 3, "1000000", 9, 0, 1);
  TextTable table = channels::Fill(model);
  table.ClearRows(0, 0);    // CH1 deleted
  table.at(1, 0) = "報時";  // CH2 keep -> time signal
  channels::Store(table, model);
  EXPECT_EQ(model.steps[0], WeeklyStep{});
  EXPECT_EQ(model.steps[1], WeeklyStep{});
  EXPECT_EQ(model.steps[2], MakeStep(2, 3, "1000000", 9, 0, 1));
}

TEST(ChannelRules, CopyAndPaste) {
  TextTable table = Table({{"報時", "", "5 秒", "-3 秒"},
                           {"キープ", "----", "----", "----"},
                           {"報時", "0 分", "0 秒", ""}});
  EditorClipboards clipboards{};
  channels::Copy(table, 0, 2, clipboards);
  ASSERT_EQ(clipboards.channelCount, 3);
  EXPECT_EQ(clipboards.channels[0].minutes, kEmptyCell);
  EXPECT_EQ(clipboards.channels[2].rise, kEmptyCell);

  // Onto CH7: only CH7 and CH8 are written, without capping and with 0:00 shown as such.
  ASSERT_TRUE(channels::Paste(table, 6, clipboards));
  EXPECT_EQ(table.at(6, 0), "報時");
  EXPECT_EQ(table.at(6, 1), "");
  EXPECT_EQ(table.at(6, 3), "-3 秒");
  EXPECT_EQ(table.at(7, 0), "キープ");
  EXPECT_EQ(table.at(7, 2), "----");

  // A configured channel in the range refuses the whole paste.
  TextTable before = table;
  Result<void> refused = channels::Paste(table, 5, clipboards);
  EXPECT_EQ(refused.message(), "設定済みのチャンネルには、貼り付け出来ません");
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_EQ(table.at(r, c), before.at(r, c));
}

}  // namespace
}  // namespace tavrin
