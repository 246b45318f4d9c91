// Comparing two schedules: one planted change in each section is found and nothing else,
// re-sorted steps are no difference, and tavrin-cli diff prints the list as text or JSON lines
// with its exit codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "CliRun.h"
#include "TempFolder.h"
#include "cli/Commands.h"
#include "cli/ModelJson.h"
#include "model/ShiftJis.h"
#include "review/DiffTexts.h"
#include "review/ScheduleDiff.h"

namespace tavrin::testing {
namespace {

const std::string kSource = TAVRIN_SOURCE_DIR;
const std::string kSchool = kSource + "/examples/school.BIN";
const std::string kSchoolJson = kSource + "/examples/school.json";
const std::string kNow = "--now=2026-12-08T09:00:00";

struct Schedule {
  ScheduleModel model{};
  ProgramNameTable names{};
};

std::unique_ptr<Schedule> School() {
  auto school = std::make_unique<Schedule>();
  EXPECT_TRUE(ParseModelJson(ReadBytes(kSchoolJson), school->model, school->names).ok());
  return school;
}

std::vector<Difference> Compare(const Schedule& a, const Schedule& b) {
  IniSettings settings;
  BuildChimeLists(settings);
  return CompareSchedules({a.model, a.names}, {b.model, b.names}, settings);
}

void SetName(ProgramNameTable& names, int program, const std::string& utf8) {
  names.names[program] = {};
  const std::string sjis = *ToShiftJis(utf8);
  std::copy(sjis.begin(), sjis.end(), names.names[program].begin());
}

void SetStation(ScheduleModel& model, const std::string& utf8, int frequency) {
  const std::string sjis = *ToShiftJis(utf8);
  model.radioStation = {};
  std::copy(sjis.begin(), sjis.end(), model.radioStation.begin());
  model.radioFrequency = static_cast<uint16_t>(frequency);
}

constexpr auto kNone = std::nullopt;

TEST(ScheduleDiff, EachPlantedChangeIsTheOneDifferenceFound) {
  using S = DiffSection;
  using C = DiffChange;
  const std::string chime1 = "1.ウエストミンスターの鐘";
  struct Case {
    std::function<void(Schedule&)> plant;
    Difference expected;
    std::function<void(Schedule&)> base = [](Schedule&) {};  // on both sides first
  };
  const auto holidayOff = [](Schedule& s) { s.model.holidayEnabled = 0; };
  const Case cases[] = {
      {[](Schedule& s) { s.model.channels[0].signalSeconds = 30; },
       {S::Channels, C::Changed, "CH1", "報時 0分20秒 立ち上り(なし)",
        "報時 0分30秒 立ち上り(なし)"}},
      {[](Schedule& s) {
         s.model.channels[2] = {kChannelTimeSignal, 1, 0, 2};
       },
       {S::Channels, C::Added, "CH3", kNone, "報時 1分0秒 立ち上り-10秒"}},
      {[](Schedule& s) { s.model.steps[1].minute = 26; },
       {S::Steps, C::Changed, "P1 CH1", "月火水木金 08:25 " + chime1,
        "月火水木金 08:26 " + chime1}},
      {[](Schedule& s) { s.model.steps[1].days[6] = 1; },
       {S::Steps, C::Changed, "P1 CH1", "月火水木金 08:25 " + chime1,
        "月火水木金土 08:25 " + chime1}},
      {[](Schedule& s) { s.model.steps[0].action = kKeepOff; },
       {S::Steps, C::Changed, "P1 CH2", "月火水木金 07:30 ON", "月火水木金 07:30 OFF"}},
      {[](Schedule& s) {
         s.model.steps[500] = {5, 1, {1, 0, 0, 0, 0, 0, 1}, 12, 0, 3};
       },
       {S::Steps, C::Added, "P5 CH1", kNone, "日土 12:00 3.小さな恋のメロディ"}},
      {[](Schedule& s) { s.model.steps[3] = {}; },
       {S::Steps, C::Removed, "P1 CH1", "月火水木金 09:25 " + chime1, kNone}},
      {[](Schedule& s) { s.model.basicProgram = 2; },
       {S::BasicProgram, C::Changed, "基本設定", "P1", "P2"}},
      {[](Schedule& s) { s.model.holidayEnabled = 0; },
       {S::Holiday, C::Changed, "祭日設定", "する（P2）", "しない（P2）"}},
      // The program is stored while the setting is off, and the annual page shows it.
      {[](Schedule& s) { s.model.holidayProgram = 5; },
       {S::Holiday, C::Changed, "祭日設定", "しない（P2）", "しない（P5）"},
       holidayOff},
      {[](Schedule& s) { s.model.holidayProgram = 0; },
       {S::Holiday, C::Changed, "祭日設定", "しない（P2）", "しない"},
       holidayOff},
      {[](Schedule& s) { s.model.periods[4].program = 4; },
       {S::Periods, C::Changed, "2027 年 2月15日～2月19日", "P3", "P4"}},
      // A period with its year and one end on both sides is one period changed.
      {[](Schedule& s) { s.model.periods[4].endDay = 26; },
       {S::Periods, C::Changed, "2027 年", "2月15日～2月19日 P3", "2月15日～2月26日 P3"}},
      {[](Schedule& s) { s.model.periods[4].startDay = 16; },
       {S::Periods, C::Changed, "2027 年", "2月15日～2月19日 P3", "2月16日～2月19日 P3"}},
      {[](Schedule& s) { s.model.periods[4].startMonth = 1; },
       {S::Periods, C::Changed, "2027 年", "2月15日～2月19日 P3", "1月15日～2月19日 P3"}},
      {[](Schedule& s) {
         s.model.periods[4].endMonth = 3;
         s.model.periods[4].program = 4;
       },
       {S::Periods, C::Changed, "2027 年", "2月15日～2月19日 P3", "2月15日～3月19日 P4"}},
      {[](Schedule& s) { s.model.periods[1].endDay = 30; },
       {S::Periods, C::Changed, "毎年", "7月21日～8月31日 P4", "7月21日～8月30日 P4"}},
      {[](Schedule& s) { s.model.periods[10] = {kEveryYear, 5, 1, 5, 5, 4}; },
       {S::Periods, C::Added, "毎年 5月1日～5月5日", kNone, "P4"}},
      {[](Schedule& s) { s.model.dates[2] = {}; },
       {S::Dates, C::Removed, "2027 年 6月12日", "P1", kNone}},
      {[](Schedule& s) { s.model.dates[2].program = 2; },
       {S::Dates, C::Changed, "2027 年 6月12日", "P1", "P2"}},
      {[](Schedule& s) { s.model.leapStartProgram = 4; },
       {S::LeapPrograms, C::Changed, "2月29日に始まる毎年の期間", "なし", "P4"}},
      {[](Schedule& s) { s.model.summerTimeEnabled = 1; },
       {S::SummerTime, C::Changed, "サマータイムの実施", "しない", "する"}},
      {[](Schedule& s) { s.model.summerTime = {3, 5, 1, 2, 10, 5, 1, 3}; },
       {S::SummerTime, C::Changed, "サマータイムの期間", "なし",
        "3月最終日曜日 2時～10月最終日曜日 3時"}},
      {[](Schedule& s) { s.model.radioFrequency = 826; },
       {S::Radio, C::Changed, "ラジオ選局", "ＮＨＫ東京 82.5MHz", "ＮＨＫ東京 82.6MHz"}},
      // A television channel's name goes with its channel number, and a broadcast frequency
      // beside it is still a frequency.
      {[](Schedule& s) { SetStation(s.model, "１ｃｈ", 901); },
       {S::Radio, C::Changed, "ラジオ選局", "ＮＨＫ東京 82.5MHz", "１ｃｈ 901"}},
      {[](Schedule& s) { SetStation(s.model, "１ｃｈ", 824); },
       {S::Radio, C::Changed, "ラジオ選局", "ＮＨＫ東京 82.5MHz", "１ｃｈ 82.4MHz"}},
      {[](Schedule& s) { SetStation(s.model, "３ｃｈ", 904); },
       {S::Radio, C::Changed, "ラジオ選局", "ＮＨＫ東京 82.5MHz", "３ｃｈ 90.4MHz"}},
      {[](Schedule& s) { SetName(s.names, 1, "授業日A"); },
       {S::Names, C::Changed, "P1", "授業日", "授業日A"}},
      {[](Schedule& s) { SetName(s.names, 7, "行事"); }, {S::Names, C::Added, "P7", kNone, "行事"}},
  };
  for (const Case& c : cases) {
    std::unique_ptr<Schedule> before = School();
    std::unique_ptr<Schedule> after = School();
    c.base(*before);
    c.base(*after);
    c.plant(*after);
    const std::vector<Difference> found = Compare(*before, *after);
    ASSERT_EQ(found.size(), 1u) << c.expected.what;
    EXPECT_EQ(found[0], c.expected) << diff_text::Line(found[0]);
    // The same change read the other way round.
    const std::vector<Difference> back = Compare(*after, *before);
    ASSERT_EQ(back.size(), 1u) << c.expected.what;
    EXPECT_EQ(back[0].before, c.expected.after);
    EXPECT_EQ(back[0].after, c.expected.before);
  }
}

// Entries that share neither their dates nor their year and one end are two entries: one gone,
// one new.
TEST(ScheduleDiff, EntriesThatShareNoEndAreRemovedAndAdded) {
  struct Case {
    const char* name;
    std::function<void(Schedule&)> plant;
    DiffSection section;
  };
  const Case cases[] = {
      {"both ends of a period",
       [](Schedule& s) {
         s.model.periods[4].startDay = 16;
         s.model.periods[4].endDay = 20;
       },
       DiffSection::Periods},
      {"a period's year", [](Schedule& s) { s.model.periods[4].year = 2026; },
       DiffSection::Periods},
      {"an every-year period made one year's", [](Schedule& s) { s.model.periods[1].year = 2027; },
       DiffSection::Periods},
      {"a date's day", [](Schedule& s) { s.model.dates[2].day = 13; }, DiffSection::Dates},
      {"a date's month", [](Schedule& s) { s.model.dates[2].month = 7; }, DiffSection::Dates},
      {"a date's year", [](Schedule& s) { s.model.dates[2].year = 2026; }, DiffSection::Dates},
  };
  const std::unique_ptr<Schedule> before = School();
  for (const Case& c : cases) {
    std::unique_ptr<Schedule> after = School();
    c.plant(*after);
    const std::vector<Difference> found = Compare(*before, *after);
    ASSERT_EQ(found.size(), 2u) << c.name;
    std::vector<DiffChange> changes;
    for (const Difference& difference : found) {
      EXPECT_EQ(difference.section, c.section) << c.name;
      changes.push_back(difference.change);
    }
    std::sort(changes.begin(), changes.end());
    EXPECT_EQ(changes, (std::vector{DiffChange::Added, DiffChange::Removed})) << c.name;
  }
}

TEST(ScheduleDiff, StepsAreMatchedByWhatTheyDoNotByTheirSlot) {
  const std::unique_ptr<Schedule> school = School();
  std::unique_ptr<Schedule> resorted = School();
  std::vector<WeeklyStep> used;
  for (const WeeklyStep& step : resorted->model.steps) {
    if (step.used()) used.push_back(step);
  }
  std::reverse(used.begin(), used.end());
  resorted->model.steps = {};
  for (std::size_t i = 0; i < used.size(); ++i) resorted->model.steps[i * 7 + 3] = used[i];
  // Period and date tables in another order, and empty-looking slots that are not used.
  std::reverse(resorted->model.periods.begin(), resorted->model.periods.end());
  std::reverse(resorted->model.dates.begin(), resorted->model.dates.end());
  resorted->model.steps[2] = {5, 0, {1, 1, 1, 1, 1, 1, 1}, 1, 1, 1};
  resorted->model.stepCount = 0;
  EXPECT_EQ(Compare(*school, *resorted), std::vector<Difference>{});

  // A step on both sides twice, then once: one is gone.
  std::unique_ptr<Schedule> twice = School();
  twice->model.steps[900] = twice->model.steps[1];
  const std::vector<Difference> found = Compare(*twice, *school);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].change, DiffChange::Removed);
}

