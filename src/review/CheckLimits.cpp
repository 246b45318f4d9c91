// The check's findings over the timer's declared limits: every breach that strict packing refuses
// is reported here, in the editors' words, as an invalid value, a step on an unused channel or an
// incomplete summer-time rule.
#include "calendar/SummerTimeRules.h"
#include "model/ScheduleTexts.h"
#include "model/TimerLimits.h"
#include "review/CheckFindings.h"

namespace tavrin::check {
namespace {

// Where a breach lies and what the editors call the field there.
struct Place {
  CheckPlace place;
  std::string where;
  std::string item;
};

const char* SummerPoint(int point) { return point == 0 ? "開始" : "終了"; }

std::string ChannelWhere(int index) { return "CH" + std::to_string(index + 1) + " "; }

Place PlaceOf(const Findings& findings, const Breach& b) {
  const ScheduleModel& model = findings.model();
  const CheckPlace period{PlaceKind::Period, b.slot};
  const CheckPlace date{PlaceKind::Date, b.slot};
  const CheckPlace channel{PlaceKind::Channel, b.slot + 1};
  const CheckPlace step{PlaceKind::Step, b.slot};
  const CheckPlace summer{PlaceKind::SummerTime, 0};
  switch (b.field) {
    case Field::BasicProgram:
      return {{PlaceKind::Basic, 0}, "基本設定", "プログラム番号"};
    case Field::HolidayEnabled:
      return {{PlaceKind::Holiday, 0}, "祭日設定", "祭日設定を実施する"};
    case Field::HolidayProgram:
      return {{PlaceKind::Holiday, 0}, "祭日設定", "プログラム番号"};
    case Field::LeapStartProgram:
      return {{PlaceKind::Period, 0}, "期間設定", "2/29 に始まる毎年の期間のプログラム番号"};
    case Field::LeapEndProgram:
      return {{PlaceKind::Period, 0}, "期間設定", "2/29 に終わる毎年の期間のプログラム番号"};
    case Field::PeriodYear:
      return {period, findings.Period(b.slot), "開始年"};
    case Field::PeriodProgram:
      return {period, findings.Period(b.slot), "プログラム番号"};
    case Field::PeriodStartMonth:
      return {period, findings.Period(b.slot), "開始月"};
    case Field::PeriodStartDay:
      return {period, findings.Period(b.slot), "開始日"};
    case Field::PeriodEndMonth:
      return {period, findings.Period(b.slot), "終了月"};
    case Field::PeriodEndDay:
      return {period, findings.Period(b.slot), "終了日"};
    case Field::DateYear:
      return {date, findings.Date(b.slot), "実施年"};
    case Field::DateProgram:
      return {date, findings.Date(b.slot), "プログラム番号"};
    case Field::DateMonth:
      return {date, findings.Date(b.slot), "実施月"};
    case Field::DateDay:
      return {date, findings.Date(b.slot), "実施日"};
    case Field::ChannelKind:
      return {channel, ChannelWhere(b.slot), "タイプ"};
    case Field::SignalMinutes:
      return {channel, ChannelWhere(b.slot), "報時（分）"};
    case Field::SignalSeconds:
      return {channel, ChannelWhere(b.slot), "報時（秒）"};
    case Field::RiseTime:
      return {channel, ChannelWhere(b.slot), "立ち上り時間"};
    case Field::StepCount:
      return {{PlaceKind::Step, 0}, "週間プログラム", "ステップ数"};
    case Field::StepProgram:
      return {step, findings.Step(b.slot), "プログラム番号"};
    case Field::StepChannel:
      return {step, findings.Step(b.slot), "チャンネル番号"};
    case Field::StepHour:
      return {step, findings.Step(b.slot), "時刻（時）"};
    case Field::StepMinute:
      return {step, findings.Step(b.slot), "時刻（分）"};
    case Field::StepDay:
      return {step, findings.Step(b.slot),
              std::string(texts::kWeekdays[b.day]) + texts::kWeekdaySuffix};
    case Field::StepAction:
      return {step, findings.Step(b.slot),
              ChannelKindOf(model, model.steps[b.slot].channel) == kChannelKeep ? "ON / OFF"
                                                                                : "チャイム"};
    case Field::SummerTimeEnabled:
      return {summer, "サマータイム", "サマータイムを実施する"};
    case Field::SummerMonth:
      return {summer, std::string("サマータイムの") + SummerPoint(b.slot),
              summer::ColumnItem(summer::kMonthCol)};
    case Field::SummerWeek:
      return {summer, std::string("サマータイムの") + SummerPoint(b.slot),
              summer::ColumnItem(summer::kWeekCol)};
    case Field::SummerWeekday:
      return {summer, std::string("サマータイムの") + SummerPoint(b.slot),
              summer::ColumnItem(summer::kWeekdayCol)};
    case Field::SummerHour:
      return {summer, std::string("サマータイムの") + SummerPoint(b.slot),
              summer::ColumnItem(summer::kHourCol)};
  }
  return {};
}

// A number, a channel or a keep action left at 0 was not given at all.
bool ZeroIsMissing(Field field) {
  switch (field) {
    case Field::HolidayProgram:
    case Field::PeriodProgram:
    case Field::DateProgram:
    case Field::StepProgram:
    case Field::StepChannel:
    case Field::StepAction:
      return true;
    default:
      return false;
  }
}

void Outside(Findings& findings, const Breach& b) {
  const WeeklyStep& step = findings.model().steps[b.slot];
  Place at = PlaceOf(findings, b);
  // A slot with a program but no channel, or the reverse, is neither used nor free: packing drops
  // it without a word.
  if (b.field == Field::StepChannel && b.value == 0) {
    at.where =
        "ステップ欄 " + std::to_string(b.slot + 1) + "（" + findings.Program(step.program) + "）";
  } else if (b.field == Field::StepProgram && b.value == 0) {
    at.where =
        "ステップ欄 " + std::to_string(b.slot + 1) + "（CH" + std::to_string(step.channel) + "）";
  }
  if (b.value == 0 && ZeroIsMissing(b.field)) {
    findings.Missing(at.place, at.where, at.item.c_str());
    return;
  }
  findings.Add(CheckRule::InvalidValue, at.place,
               at.where + "の＜" + at.item + "＞ " + std::to_string(b.value) + " は範囲外です（" +
                   std::to_string(b.range.low) + "～" + std::to_string(b.range.high) + "）。");
}

// A value in a record that holds none: packing would carry it where the timer reads nothing.
void Leftover(Findings& findings, const Breach& b) {
  Place at = PlaceOf(findings, b);
  const std::string number = std::to_string(b.slot + 1);
  switch (b.field) {
    case Field::SignalMinutes:
    case Field::SignalSeconds:
    case Field::RiseTime:
      at.where = "CH" + number + " は" +
                 (findings.model().channels[b.slot].kind == kChannelKeep
                      ? std::string("キープのチャンネル")
                      : std::string("使用していないチャンネル"));
      break;
    case Field::StepHour:
    case Field::StepMinute:
    case Field::StepDay:
    case Field::StepAction:
      at.where = "ステップ欄 " + number + " は空欄（プログラム番号・チャンネル番号が 0）";
      if (b.field == Field::StepAction) at.item = "動作";
      break;
    case Field::DateProgram:
    case Field::DateMonth:
    case Field::DateDay:
      at.where = "個別設定欄 " + number + " は空欄（実施年が 0）";
      break;
    default:
      at.where = "期間設定欄 " + number + " は空欄（開始年が 0）";
      break;
  }
  findings.Add(CheckRule::InvalidValue, at.place,
               at.where + "ですが、＜" + at.item + "＞が " + std::to_string(b.value) + " です。");
}

// The month, week and weekday a summer-time point lacks: "＜月＞・＜第何週＞".
std::string MissingOfPoint(const SummerTimeRule& rule, int point) {
  const int values[] = {point == 0 ? rule.startMonth : rule.endMonth,
                        point == 0 ? rule.startWeek : rule.endWeek,
                        point == 0 ? rule.startWeekday : rule.endWeekday};
  std::string missing;
  for (int col = summer::kMonthCol; col <= summer::kWeekdayCol; ++col) {
    if (values[col] != 0) continue;
    if (!missing.empty()) missing += "・";
    missing += std::string("＜") + summer::ColumnItem(col) + "＞";
  }
  return missing;
}

void Broken(Findings& findings, const Breach& b) {
  const ScheduleModel& model = findings.model();
  switch (b.rule) {
    case Rule::SignalLength: {
      const ChannelSetting& channel = model.channels[b.slot];
      // A signal of no length leaves the channel looking unused in the image: its steps are lost.
      findings.Add(CheckRule::InvalidValue, {PlaceKind::Channel, b.slot + 1},
                   ChannelWhere(b.slot) + "の＜報時＞の設定が不正です（" +
                       std::to_string(channel.signalMinutes) + " 分 " +
                       std::to_string(channel.signalSeconds) + " 秒）。");
      return;
    }
    case Rule::StepHasDay:
      findings.Missing({PlaceKind::Step, b.slot}, findings.Step(b.slot), "曜日");
      return;
    case Rule::StepOnChannelInUse:
      findings.Add(CheckRule::StepOnUnusedChannel, {PlaceKind::Step, b.slot},
                   findings.Step(b.slot) + "は、使用していないチャンネルのため実行されません。");
      return;
    case Rule::PeriodInOrder:
      findings.Add(CheckRule::InvalidValue, {PlaceKind::Period, b.slot},
                   findings.Period(b.slot) + "の＜開始と終了＞の指定が不正です。");
      return;
    case Rule::SummerTimeComplete:
      // The hour has no "not set"; a point without its month, week or weekday has no date.
      findings.Add(
          CheckRule::SummerTimeIncomplete, {PlaceKind::SummerTime, 0},
          std::string(model.summerTimeEnabled != 0 ? "サマータイムを実施する設定ですが、"
                                                   : "サマータイムを実施しない設定ですが、") +
              SummerPoint(b.slot) + "の" + MissingOfPoint(model.summerTime, b.slot) +
              "の指定が有りません。");
      return;
    case Rule::SummerTimeInOrder:
      findings.Add(CheckRule::InvalidValue, {PlaceKind::SummerTime, 0},
                   "サマータイムの＜開始と終了＞の指定が不正です。");
      return;
  }
}

}  // namespace

void CheckLimits(Findings& findings) {
  for (const Breach& breach : FindBreaches(findings.model())) {
    switch (breach.kind) {
      case Breach::Kind::Outside:
        Outside(findings, breach);
        break;
      case Breach::Kind::Leftover:
        Leftover(findings, breach);
        break;
      case Breach::Kind::Broken:
        Broken(findings, breach);
        break;
    }
  }
}

}  // namespace tavrin::check
