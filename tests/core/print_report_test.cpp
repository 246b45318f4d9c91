// What the agenda window, the check window and the printed report say, and how the report is
// spread over pages: decided without a window or a printer.
#include <gtest/gtest.h>

#include <cstring>

#include "MakeStep.h"
#include "export/PrintLayout.h"
#include "export/PrintReport.h"
#include "image_test_support.h"
#include "model/ShiftJis.h"
#include "review/AgendaView.h"
#include "review/CheckTexts.h"

namespace tavrin {
namespace {

using testing::MakeStep;
using testing_support::EmptyModel;
using testing_support::ImageRig;

ProgramNameTable NamesWith(int program, const char* utf8) {
  ProgramNameTable names{};
  const std::string text = *ToShiftJis(utf8);
  std::memcpy(names.names[program].data(), text.data(), text.size());
  return names;
}

IniSettings DefaultChimes() {
  IniSettings settings;
  BuildChimeLists(settings);
  return settings;
}

TEST(AgendaTexts, EachEventSaysItsTimeChannelAndChimeOrKeepAction) {
  const IniSettings settings = DefaultChimes();
  const ProgramNameTable names = NamesWith(5, "運動会");
  AgendaDay day;
  day.date = {2028, 2, 29};
  day.program = 5;
  day.source = AgendaSource::Special;
  day.events = {{8, 5, 1, AgendaAction::Chime, 3},
                {12, 0, 1, AgendaAction::Chime, 0},
                {13, 0, 1, AgendaAction::Chime, 15},
                {17, 30, 2, AgendaAction::KeepOn, 0},
                {23, 59, 8, AgendaAction::KeepOff, 0}};
  const AgendaDayText text = DescribeAgendaDay(day, names, settings);
  EXPECT_EQ(DayHeadline(text), "2028年2月29日（火）　P5 運動会（祭日・個別設定）");
  const std::vector<std::vector<std::string>> expected = {
      {"08:05", "CH1", "3.小さな恋のメロディ"},
      {"12:00", "CH1", "0.（なし）"},
      // A code without a chime in "Tavrin.ini" is named, not shown as silence.
      {"13:00", "CH1", "チャイム番号15（未登録）"},
      {"17:30", "CH2", "ON"},
      {"23:59", "CH8", "OFF"},
  };
  ASSERT_EQ(text.events.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const AgendaEventText& event = text.events[i];
    EXPECT_EQ((std::vector<std::string>{event.time, event.channel, event.action}), expected[i]);
  }

  const struct {
    int program;
    AgendaSource source;
    const char* headline;
  } days[] = {
      {2, AgendaSource::Period, "2027年1月3日（日）　P2（期間設定）"},
      {1, AgendaSource::Basic, "2027年1月3日（日）　P1（基本プログラム）"},
      {0, AgendaSource::Basic,
       "2027年1月3日（日）　プログラムなし（何も動作しません）（基本プログラム）"},
  };
  for (const auto& c : days) {
    AgendaDay plain;
    plain.date = {2027, 1, 3};
    plain.program = c.program;
    plain.source = c.source;
    EXPECT_EQ(DayHeadline(DescribeAgendaDay(plain, ProgramNameTable{}, settings)), c.headline);
  }
}

TEST(AgendaTexts, AWeekStopsAtTheEndOfTheSecondYearAndStartsOnlyInsideTheTwo) {
  ImageRig rig(2027);
  ScheduleModel model = EmptyModel();
  model.channels[0] = {kChannelTimeSignal, 0, 10, 0};
  model.basicProgram = 1;
  model.steps[0] = MakeStep(1, 1, "1111111", 12, 0, 1);
  const SettingsImage image = rig.Pack(model);

  const auto range = AgendaRange(image);
  ASSERT_TRUE(range);
  EXPECT_EQ(range->first, (CalendarDate{2027, 1, 1}));
  EXPECT_EQ(range->second, (CalendarDate{2028, 12, 31}));
  const struct {
    CalendarDate from;
    std::size_t days;
    CalendarDate last;
  } cases[] = {
      {{2027, 12, 28}, 7, {2028, 1, 3}},  // across the turn of the year
      {{2028, 2, 26}, 7, {2028, 3, 3}},   // through the leap day
      {{2028, 12, 29}, 3, {2028, 12, 31}},
  };
  for (const auto& c : cases) {
    const Result<std::vector<AgendaDay>> days = AgendaFrom(image, c.from, kAgendaDays);
    ASSERT_TRUE(days) << days.message();
    ASSERT_EQ(days->size(), c.days);
    EXPECT_EQ(days->back().date, c.last);
    EXPECT_EQ(days->front().events.size(), 1u);
  }
  EXPECT_FALSE(AgendaFrom(image, {2026, 12, 31}, kAgendaDays));
  EXPECT_FALSE(AgendaFrom(image, {2029, 1, 1}, kAgendaDays));
}

Finding MakeFinding(Severity severity, std::string message) {
  return {CheckRule::InvalidValue, severity, {}, std::move(message)};
}

TEST(CheckTexts, SummaryCountsEachSeverityAndTheQuestionListsOnlyErrors) {
  EXPECT_EQ(CheckSummary({}), "問題は見つかりませんでした。");
  std::vector<Finding> findings = {MakeFinding(Severity::Warning, "w"),
                                   MakeFinding(Severity::Note, "n")};
  for (int i = 1; i <= 10; ++i) {
    findings.push_back(MakeFinding(Severity::Error, "e" + std::to_string(i)));
  }
  EXPECT_EQ(CheckSummary(findings), "エラー 10 件、警告 1 件、注意 1 件");
  EXPECT_EQ(
      WriteCheckQuestion(findings).substr(0, std::strlen("スケジュールの確認でエラーが 10 件")),
      "スケジュールの確認でエラーが 10 件");
  EXPECT_EQ(WriteCheckErrors(findings, 3), "・e1\n・e2\n・e3\nほか 7 件");
  EXPECT_EQ(WriteCheckErrors(findings, 10).find("ほか"), std::string::npos);
}

report::Table TableOf(int rows, std::string caption = "T") {
  report::Table table;
  table.caption = std::move(caption);
  table.widths = {1};
  table.header = {report::Cell("H")};
  for (int row = 0; row < rows; ++row) table.rows.push_back({report::Cell(std::to_string(row))});
  return table;
}

// Per page, the kind of each block and, for tables, caption and first row.
std::vector<std::vector<std::string>> Outline(const std::vector<report::Page>& pages) {
  std::vector<std::vector<std::string>> outline;
  for (const report::Page& page : pages) {
    std::vector<std::string> blocks;
    for (const report::Block& block : page.blocks) {
      if (block.kind != report::BlockKind::Tables) {
        blocks.push_back(block.text);
        continue;
      }
      std::string text;
      for (const report::Table& table : block.tables) {
        const std::string first = table.rows.empty() ? "-" : table.rows.front().front().text;
        text += table.caption + ":" + first + "+" + std::to_string(table.rows.size()) + " ";
      }
      blocks.push_back(text);
    }
    outline.push_back(blocks);
  }
  return outline;
}

TEST(PrintLayout, PagesBreakBetweenRowsAndNeverAfterAHeading) {
  using report::Heading;
  using report::Tables;
  using report::Text;
  using Outlines = std::vector<std::vector<std::string>>;
  const struct {
    const char* name;
    std::vector<report::Block> blocks;
    Outlines pages;
  } cases[] = {
      {"a table split between rows goes on under its caption marked as continued",
       {Heading("A"), Tables({TableOf(20)})},
       {{"A", "T:0+6 "}, {"T（続き）:6+8 "}, {"T（続き）:14+6 "}}},
      {"a table that fills the page exactly leaves no empty rest",
       {Tables({TableOf(8)}), Text("next")},
       {{"T:0+8 "}, {"next"}}},
      {"a heading at the foot moves to the page of what it heads",
       {Text("1"), Text("2"), Text("3"), Text("4"), Text("5"), Text("6"), Text("7"), Text("8"),
        Heading("B"), Tables({TableOf(2)})},
       {{"1", "2", "3", "4", "5", "6", "7", "8"}, {"B", "T:0+2 "}}},
      {"tables side by side move whole",
       {Text("1"), Text("2"), Text("3"), Tables({TableOf(3, "L"), TableOf(5, "R")})},
       {{"1", "2", "3"}, {"L:0+3 R:0+5 "}}},
      {"a page of its own", {Text("1"), Heading("C", true), Text("2")}, {{"1"}, {"C", "2"}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Outline(report::Paginate(c.blocks, 10)), c.pages) << c.name;
  }
}

// The channel table and the radio line in the words the pages and the CSV report use: 901..903
// are television channels only beside a television channel's name.
TEST(PrintReport, ChannelsAndRadioInThePagesWords) {
  struct Case {
    const char* station;
    int frequency;
    const char* line;
  };
  const Case cases[] = {{"１ｃｈ", 901, "ラジオ選局：１ｃｈ 901"},
                        {"１ｃｈ", 824, "ラジオ選局：１ｃｈ 82.4MHz"},
                        {"東京", 901, "ラジオ選局：東京 90.1MHz"},
                        {"東京", 825, "ラジオ選局：東京 82.5MHz"}};
  for (const Case& c : cases) {
    ImageRig rig(2026);
    ScheduleModel model = EmptyModel();
    model.channels[0] = {kChannelTimeSignal, 0, 10, 0};
    model.channels[1] = {kChannelTimeSignal, 1, 0, 1};
    model.basicProgram = 1;
    model.steps[0] = MakeStep(1, 1, "0111110", 8, 30, 3);
    const std::string name = *ToShiftJis(c.station);
    std::memcpy(model.radioStation.data(), name.data(), name.size());
    model.radioFrequency = static_cast<uint16_t>(c.frequency);
    const SettingsImage image = rig.Pack(model);
    const ProgramNameTable names{};
    const IniSettings settings = DefaultChimes();
    const std::vector<report::Block> blocks = report::BuildReport(
        {model, names, settings, rig.context().years, rig.calendars, image, {2026, 10, 9}});
    std::vector<std::string> rises;
    std::string radio;
    for (const report::Block& block : blocks) {
      if (block.text.rfind("ラジオ選局：", 0) == 0) radio = block.text;
      if (!rises.empty() || block.tables.empty()) continue;
      for (const auto& row : block.tables.front().rows) rises.push_back(row[3].text);
    }
    EXPECT_EQ(radio, c.line);
    EXPECT_EQ(rises, (std::vector<std::string>{"(なし)", "-3秒", "-", "-", "-", "-", "-", "-"}));
  }
}

TEST(PrintReport, HoldsEverySectionInOrderWithTheWeekOfTheAgenda) {
  ImageRig rig(2026);
  ScheduleModel model = EmptyModel();
  model.channels[0] = {kChannelTimeSignal, 0, 10, 0};
  model.channels[1] = {kChannelKeep, 0, 0, 0};
  model.basicProgram = 1;
  model.steps[0] = MakeStep(1, 1, "0111110", 8, 30, 3);
  model.steps[1] = MakeStep(1, 2, "0111110", 7, 0, kKeepOn);
  model.steps[2] = MakeStep(1, 2, "0111110", 18, 0, kKeepOff);
  model.steps[3] = MakeStep(2, 1, "1000001", 9, 0, 1);
  model.dates[0] = {2026, 10, 10, 2};
  const SettingsImage image = rig.Pack(model);
  const ProgramNameTable names = NamesWith(1, "平日");
  const IniSettings settings = DefaultChimes();
  const std::vector<report::Block> blocks = report::BuildReport(
      {model, names, settings, rig.context().years, rig.calendars, image, {2026, 10, 9}});

  std::vector<std::string> headings;
  std::vector<std::string> captions;
  for (const report::Block& block : blocks) {
    if (block.kind == report::BlockKind::Heading) headings.push_back(block.text);
    for (const report::Table& table : block.tables) captions.push_back(table.caption);
  }
  EXPECT_EQ(headings, (std::vector<std::string>{"チャンネル設定", "週間プログラム",
                                                "年間プログラム設定", "年間カレンダー 2026年",
                                                "年間カレンダー 2027年", "週間プログラムの確認",
                                                "予定表（2026年10月9日（金）から）"}));
  const auto has = [&](const std::string& caption) {
    return std::find(captions.begin(), captions.end(), caption) != captions.end();
  };
  EXPECT_TRUE(has("P1 平日（基本で使用）")) << ::testing::PrintToString(captions);
  EXPECT_TRUE(has("P1 平日　CH1 報時"));
  EXPECT_TRUE(has("P1 平日　CH2 キープ"));
  EXPECT_TRUE(has("P2　CH1 報時"));
  EXPECT_TRUE(has("2026年10月10日（土）　P2（祭日・個別設定）"));
  EXPECT_TRUE(has("2026年10月15日（木）　P1 平日（基本プログラム）"));
  EXPECT_FALSE(has("2026年10月16日（金）　P1 平日（基本プログラム）"));
  EXPECT_TRUE(has("個別設定"));
}

}  // namespace
}  // namespace tavrin