TEST(CliDiff, ListsTheDifferencesByCommandLineAsTextOrJsonLines) {
  TempFolder folder;
  const std::string data = kSource + "/src/resources";
  // The same schedule as a settings file and in another folder under another name.
  WriteBytes(folder / "copy.BIN", ReadBytes(kSchool));
  WriteBytes(folder / "copy.TXT", ReadBytes(kSource + "/examples/school.TXT"));
  Outcome same = Call(RunDiff, {kSchool, folder / "copy.BIN", "--data-dir", data, kNow});
  EXPECT_EQ(same.code, kExitOk) << same.err;
  EXPECT_EQ(same.out, "");

  // Two planted changes in two sections, the later section first in the file.
  std::unique_ptr<Schedule> changed = School();
  SetName(changed->names, 4, "夏休み");
  changed->model.steps[2].hour = 8;
  changed->model.steps[2].minute = 40;
  WriteBytes(folder / "changed.json", FormatModelJson(changed->model, changed->names));
  const std::vector<std::string> args = {kSchoolJson, folder / "changed.json", "--data-dir", data,
                                         kNow};
  Outcome text = Call(RunDiff, args);
  EXPECT_EQ(text.code, kExitFailure) << text.err;
  EXPECT_EQ(Lines(text.out),
            (std::vector<std::string>{
                "[週間プログラム] 変更 P1 CH1: 月火水木金 08:35 1.ウエストミンスターの鐘 → "
                "月火水木金 08:40 1.ウエストミンスターの鐘",
                "[プログラム名] 変更 P4: 長期休業 → 夏休み"}));
  std::vector<std::string> jsonArgs = args;
  jsonArgs.push_back("--json");
  Outcome json = Call(RunDiff, jsonArgs);
  EXPECT_EQ(json.code, kExitFailure) << json.err;
  EXPECT_EQ(
      Lines(json.out),
      (std::vector<std::string>{
          R"({"section":"steps","change":"changed","what":"P1 CH1","before":"月火水木金 08:35 1.ウエストミンスターの鐘","after":"月火水木金 08:40 1.ウエストミンスターの鐘"})",
          R"({"section":"names","change":"changed","what":"P4","before":"長期休業","after":"夏休み"})"}));

  // An added entry has no "before", a removed one no "after".
  changed = School();
  changed->model.dates[5] = {2027, 1, 8, 4};
  changed->model.steps[4] = {};
  WriteBytes(folder / "other.json", FormatModelJson(changed->model, changed->names));
  Outcome partial =
      Call(RunDiff, {kSchoolJson, folder / "other.json", "--json", "--data-dir", data, kNow});
  EXPECT_EQ(
      Lines(partial.out),
      (std::vector<std::string>{
          R"({"section":"steps","change":"removed","what":"P1 CH1","before":"月火水木金 09:35 1.ウエストミンスターの鐘"})",
          R"({"section":"dates","change":"added","what":"2027 年 1月8日","after":"P4"})"}));
}

