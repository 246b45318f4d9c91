#include <gtest/gtest.h>

#include <vector>

#include "TestFakes.h"
#include "calendar/SummerTimeRules.h"

namespace tavrin {
namespace {

using testing::FakeMessages;

TextTable Rule(std::array<const char*, 4> start, std::array<const char*, 4> end) {
  TextTable table(summer::kRows, summer::kCols);
  for (int c = 0; c < 4; ++c) {
    table.at(0, c) = start[c];
    table.at(1, c) = end[c];
  }
  return table;
}

TEST(SummerTimeRules, FillShowsWeekAndHourOnlyForRowsWithAMonth) {
  SummerTimeRule rule{3, 2, 1, 0, 0, 5, 7, 23};
  TextTable table = summer::Fill(rule);
  EXPECT_EQ(table.at(0, 0), "3 月");
  EXPECT_EQ(table.at(0, 1), "第 2");
  EXPECT_EQ(table.at(0, 2), "日曜日");
  EXPECT_EQ(table.at(0, 3), "0 時");  // hour 0 is the first item, not an empty cell
  EXPECT_EQ(table.at(1, 0), "");
  EXPECT_EQ(table.at(1, 1), "");        // no month: week hidden
  EXPECT_EQ(table.at(1, 2), "土曜日");  // the weekday is shown regardless
  EXPECT_EQ(table.at(1, 3), "");
}

TEST(SummerTimeRules, FillLeavesOutOfRangeValuesEmpty) {
  SummerTimeRule rule{13, 9, 8, 24, 12, 5, 7, 23};
  TextTable table = summer::Fill(rule);
  EXPECT_EQ(table.at(0, 0), "");
  EXPECT_EQ(table.at(0, 1), "");
  EXPECT_EQ(table.at(0, 2), "");
  EXPECT_EQ(table.at(0, 3), "");
  EXPECT_EQ(table.at(1, 0), "12 月");
  EXPECT_EQ(table.at(1, 1), "最終");
  EXPECT_EQ(table.at(1, 3), "23 時");
}

TEST(SummerTimeRules, ClearedAndEmptyIsValidAndStoresZeros) {
  ScheduleModel model{};
  model.summerTimeEnabled = 1;
  model.summerTime = {3, 2, 1, 2, 11, 1, 1, 2};
  TextTable empty(summer::kRows, summer::kCols);
  EXPECT_TRUE(summer::Check(false, empty).ok());
  summer::Store(false, empty, model);
  EXPECT_EQ(model.summerTimeEnabled, 0);
  EXPECT_EQ(model.summerTime.startMonth, 0);
  EXPECT_EQ(model.summerTime.endHour, 0);
  EXPECT_EQ(model.summerTime.endWeekday, 0);
}

TEST(SummerTimeRules, MissingCellsAreReportedInRowThenColumnOrder) {
  TextTable table(summer::kRows, summer::kCols);
  table.at(1, 2) = "日曜日";  // one filled cell with the box cleared: the rule must be complete
  Verdict v = summer::Check(false, table);
  EXPECT_FALSE(v.ok());
  EXPECT_EQ(v.message(), "開始の＜月＞の指定が有りません。");
  EXPECT_EQ(v.cell(), (CellPos{0, 0}));

  table = Rule({"3 月", "第 2", "日曜日", ""}, {"11 月", "第 1", "日曜日", "2 時"});
  v = summer::Check(true, table);
  EXPECT_EQ(v.message(), "開始の＜実施時刻＞の指定が有りません。");
  EXPECT_EQ(v.cell(), (CellPos{0, 3}));

  table = Rule({"3 月", "第 2", "日曜日", "2 時"}, {"11 月", "", "", "2 時"});
  v = summer::Check(true, table);
  EXPECT_EQ(v.message(), "終了の＜第何週＞の指定が有りません。");
  EXPECT_EQ(v.cell(), (CellPos{1, 1}));

  table.at(1, 1) = "第 1";
  v = summer::Check(true, table);
  EXPECT_EQ(v.message(), "終了の＜曜日＞の指定が有りません。");
  EXPECT_EQ(v.cell(), (CellPos{1, 2}));

  // An enabled rule with nothing filled in is not the "no rule" case.
  EXPECT_FALSE(summer::Check(true, TextTable(summer::kRows, summer::kCols)).ok());
}

TEST(SummerTimeRules, StartMustComeBeforeEndWithinTheYear) {
  const char* order = "＜開始と終了＞の指定が不正です。";
  EXPECT_TRUE(summer::Check(true, Rule({"3 月", "第 2", "日曜日", "2 時"},
                                       {"11 月", "第 1", "日曜日", "2 時"}))
                  .ok());
  EXPECT_TRUE(summer::Check(true, Rule({"6 月", "第 4", "土曜日", "2 時"},
                                       {"6 月", "最終", "日曜日", "0 時"}))
                  .ok());

  Verdict v = summer::Check(
      true, Rule({"6 月", "最終", "日曜日", "2 時"}, {"6 月", "第 4", "日曜日", "2 時"}));
  EXPECT_EQ(v.message(), order);
  EXPECT_EQ(v.cell(), (CellPos{1, 1}));  // same month: the end week

  v = summer::Check(true,
                    Rule({"10 月", "第 1", "日曜日", "2 時"}, {"3 月", "第 1", "日曜日", "2 時"}));
  EXPECT_EQ(v.message(), order);  // crossing the year end
  EXPECT_EQ(v.cell(), (CellPos{1, 0}));

  // Weekday and hour take no part: the same month and week is refused whatever they are.
  v = summer::Check(true,
                    Rule({"4 月", "第 2", "日曜日", "1 時"}, {"4 月", "第 2", "土曜日", "9 時"}));
  EXPECT_EQ(v.message(), order);
  EXPECT_EQ(v.cell(), (CellPos{1, 1}));
}

TEST(SummerTimeRules, ValidateShowsOneExclamationMessageAndMovesTheCursor) {
  FakeMessages sink;
  CellPos cursor{0, 0};
  TextTable table = Rule({"3 月", "第 2", "日曜日", "2 時"}, {"11 月", "第 1", "", "2 時"});
  EXPECT_FALSE(summer::Validate(true, table, sink, cursor));
  ASSERT_EQ(sink.shown.size(), 1u);
  EXPECT_EQ(sink.shown[0].text, "終了の＜曜日＞の指定が有りません。");
  EXPECT_EQ(sink.shown[0].caption, "サマータイム");
  EXPECT_EQ(sink.shown[0].buttons, MsgButtons::Ok);
  EXPECT_EQ(sink.shown[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(cursor, (CellPos{1, 2}));

  table.at(1, 2) = "土曜日";
  cursor = {1, 1};
  EXPECT_TRUE(summer::Validate(true, table, sink, cursor));
  EXPECT_EQ(sink.shown.size(), 1u);
  EXPECT_EQ(cursor, (CellPos{1, 1}));
}

TEST(SummerTimeRules, StoringUsesListPositionsAndTheHoursNumberAndRoundTrips) {
  ScheduleModel model{};
  TextTable table = Rule({"3 月", "第 2", "日曜日", "0 時"}, {"12 月", "最終", "土曜日", "23 時"});
  summer::Store(true, table, model);
  EXPECT_EQ(model.summerTimeEnabled, 1);
  const SummerTimeRule& r = model.summerTime;
  EXPECT_EQ(r.startMonth, 3);
  EXPECT_EQ(r.startWeek, 2);
  EXPECT_EQ(r.startWeekday, 1);
  EXPECT_EQ(r.startHour, 0);
  EXPECT_EQ(r.endMonth, 12);
  EXPECT_EQ(r.endWeek, 5);
  EXPECT_EQ(r.endWeekday, 7);
  EXPECT_EQ(r.endHour, 23);

  TextTable again = summer::Fill(r);
  for (int row = 0; row < 2; ++row)
    for (int col = 0; col < 4; ++col) EXPECT_EQ(again.at(row, col), table.at(row, col));

  // An hour typed past the list is no hour the timer has: it is stored as 0.
  summer::Store(
      true, Rule({"3 月", "第 2", "日曜日", "24 時"}, {"12 月", "最終", "土曜日", "23 時"}), model);
  EXPECT_EQ(model.summerTime.startHour, 0);
}

}  // namespace
}  // namespace tavrin
