// The schedule check: each rule caught on one fault planted in a clean school schedule.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "CsvFixture.h"
#include "SchoolExample.h"
#include "model/ImagePacking.h"

namespace tavrin {
namespace {

using testing::MakeStep;

using testing::School;

const std::string kSource = TAVRIN_SOURCE_DIR;
constexpr YearPair kYears = testing::kSchoolYears;

std::string Describe(const std::vector<Finding>& findings) {
  std::string text;
  for (const Finding& f : findings) text += std::string(RuleId(f.rule)) + ": " + f.message + "\n";
  return text;
}

TEST(ScheduleCheck, TheSchoolExampleIsClean) {
  School school;
  EXPECT_EQ(Describe(school.Check()), "");

  // As the desktop program has it after opening the saved file.
  SettingsImage image;
  const std::string bytes = testing::ReadBytes(kSource + "/examples/school.BIN");
  ASSERT_EQ(bytes.size(), image.size());
  std::copy(bytes.begin(), bytes.end(), image.begin());
  UnpackImage(image, {kYears, &school.holidays, true}, school.model);
  EXPECT_EQ(Describe(school.Check()), "");
}

struct PlantedFault {
  const char* name;
  std::function<void(School&)> plant;
  CheckRule rule;
  CheckPlace place;
  const char* message;
};

const PlantedFault kFaults[] = {
    {"no basic program",
     [](School& s) { s.model.basicProgram = 0; },
     CheckRule::BasicMissing,
     {PlaceKind::Basic, 0},
     "基本設定の週間プログラムが指定されていません。"},
    {"basic program without steps",
     [](School& s) { s.model.basicProgram = 5; },
     CheckRule::BasicMissing,
     {PlaceKind::Basic, 0},
     "基本設定の週間プログラム 5 にステップが有りません。"},
    {"period program without steps",
     [](School& s) { s.model.periods[4].program = 8; },
     CheckRule::ProgramWithoutSteps,
     {PlaceKind::Period, 4},
     "期間設定 5 行目（2027 年 2/15～2/19）の週間プログラム 8 にステップが有りません。"},
    {"date program without steps",
     [](School& s) { s.model.dates[0].program = 9; },
     CheckRule::ProgramWithoutSteps,
     {PlaceKind::Date, 0},
     "個別設定 1 行目（毎年 12/25）の週間プログラム 9 にステップが有りません。"},
    {"step on an unused channel",
     [](School& s) { s.model.steps[31] = MakeStep(1, 3, "0100000", 12, 0, 1); },
     CheckRule::StepOnUnusedChannel,
     {PlaceKind::Step, 31},
     "週間プログラム 1「授業日」 CH3 のステップ "
     "1（12:00）は、使用していないチャンネルのため実行されません。"},
    {"period of a past year",
     [](School& s) { s.model.periods[5] = {2025, 5, 1, 5, 5, 4}; },
     CheckRule::StaleYear,
     {PlaceKind::Period, 5},
     "期間設定 6 行目（2025 年 5/1～5/5）は、2026 年・2027 "
     "年・毎年のいずれでもないため、実行されません。"},
    {"period of a year no image carries",
     [](School& s) { s.model.periods[5] = {1999, 5, 1, 5, 5, 4}; },
     CheckRule::InvalidValue,
     {PlaceKind::Period, 5},
     "期間設定 6 行目（1999 年 5/1～5/5）の＜開始年＞ 1999 は範囲外です（2000～2099）。"},
    {"date of a later year",
     [](School& s) {
       s.model.dates[3] = {2028, 1, 5, 3};
     },
     CheckRule::StaleYear,
     {PlaceKind::Date, 3},
     "個別設定 4 行目（2028 年 1/5）は、2026 年・2027 "
     "年・毎年のいずれでもないため、実行されません。"},
    {"hour 24",
     [](School& s) { s.model.steps[0].hour = 24; },
     CheckRule::InvalidValue,
     {PlaceKind::Step, 0},
     "週間プログラム 1「授業日」 CH2 のステップ 1（24:30）の＜時刻（時）＞ 24 "
     "は範囲外です（0～23）。"},
    {"step without a day",
     [](School& s) { s.model.steps[2].days = {}; },
     CheckRule::InvalidValue,
     {PlaceKind::Step, 2},
     "週間プログラム 1「授業日」 CH1 のステップ 2（8:35）の＜曜日＞の指定が有りません。"},
    {"keep step without ON or OFF",
     [](School& s) { s.model.steps[17].action = kKeepNone; },
     CheckRule::InvalidValue,
     {PlaceKind::Step, 17},
     "週間プログラム 2「休日」 CH2 のステップ 1（7:30）の＜ON / OFF＞の指定が有りません。"},
    {"step of program 100",
     [](School& s) { s.model.steps[1].program = 100; },
     CheckRule::InvalidValue,
     {PlaceKind::Step, 1},
     "週間プログラム 100 CH1 のステップ 1（8:25）の＜プログラム番号＞ 100 は範囲外です（1～99）。"},
    {"step slot without a channel",
     [](School& s) { s.model.steps[50] = MakeStep(4, 0, "0100000", 9, 0, 1); },
     CheckRule::InvalidValue,
     {PlaceKind::Step, 50},
     "ステップ欄 51（週間プログラム 4「長期休業」）の＜チャンネル番号＞の指定が有りません。"},
    {"30 February",
     [](School& s) {
       s.model.dates[1] = {2027, 2, 30, 3};
     },
     CheckRule::InvalidValue,
     {PlaceKind::Date, 1},
     "個別設定 2 行目（2027 年 2/30）の＜実施日＞ 30 は範囲外です（1～28）。"},
    {"month 13",
     [](School& s) { s.model.periods[4].endMonth = 13; },
     CheckRule::InvalidValue,
     {PlaceKind::Period, 4},
     "期間設定 5 行目（2027 年 2/15～13/19）の＜終了月＞ 13 は範囲外です（1～12）。"},
    {"period ending before it starts",
     [](School& s) { s.model.periods[4].endDay = 14; },
     CheckRule::InvalidValue,
     {PlaceKind::Period, 4},
     "期間設定 5 行目（2027 年 2/15～2/14）の＜開始と終了＞の指定が不正です。"},
    {"holiday setting without a program",
     [](School& s) {
       s.model.holidayProgram = 0;
       s.model.dates[2].program = 2;
     },
     CheckRule::InvalidValue,
     {PlaceKind::Holiday, 0},
     "祭日設定の＜プログラム番号＞の指定が有りません。"},
    {"time signal of no length",
     [](School& s) { s.model.channels[0].signalSeconds = 0; },
     CheckRule::InvalidValue,
     {PlaceKind::Channel, 1},
     "CH1 の＜報時＞の設定が不正です（0 分 0 秒）。"},
    {"channel type 3",
     [](School& s) { s.model.channels[4].kind = 3; },
     CheckRule::InvalidValue,
     {PlaceKind::Channel, 5},
     "CH5 の＜タイプ＞ 3 は範囲外です（0～2）。"},
    {"summer-time hour 24",
     [](School& s) { s.model.summerTime = {3, 2, 1, 24, 11, 1, 1, 2}; },
     CheckRule::InvalidValue,
     {PlaceKind::SummerTime, 0},
     "サマータイムの開始の＜実施時刻＞ 24 は範囲外です（0～23）。"},
    // Values strict packing refuses, which the check once let pass.
    {"leap-day start program 100",
     [](School& s) { s.model.leapStartProgram = 100; },
     CheckRule::InvalidValue,
     {PlaceKind::Period, 0},
     "期間設定の＜2/29 に始まる毎年の期間のプログラム番号＞ 100 は範囲外です（1～99）。"},
    {"leap-day end program -1",
     [](School& s) { s.model.leapEndProgram = -1; },
     CheckRule::InvalidValue,
     {PlaceKind::Period, 0},
     "期間設定の＜2/29 に終わる毎年の期間のプログラム番号＞ -1 は範囲外です（1～99）。"},
    {"a day flag of 2",
     [](School& s) { s.model.steps[2].days[1] = 2; },
     CheckRule::InvalidValue,
     {PlaceKind::Step, 2},
     "週間プログラム 1「授業日」 CH1 のステップ 2（8:35）の＜月曜日＞ 2 は範囲外です（0～1）。"},
    {"holiday switch 2",
     [](School& s) { s.model.holidayEnabled = 2; },
     CheckRule::InvalidValue,
     {PlaceKind::Holiday, 0},
     "祭日設定の＜祭日設定を実施する＞ 2 は範囲外です（0～1）。"},
    {"holiday switch -1",
     [](School& s) { s.model.holidayEnabled = -1; },
     CheckRule::InvalidValue,
     {PlaceKind::Holiday, 0},
     "祭日設定の＜祭日設定を実施する＞ -1 は範囲外です（0～1）。"},
    {"a negative step count",
     [](School& s) { s.model.stepCount = -1; },
     CheckRule::InvalidValue,
     {PlaceKind::Step, 0},
     "週間プログラムの＜ステップ数＞ -1 は範囲外です（0～1000）。"},
    {"summer time ending before it starts",
     [](School& s) { s.model.summerTime = {11, 1, 1, 2, 3, 2, 1, 2}; },
     CheckRule::InvalidValue,
     {PlaceKind::SummerTime, 0},
     "サマータイムの＜開始と終了＞の指定が不正です。"},
    {"two steps at one time on a shared day",
     [](School& s) { s.model.steps[31] = MakeStep(1, 1, "0001001", 8, 25, 2); },
     CheckRule::DuplicateStep,
     {PlaceKind::Step, 31},
     "週間プログラム 1「授業日」 CH1 のステップ 16（8:25）は、ステップ 1 "
     "と同じ曜日（水）の同じ時刻です。"},
    {"chime 0",
     [](School& s) { s.model.steps[1].action = 0; },
     CheckRule::SilentStep,
     {PlaceKind::Step, 1},
     "週間プログラム 1「授業日」 CH1 のステップ "
     "1（8:25）の＜チャイム＞が「0.（なし）」のため、チャイムが鳴りません。"},
    {"summer time without its end month",
     [](School& s) {
       s.model.summerTimeEnabled = 1;
       s.model.summerTime = {3, 2, 1, 2, 0, 1, 1, 2};
     },
     CheckRule::SummerTimeIncomplete,
     {PlaceKind::SummerTime, 0},
     "サマータイムを実施する設定ですが、終了の＜月＞の指定が有りません。"},
    {"summer time switched off, half filled in",
     [](School& s) { s.model.summerTime = {3, 2, 1, 2, 0, 0, 0, 0}; },
     CheckRule::SummerTimeIncomplete,
     {PlaceKind::SummerTime, 0},
     "サマータイムを実施しない設定ですが、終了の＜月＞・＜第何週＞・＜曜日＞の指定が有りません。"},
    {"holiday file without 2027",
     [](School& s) {
       const std::string text = "[2026]\r\n01=1\r\n";
       ParseHolidayText(text.data(), text.size(), s.holidays);
     },
     CheckRule::HolidayFileMissingYear,
     {PlaceKind::Holiday, 0},
     "祭日設定を実施する設定ですが、祭日設定ファイルに 2027 年の祭日が有りません。"},
    {"holiday setting switched off",
     [](School& s) {
       s.model.holidayEnabled = 0;
       s.model.dates[1].program = 2;  // the holiday program stays in use
     },
     CheckRule::HolidaysOff,
     {PlaceKind::Holiday, 0},
     "祭日設定を実施しない設定のため、祭日 33 日（2026 年 1/1、1/12、2/11 "
     "ほか）にも、その日の週間プログラムのステップが実行されます。"},
    {"program used by no setting",
     [](School& s) { s.model.steps[31] = MakeStep(7, 1, "0100000", 12, 0, 1); },
     CheckRule::UnusedProgram,
     {PlaceKind::Program, 7},
     "週間プログラム 7 はステップが有りますが、どの設定にも使われていません。"},
    {"keep channel left on",
     [](School& s) { s.model.steps[16].action = kKeepOn; },
     CheckRule::KeepLeftOn,
     {PlaceKind::Step, 16},
     "週間プログラム 1「授業日」 CH2 は、月・火・水・木・金 の最後の動作が ON のままです。"},
};

TEST(ScheduleCheck, EachPlantedFaultIsFoundOnceAndNamed) {
  for (const PlantedFault& fault : kFaults) {
    SCOPED_TRACE(fault.name);
    School school;
    fault.plant(school);
    const std::vector<Finding> findings = school.Check();
    ASSERT_EQ(findings.size(), 1u) << Describe(findings);
    EXPECT_EQ(findings[0].rule, fault.rule);
    EXPECT_EQ(findings[0].severity, RuleSeverity(fault.rule));
    EXPECT_EQ(findings[0].place, fault.place);
    EXPECT_EQ(findings[0].message, fault.message);
  }
}

// Every field is named by the editor's word for it, in its page's place.
TEST(ScheduleCheck, EachFieldIsNamedByTheEditorsWord) {
  const std::string p1 = "週間プログラム 1「授業日」 ";
  const std::pair<std::function<void(School&)>, std::string> cases[] = {
      {[](School& s) { s.model.basicProgram = 100; },
       "基本設定の＜プログラム番号＞ 100 は範囲外です（1～99）。"},
      {[](School& s) { s.model.holidayProgram = 100; },
       "祭日設定の＜プログラム番号＞ 100 は範囲外です（1～99）。"},
      {[](School& s) { s.model.channels[0].signalMinutes = 61; },
       "CH1 の＜報時（分）＞ 61 は範囲外です（0～60）。"},
      {[](School& s) { s.model.channels[0].signalSeconds = 60; },
       "CH1 の＜報時（秒）＞ 60 は範囲外です（0～59）。"},
      {[](School& s) { s.model.channels[0].riseTime = 4; },
       "CH1 の＜立ち上り時間＞ 4 は範囲外です（0～3）。"},
      {[](School& s) { s.model.channels[1].signalSeconds = 5; },
       "CH2 はキープのチャンネルですが、＜報時（秒）＞が 5 です。"},
      {[](School& s) { s.model.steps[1].channel = 9; },
       p1 + "CH9 のステップ 1（8:25）の＜チャンネル番号＞ 9 は範囲外です（1～8）。"},
      {[](School& s) { s.model.steps[1].minute = 60; },
       p1 + "CH1 のステップ 1（8:60）の＜時刻（分）＞ 60 は範囲外です（0～59）。"},
      {[](School& s) { s.model.steps[1].action = 16; },
       p1 + "CH1 のステップ 1（8:25）の＜チャイム＞ 16 は範囲外です（0～15）。"},
      {[](School& s) { s.model.steps[0].action = 3; },
       p1 + "CH2 のステップ 1（7:30）の＜ON / OFF＞ 3 は範囲外です（1～2）。"},
      {[](School& s) { s.model.steps[0].action = 0; },
       p1 + "CH2 のステップ 1（7:30）の＜ON / OFF＞の指定が有りません。"},
      {[](School& s) { s.model.steps[40].action = 5; },
       "ステップ欄 41 は空欄（プログラム番号・チャンネル番号が 0）ですが、＜動作＞が 5 です。"},
      {[](School& s) { s.model.steps[40].days[2] = 1; },
       "ステップ欄 41 は空欄（プログラム番号・チャンネル番号が 0）ですが、＜火曜日＞が 1 です。"},
      {[](School& s) { s.model.periods[4].startMonth = 13; },
       "期間設定 5 行目（2027 年 13/15～2/19）の＜開始月＞ 13 は範囲外です（1～12）。"},
      {[](School& s) { s.model.periods[4].startDay = 30; },
       "期間設定 5 行目（2027 年 2/30～2/19）の＜開始日＞ 30 は範囲外です（1～28）。"},
      {[](School& s) { s.model.periods[4].endDay = 29; },
       "期間設定 5 行目（2027 年 2/15～2/29）の＜終了日＞ 29 は範囲外です（1～28）。"},
      {[](School& s) { s.model.periods[4].program = 100; },
       "期間設定 5 行目（2027 年 2/15～2/19）の＜プログラム番号＞ 100 は範囲外です（1～99）。"},
      {[](School& s) { s.model.periods[9].startMonth = 3; },
       "期間設定欄 10 は空欄（開始年が 0）ですが、＜開始月＞が 3 です。"},
      {[](School& s) { s.model.dates[1].year = 1999; },
       "個別設定 2 行目（1999 年 3/19）の＜実施年＞ 1999 は範囲外です（2000～2099）。"},
      {[](School& s) { s.model.dates[1].month = 13; },
       "個別設定 2 行目（2027 年 13/19）の＜実施月＞ 13 は範囲外です（1～12）。"},
      {[](School& s) { s.model.dates[1].program = 100; },
       "個別設定 2 行目（2027 年 3/19）の＜プログラム番号＞ 100 は範囲外です（1～99）。"},
      {[](School& s) { s.model.summerTimeEnabled = 2; },
       "サマータイムの＜サマータイムを実施する＞ 2 は範囲外です（0～1）。"},
      {[](School& s) { s.model.summerTime = {3, 6, 1, 2, 11, 1, 1, 2}; },
       "サマータイムの開始の＜第何週＞ 6 は範囲外です（1～5）。"},
      {[](School& s) { s.model.summerTime = {3, 2, 8, 2, 11, 1, 1, 2}; },
       "サマータイムの開始の＜曜日＞ 8 は範囲外です（1～7）。"},
      {[](School& s) { s.model.summerTime = {3, 2, 1, 2, 13, 1, 1, 2}; },
       "サマータイムの終了の＜月＞ 13 は範囲外です（1～12）。"},
  };
  for (const auto& [plant, said] : cases) {
    const std::string& message = said;
    School school;
    plant(school);
    const std::vector<Finding> findings = school.Check();
    EXPECT_TRUE(std::any_of(findings.begin(), findings.end(),
                            [&message](const Finding& f) {
                              return f.rule == CheckRule::InvalidValue && f.message == message;
                            }))
        << message << "\n"
        << Describe(findings);
  }
}

// Values at the edges of what the editors produce are no findings.
TEST(ScheduleCheck, TheEditorsEdgeValuesAreClean) {
  struct Case {
    const char* what;
    std::function<void(School&)> change;
  };
  const Case cases[] = {
      {"a one-day period", [](School& s) { s.model.periods[4].endDay = 15; }},
      {"a signal of 60 minutes",
       [](School& s) {
         s.model.channels[0] = {1, 60, 0, 3};
       }},
      {"chime code 15", [](School& s) { s.model.steps[1].action = 15; }},
      {"summer time from the fourth to the last week of a month",
       [](School& s) { s.model.summerTime = {3, 4, 1, 0, 3, 5, 7, 23}; }},
  };
  for (const Case& c : cases) {
    School school;
    c.change(school);
    EXPECT_EQ(Describe(school.Check()), "") << c.what;
  }
}

// A holiday setting switched off runs nothing: neither its program nor the holiday file matter,
// as long as no step runs on a holiday.
TEST(ScheduleCheck, AHolidaySettingSwitchedOffIsNotChecked) {
  School school;
  school.model.holidayEnabled = 0;
  school.model.holidayProgram = 7;                 // no steps
  const std::string text = "[2026]\r\n01=10\r\n";  // a Saturday of program 1, which has none
  ParseHolidayText(text.data(), text.size(), school.holidays);
  EXPECT_FALSE(NeedsAttention(school.Check())) << Describe(school.Check());
}

// With the setting off, the holidays of the schedule's two years on which the day's program has
// steps for that weekday. Programs 1 and 3 run Monday to Friday, 4 (the school holidays) every day.
TEST(ScheduleCheck, HolidaysOffCountsTheHolidaysOnWhichStepsRun) {
  const struct {
    const char* file;
    const char* days;  // nothing found when empty
  } rows[] = {
      {"[2027]\r\n02=11\r\n", "祭日 1 日（2027 年 2/11）"},
      {"[2026]\r\n12=31\r\n[2027]\r\n01=1,4,5\r\n",
       "祭日 4 日（2026 年 12/31、2027 年 1/1、1/4 ほか）"},
      {"[2026]\r\n03=22,29\r\n",
       "祭日 1 日（2026 年 3/29）"},               // Sundays, the second in a period of 4
      {"[2026]\r\n02=28,30,31\r\n", "祭日 0 日"},  // a Saturday, and days February lacks
      {"[2028]\r\n01=4\r\n[2025]\r\n01=6\r\n", "祭日 0 日"},  // years the schedule has not
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file);
    School school;
    school.model.holidayEnabled = 0;
    const std::string text = row.file;
    ParseHolidayText(text.data(), text.size(), school.holidays);
    std::vector<std::string> found;
    for (const Finding& finding : school.Check()) {
      if (finding.rule == CheckRule::HolidaysOff) found.push_back(finding.message);
    }
    if (std::string(row.days) == "祭日 0 日") {
      EXPECT_EQ(found, std::vector<std::string>{});
    } else {
      EXPECT_EQ(found, std::vector<std::string>{
                           "祭日設定を実施しない設定のため、" + std::string(row.days) +
                           "にも、その日の週間プログラムのステップが実行されます。"});
    }
  }
}

TEST(ScheduleCheck, FindingsComeErrorsFirstAndOnlyNotesNeedNoAttention) {
  School school;
  school.model.steps[31] = MakeStep(7, 1, "0100000", 12, 0, 1);  // note
  EXPECT_FALSE(NeedsAttention(school.Check()));
  school.model.steps[1].action = 0;  // warning
  EXPECT_TRUE(NeedsAttention(school.Check()));
  EXPECT_FALSE(HasErrors(school.Check()));
  school.model.basicProgram = 0;  // error
  const std::vector<Finding> findings = school.Check();
  EXPECT_TRUE(HasErrors(findings));
  ASSERT_EQ(findings.size(), 3u);
  EXPECT_EQ(std::string(SeverityName(findings[0].severity)) + " " + RuleId(findings[0].rule),
            "error basic-missing");
  EXPECT_EQ(std::string(SeverityName(findings[1].severity)) + " " + RuleId(findings[1].rule),
            "warning silent-step");
  EXPECT_EQ(std::string(SeverityName(findings[2].severity)) + " " + RuleId(findings[2].rule),
            "note unused-program");
}

// Steps at the same time run in record order, so the later of an OFF and an ON leaves it on.
TEST(ScheduleCheck, KeepLeftOnFollowsTheRecordOrderAtOneTime) {
  School school;
  school.model.steps[31] = MakeStep(2, 2, "1000000", 7, 30, kKeepOn);
  std::vector<std::string> messages;
  for (const Finding& finding : school.Check()) {
    if (finding.rule == CheckRule::KeepLeftOn) messages.push_back(finding.message);
  }
  EXPECT_EQ(messages, std::vector<std::string>{
                          "週間プログラム 2「休日」 CH2 は、日 の最後の動作が ON のままです。"});
  std::swap(school.model.steps[17], school.model.steps[31]);
  for (const Finding& finding : school.Check()) EXPECT_NE(finding.rule, CheckRule::KeepLeftOn);
}

}  // namespace
}  // namespace tavrin
