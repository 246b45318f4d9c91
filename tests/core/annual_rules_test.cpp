#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "calendar/AnnualRules.h"
#include "model/ScheduleTexts.h"

namespace tavrin::annual {
namespace {

constexpr YearPair kYears{2026, 2027};
const ProgramNameTable kNoNames{};

ScheduleModel EmptyModel() {
  ScheduleModel model{};
  ClearModel(model);
  return model;
}

// One table row per string list; cells given as they appear in the grid.
TextTable Table(int cols, const std::vector<std::vector<std::string>>& rows) {
  TextTable table(kListRows, cols);
  for (std::size_t r = 0; r < rows.size(); ++r)
    for (std::size_t c = 0; c < rows[r].size(); ++c)
      table.at(static_cast<int>(r), static_cast<int>(c)) = rows[r][c];
  return table;
}

std::vector<std::string> Row(const TextTable& table, int row) {
  std::vector<std::string> cells;
  for (int c = 0; c < table.cols(); ++c) cells.push_back(table.at(row, c));
  return cells;
}

PageTexts Only(Kind kind, TextTable table) {
  PageTexts texts;
  texts.of(kind) = std::move(table);
  return texts;
}

TEST(AnnualRules, ListsAndCellTexts) {
  using Items = std::vector<std::string>;
  EXPECT_EQ(ColumnChoices(Column::Year, kYears, kNoNames).items,
            (Items{"毎年", "2026 年", "2027 年", ""}));
  EXPECT_EQ(ColumnChoices(Column::Month, kYears, kNoNames).items.at(11), "12 月");
  EXPECT_EQ(ColumnChoices(Column::Day, kYears, kNoNames).items.at(30), "31 日");
  const Items programs = ColumnChoices(Column::Program, kYears, kNoNames).items;
  EXPECT_EQ(Items(programs.begin(), programs.begin() + 3), (Items{"1", "2", "3"}));
  EXPECT_EQ(programs.size(), 99u);
  EXPECT_EQ(programs.back(), "99");
  EXPECT_EQ(texts::YearText(kEveryYear), "毎年");
  EXPECT_EQ(texts::YearText(2026), "2026 年");
  EXPECT_EQ(ReadYear("毎年"), kEveryYear);
  EXPECT_EQ(ReadYear("2027 年"), 2027);
  EXPECT_EQ(ReadYear(""), std::nullopt);
}

TEST(AnnualRules, ProgramsAreOfferedAndShownWithTheirNamesAndReadBackAsNumbers) {
  ProgramNameTable names{};
  std::memcpy(names.names[4].data(), "\x89\xc4\x8b\x78", 4);  // 夏休
  std::memcpy(names.names[12].data(), "3,4 grade", 9);        // a name that reads like more
  const std::vector<std::string> programs = ColumnChoices(Column::Program, kYears, names).items;
  EXPECT_EQ(programs.at(3), "4 夏休");
  EXPECT_EQ(programs.at(4), "5");
  EXPECT_EQ(programs.at(11), "12 3,4 grade");

  ScheduleModel model = EmptyModel();
  model.basicProgram = 4;
  model.periods[0] = {kEveryYear, 7, 21, 8, 31, 12};
  model.dates[0] = {2026, 12, 25, 4};
  EXPECT_EQ(FillBasic(model, names).at(0, 0), "4 夏休");
  EXPECT_EQ(FillPeriods(model, names).at(0, 5), "12 3,4 grade");
  EXPECT_EQ(FillDates(model, names).at(0, 3), "4 夏休");

  // What the lists put into a cell is stored as its number, and copied and pasted as such.
  PageTexts texts;
  texts.of(Kind::Basic) = FillBasic(model, names);
  texts.of(Kind::Period) = FillPeriods(model, names);
  ScheduleModel stored = EmptyModel();
  ASSERT_TRUE(CheckAndStoreAll(texts, kYears, BasicMessages::Shown, stored).verdict.ok());
  EXPECT_EQ(stored.basicProgram, 4);
  EXPECT_EQ(stored.periods[0].program, 12);
  EditorClipboards clipboards{};
  CopyPeriods(*texts.of(Kind::Period), 0, 0, clipboards);
  EXPECT_EQ(clipboards.periods[0].program, 12);
  TextTable pasted(kListRows, kPeriodCols);
  PastePeriods(clipboards, names, 1, pasted);
  EXPECT_EQ(pasted.at(1, 5), "12 3,4 grade");
}

TEST(AnnualRules, FillWritesTheUsedSlotsIntoConsecutiveRows) {
  ScheduleModel model = EmptyModel();
  model.basicProgram = 1;
  model.holidayProgram = 0;
  model.periods[3] = {kEveryYear, 7, 21, 8, 31, 4};
  model.periods[7] = {2027, 2, 15, 2, 19, 3};
  model.dates[1] = {2026, 12, 25, 12};
  EXPECT_EQ(FillBasic(model, kNoNames).at(0, 0), "1");
  EXPECT_EQ(FillHoliday(model, kNoNames).at(0, 0), "");
  TextTable periods = FillPeriods(model, kNoNames);
  EXPECT_EQ(Row(periods, 0),
            (std::vector<std::string>{"毎年", "7 月", "21 日", "8 月", "31 日", "4"}));
  EXPECT_EQ(Row(periods, 1),
            (std::vector<std::string>{"2027 年", "2 月", "15 日", "2 月", "19 日", "3"}));
  EXPECT_TRUE(Row(periods, 2) == std::vector<std::string>(6));
  TextTable dates = FillDates(model, kNoNames);
  EXPECT_EQ(Row(dates, 0), (std::vector<std::string>{"2026 年", "12 月", "25 日", "12"}));
  EXPECT_EQ(dates.FirstEmptyCell(), (CellPos{1, 0}));
}

TEST(AnnualRules, PeriodRowsAreCheckedInTheirOrder) {
  struct Case {
    std::vector<std::string> row;
    std::string message;  // empty: passes
    CellPos cell;
  };
  const Case cases[] = {
      {{"", "", "", "", "", "5"}, "1 行目の＜開始年＞の指定が有りません。", {0, 0}},
      {{"2026 年", "", "1 日", "", "", ""}, "1 行目の＜開始月＞の指定が有りません。", {0, 1}},
      {{"2026 年", "4 月", "", "", "", ""}, "1 行目の＜開始日＞の指定が有りません。", {0, 2}},
      {{"2026 年", "2 月", "29 日", "3 月", "1 日", "5"},
       "1 行目の＜開始日＞の指定が不正です。",
       {0, 2}},
      {{"2026 年", "4 月", "1 日", "", "", ""}, "1 行目の＜終了月＞の指定が有りません。", {0, 3}},
      {{"2026 年", "4 月", "1 日", "4 月", "", ""},
       "1 行目の＜終了日＞の指定が有りません。",
       {0, 4}},
      {{"2026 年", "4 月", "1 日", "4 月", "31 日", "5"},
       "1 行目の＜終了日＞の指定が不正です。",
       {0, 4}},
      {{"2026 年", "4 月", "1 日", "4 月", "30 日", ""},
       "1 行目の＜プログラム番号＞の指定が有りません。",
       {0, 5}},
      {{"2026 年", "4 月", "1 日", "4 月", "30 日", "100"},
       "1 行目の＜プログラム番号＞の指定が不正です。",
       {0, 5}},
      {{"2026 年", "4 月", "1 日", "3 月", "31 日", "5"},
       "1 行目の＜開始と終了＞の指定が不正です。\n"
       "期間は１年の中（1 月 1 日～12 月 31 日）で指定してください。",
       {0, 3}},
      {{"2026 年", "4 月", "1 日", "4 月", "1 日", "5"}, "", {}},  // a single day
      {{"毎年", "2 月", "29 日", "3 月", "5 日", "5"}, "", {}},    // February of every year has 29
      {{"2028 年", "2 月", "29 日", "2 月", "29 日", "5"},
       "1 行目の＜開始年＞の指定が不正です。",
       {0, 0}},
      // A pasted year from before a change of the clock's year would be dropped by packing.
      {{"2025 年", "4 月", "1 日", "4 月", "2 日", "5"},
       "1 行目の＜開始年＞の指定が不正です。",
       {0, 0}},
  };
  for (const Case& c : cases) {
    ScheduleModel model = EmptyModel();
    Verdict verdict = CheckAndStore(Kind::Period, Only(Kind::Period, Table(kPeriodCols, {c.row})),
                                    kYears, BasicMessages::Shown, model);
    EXPECT_EQ(verdict.message(), c.message) << c.row[0] << c.row[1] << c.row[2];
    if (!c.message.empty()) {
      EXPECT_EQ(verdict.cell(), c.cell) << c.message;
    }
  }
  // The row number is the grid's, counted from 1, and empty rows are skipped.
  ScheduleModel model = EmptyModel();
  Verdict third = CheckAndStore(
      Kind::Period,
      Only(Kind::Period,
           Table(kPeriodCols,
                 {{"2026 年", "4 月", "1 日", "4 月", "2 日", "5"}, {}, {"2026 年", "4 月"}})),
      kYears, BasicMessages::Shown, model);
  EXPECT_EQ(third.message(), "3 行目の＜開始日＞の指定が有りません。");
  EXPECT_EQ(third.cell(), (CellPos{2, 2}));
  EXPECT_EQ(model.periods[0].year, 0) << "a failed check stores nothing";
}

TEST(AnnualRules, APeriodOverNewYearIsOfferedAsTwoRowsWhereItCanBe) {
  using Rows = std::vector<std::vector<std::string>>;
  struct Case {
    const char* what;
    Rows rows;
    std::optional<Rows> split;  // the first rows of the table after the split; none: no offer
    std::string question;
  };
  const Case cases[] = {
      {"every year",
       {{"毎年", "12 月", "25 日", "1 月", "7 日", "5"}},
       Rows{{"毎年", "12 月", "25 日", "12 月", "31 日", "5"},
            {"毎年", "1 月", "1 日", "1 月", "7 日", "5"}},
       "1 行目の期間は年をまたいでいます。\n次の２行に分けて設定しますか？\n\n"
       "毎年 12 月 25 日 ～ 12 月 31 日\n毎年 1 月 1 日 ～ 1 月 7 日"},
      {"the current year and the next, the rows below moving down to the first gap",
       {{"2026 年", "4 月", "1 日", "4 月", "2 日", "1"},
        {"2026 年", "12 月", "20 日", "2 月", "28 日", "5"},
        {"2027 年", "3 月", "1 日", "3 月", "2 日", "2"},
        {},
        {"2027 年", "5 月", "1 日", "5 月", "2 日", "3"}},
       Rows{{"2026 年", "4 月", "1 日", "4 月", "2 日", "1"},
            {"2026 年", "12 月", "20 日", "12 月", "31 日", "5"},
            {"2027 年", "1 月", "1 日", "2 月", "28 日", "5"},
            {"2027 年", "3 月", "1 日", "3 月", "2 日", "2"},
            {"2027 年", "5 月", "1 日", "5 月", "2 日", "3"}},
       "2 行目の期間は年をまたいでいます。\n次の２行に分けて設定しますか？\n\n"
       "2026 年 12 月 20 日 ～ 12 月 31 日\n2027 年 1 月 1 日 ～ 2 月 28 日"},
      {"a school year",
       {{"毎年", "4 月", "1 日", "3 月", "31 日", "7"}},
       Rows{{"毎年", "4 月", "1 日", "12 月", "31 日", "7"},
            {"毎年", "1 月", "1 日", "3 月", "31 日", "7"}},
       ""},
      {"the image's second year has no next",
       {{"2027 年", "12 月", "25 日", "1 月", "7 日", "5"}},
       std::nullopt,
       ""},
      {"an end day the month does not have",
       {{"2026 年", "12 月", "25 日", "2 月", "29 日", "5"}},
       std::nullopt,
       ""},
      {"a row whose fault comes first",
       {{"毎年", "12 月", "25 日", "1 月", "7 日", ""}},
       std::nullopt,
       ""},
      {"an earlier faulty row",
       {{"毎年", "4 月"}, {"毎年", "12 月", "25 日", "1 月", "7 日", "5"}},
       std::nullopt,
       ""},
  };
  for (const Case& c : cases) {
    const TextTable periods = Table(kPeriodCols, c.rows);
    ScheduleModel model = EmptyModel();
    const Verdict verdict = CheckAndStore(Kind::Period, Only(Kind::Period, periods), kYears,
                                          BasicMessages::Shown, model);
    ASSERT_FALSE(verdict) << c.what;
    const std::optional<NewYearSplit> split = OfferNewYearSplit(periods, verdict, kYears);
    ASSERT_EQ(split.has_value(), c.split.has_value()) << c.what;
    if (!split) continue;
    for (std::size_t r = 0; r < c.split->size(); ++r)
      EXPECT_EQ(Row(split->table, static_cast<int>(r)), (*c.split)[r]) << c.what << " " << r;
    if (!c.question.empty()) {
      EXPECT_EQ(split->question, c.question) << c.what;
    }
    // The split rows pass and keep their order.
    EXPECT_TRUE(CheckAndStore(Kind::Period, Only(Kind::Period, split->table), kYears,
                              BasicMessages::Shown, model)
                    .ok())
        << c.what;
  }

  // A row with no empty row below it cannot take its second half.
  TextTable full =
      Table(kPeriodCols, Rows(kListRows, {"毎年", "5 月", "1 日", "5 月", "2 日", "1"}));
  full.at(198, 1) = "12 月";
  full.at(198, 3) = "1 月";
  ScheduleModel model = EmptyModel();
  const Verdict verdict =
      CheckAndStore(Kind::Period, Only(Kind::Period, full), kYears, BasicMessages::Shown, model);
  EXPECT_EQ(verdict.cell(), (CellPos{198, kPeriodEndMonthCol}));
  EXPECT_FALSE(OfferNewYearSplit(full, verdict, kYears));
  EXPECT_FALSE(OfferNewYearSplit(full, Verdict(), kYears)) << "nothing to answer";
}

TEST(AnnualRules, IndividualRowsAreCheckedInTheirOrder) {
  struct Case {
    YearPair years;
    std::vector<std::string> row;
    std::string message;
  };
  const Case cases[] = {
      {kYears, {"", "", "", "7"}, "1 行目の＜実施年＞の指定が有りません。"},
      {kYears, {"2027 年", "", "", ""}, "1 行目の＜実施月＞の指定が有りません。"},
      {kYears, {"2027 年", "6 月", "", ""}, "1 行目の＜実施日＞の指定が有りません。"},
      {kYears, {"2027 年", "6 月", "31 日", "7"}, "1 行目の＜実施日＞の指定が不正です。"},
      {kYears, {"2027 年", "6 月", "30 日", ""}, "1 行目の＜プログラム番号＞の指定が有りません。"},
      {kYears, {"2027 年", "6 月", "30 日", "0"}, "1 行目の＜プログラム番号＞の指定が不正です。"},
      {kYears, {"2024 年", "6 月", "30 日", "7"}, "1 行目の＜実施年＞の指定が不正です。"},
      {kYears, {"2027 年", "6 月", "30 日", "7"}, ""},
      // An every-year 29 February is measured against the current year only.
      {kYears, {"毎年", "2 月", "29 日", "7"}, "1 行目の＜実施日＞の指定が不正です。"},
      {{2028, 2029}, {"毎年", "2 月", "29 日", "7"}, ""},
  };
  for (const Case& c : cases) {
    ScheduleModel model = EmptyModel();
    Verdict verdict =
        CheckAndStore(Kind::Individual, Only(Kind::Individual, Table(kDateCols, {c.row})), c.years,
                      BasicMessages::Shown, model);
    EXPECT_EQ(verdict.message(), c.message) << c.row[0] << c.row[1] << c.row[2] << c.row[3];
  }
}

TEST(AnnualRules, StoringCompactsTheRowsAndRecordsTheLeapDayPrograms) {
  ScheduleModel model = EmptyModel();
  model.periods[150] = {2026, 1, 1, 1, 2, 9};
  model.leapStartProgram = 44;
  const TextTable periods =
      Table(kPeriodCols, {
                             {"毎年", "2 月", "29 日", "3 月", "5 日", "5"},
                             {},
                             {"毎年", "1 月", "10 日", "2 月", "29 日", "6"},
                             {"2028 年", "1 月", "10 日", "2 月", "29 日", "8"},
                         });
  ASSERT_TRUE(CheckAndStore(Kind::Period, Only(Kind::Period, periods), YearPair{2027, 2028},
                            BasicMessages::Shown, model)
                  .ok());
  EXPECT_EQ(model.periods[0], (PeriodEntry{kEveryYear, 2, 29, 3, 5, 5}));
  EXPECT_EQ(model.periods[1], (PeriodEntry{kEveryYear, 1, 10, 2, 29, 6}));
  EXPECT_EQ(model.periods[2], (PeriodEntry{2028, 1, 10, 2, 29, 8}));
  EXPECT_EQ(model.periods[3].year, 0);
  EXPECT_EQ(model.periods[150].year, 0) << "every slot is cleared first";
  EXPECT_EQ(model.leapStartProgram, 5);
  EXPECT_EQ(model.leapEndProgram, 6) << "only every-year rows count";

  TextTable dates = Table(
      kDateCols, {{}, {"2027 年", "3 月", "19 日", "3"}, {}, {"毎年", "12 月", "25 日", "3"}});
  ASSERT_TRUE(CheckAndStore(Kind::Individual, Only(Kind::Individual, dates), kYears,
                            BasicMessages::Shown, model)
                  .ok());
  EXPECT_EQ(model.dates[0], (DateEntry{2027, 3, 19, 3}));
  EXPECT_EQ(model.dates[1], (DateEntry{kEveryYear, 12, 25, 3}));
  EXPECT_EQ(model.dates[2].year, 0);
  // Filled again, the rows come back packed together.
  EXPECT_EQ(FillDates(model, kNoNames).at(1, 0), "毎年");
}

TEST(AnnualRules, BasicMessagesOnlyOnOkAndHolidayOnlyWhenEnabled) {
  struct Case {
    Kind kind;
    std::string cell;
    bool enabled;
    BasicMessages basic;
    std::string message;
    int stored;
  };
  const Case cases[] = {
      {Kind::Basic, "", false, BasicMessages::Shown, "＜プログラム番号＞の指定が有りません。", -1},
      {Kind::Basic, "", false, BasicMessages::Skipped, "", 0},
      {Kind::Basic, "7", false, BasicMessages::Shown, "", 7},
      {Kind::Holiday, "", true, BasicMessages::Skipped, "＜プログラム番号＞の指定が有りません。",
       -1},
      {Kind::Holiday, "", false, BasicMessages::Shown, "", 0},
      {Kind::Holiday, "2", true, BasicMessages::Skipped, "", 2},
  };
  for (const Case& c : cases) {
    ScheduleModel model = EmptyModel();
    model.basicProgram = model.holidayProgram = -1;
    TextTable cell(1, 1);
    cell.at(0, 0) = c.cell;
    PageTexts texts = Only(c.kind, cell);
    texts.holidayEnabled = c.enabled;
    Verdict verdict = CheckAndStore(c.kind, texts, kYears, c.basic, model);
    EXPECT_EQ(verdict.message(), c.message) << c.cell;
    EXPECT_EQ(c.kind == Kind::Basic ? model.basicProgram : model.holidayProgram, c.stored);
    if (c.kind == Kind::Holiday && verdict.ok()) {
      EXPECT_EQ(model.holidayEnabled, c.enabled ? 1 : 0);
    }
  }
}

TEST(AnnualRules, TheFullCheckRunsBasicPeriodIndividualHolidayAndStopsAtTheFirstFault) {
  PageTexts texts;
  texts.of(Kind::Basic) = TextTable(1, 1);
  texts.of(Kind::Holiday) = TextTable(1, 1);
  texts.holidayEnabled = true;
  texts.of(Kind::Individual) = Table(kDateCols, {{"2026 年"}});
  ScheduleModel model = EmptyModel();
  KindVerdict first = CheckAndStoreAll(texts, kYears, BasicMessages::Shown, model);
  EXPECT_EQ(first.kind, Kind::Basic);
  KindVerdict second = CheckAndStoreAll(texts, kYears, BasicMessages::Skipped, model);
  EXPECT_EQ(second.kind, Kind::Individual) << "the period kind was never built";
  EXPECT_EQ(second.verdict.message(), "1 行目の＜実施月＞の指定が有りません。");
  texts.of(Kind::Individual).reset();
  KindVerdict third = CheckAndStoreAll(texts, kYears, BasicMessages::Skipped, model);
  EXPECT_EQ(third.kind, Kind::Holiday);
  texts.of(Kind::Holiday)->at(0, 0) = "3";
  EXPECT_TRUE(CheckAndStoreAll(texts, kYears, BasicMessages::Skipped, model).verdict.ok());
  EXPECT_EQ(model.holidayProgram, 3);
}

TEST(AnnualRules, CopyReadsEachColumnByItsOwnRuleSoPasteRestoresTheRows) {
  // Reading "毎年" as a number once made it 0, and the pasted row an empty slot.
  const TextTable source = Table(kPeriodCols, {
                                                  {"毎年", "12 月", "26 日", "12 月", "31 日", "4"},
                                                  {"2027 年", "2 月", "", "", "19 日", "99"},
                                                  {},
                                              });
  EditorClipboards clipboards{};
  CopyPeriods(source, 0, 2, clipboards);
  ASSERT_EQ(clipboards.periodCount, 3);
  EXPECT_EQ(clipboards.periods[0].year, kEveryYear);
  EXPECT_EQ(clipboards.periods[0].startMonth, 12);
  EXPECT_EQ(clipboards.periods[1].startDay, kEmptyCell);
  EXPECT_EQ(clipboards.periods[2].year, kEmptyYear);

  TextTable target(kListRows, kPeriodCols);
  target.at(5, 0) = "old";
  PastePeriods(clipboards, kNoNames, 4, target);
  for (int r = 0; r < 3; ++r) EXPECT_EQ(Row(target, 4 + r), Row(source, r)) << r;

  TextTable dates = Table(kDateCols, {{"毎年", "2 月", "29 日", "7"}, {"2026 年", "", "1 日", ""}});
  CopyDates(dates, 0, 1, clipboards);
  TextTable pasted(kListRows, kDateCols);
  PasteDates(clipboards, kNoNames, 0, pasted);
  EXPECT_EQ(Row(pasted, 0), Row(dates, 0));
  EXPECT_EQ(Row(pasted, 1), Row(dates, 1));
}

TEST(AnnualRules, CopyTakesAtMostTheClipboardAndPasteStopsAtTheLastRow) {
  TextTable full(kListRows, kDateCols);
  for (int r = 0; r < kListRows; ++r) full.at(r, 3) = std::to_string(r % 99 + 1);
  EditorClipboards clipboards{};
  CopyDates(full, -3, 500, clipboards);
  EXPECT_EQ(clipboards.dateCount, kDateCount);
  TextTable target(kListRows, kDateCols);
  PasteDates(clipboards, kNoNames, 197, target);
  EXPECT_EQ(target.at(197, 3), "1");
  EXPECT_EQ(target.at(199, 3), "3");
  CopyDates(full, 10, 9, clipboards);
  EXPECT_EQ(clipboards.dateCount, 0) << "copy empties the clipboard first";
}

}  // namespace
}  // namespace tavrin::annual