TEST(CliDiff, UnusableInputIsRefusedWithExitTwoAndNothingListed) {
  TempFolder folder;
  WriteBytes(folder / "short.BIN", ReadBytes(kSchool).substr(0, 100));
  WriteBytes(folder / "broken.json", "{\"basicProgram\":");
  const std::string missing = folder / "missing.BIN";
  struct Case {
    std::vector<std::string> args;
    std::string err;  // the start of the message
  };
  const Case cases[] = {
      {{kSchool, missing, kNow}, "tavrin-cli: " + missing + " does not exist\n"},
      {{missing, kSchool, kNow}, "tavrin-cli: " + missing + " does not exist\n"},
      {{kSchool, folder / "short.BIN", kNow},
       "tavrin-cli: " + folder / "short.BIN" +
           " の大きさが 6594 バイトではありません（100 バイト）。\n"},
      {{folder / "broken.json", kSchool, kNow},
       "tavrin-cli: " + folder / "broken.json" + ": not valid JSON"},
      {{kSchool, kNow}, "tavrin-cli: diff takes two settings files or model JSON files\n"},
      {{kSchool, kSchool, kSchool, kNow},
       "tavrin-cli: diff takes two settings files or model JSON files\n"},
      {{kSchool, kSchool, "--now", "tomorrow"}, "tavrin-cli: --now: expected"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--data-dir", kSource + "/src/resources"});
    Outcome run = Call(RunDiff, args);
    EXPECT_EQ(run.code, kExitUsage) << c.err;
    EXPECT_EQ(run.out, "") << c.err;
    EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << run.err;
  }
}

}  // namespace
}  // namespace tavrin::testing
