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
  const FieldRecord& record = RecordOf(b.field);
  const bool alone = record.index == FieldIndex::None;
  std::string item = record.label;
  if (record.index == FieldIndex::SlotDay) item = texts::kWeekdays[b.day] + item;
  switch (record.page) {
    case FieldPage::Basic:
      return {{PlaceKind::Basic, 0}, "基本設定", item};
    case FieldPage::Holiday:
      return {{PlaceKind::Holiday, 0}, "祭日設定", item};
    case FieldPage::Period:
      if (alone) return {{PlaceKind::Period, 0}, "期間設定", item};
      return {{PlaceKind::Period, b.slot}, findings.Period(b.slot), item};
    case FieldPage::Date:
      return {{PlaceKind::Date, b.slot}, findings.Date(b.slot), item};
    case FieldPage::Channel:
      return {{PlaceKind::Channel, b.slot + 1}, ChannelWhere(b.slot), item};
    case FieldPage::Step:
      if (alone) return {{PlaceKind::Step, 0}, "週間プログラム", item};
      return {{PlaceKind::Step, b.slot}, findings.Step(b.slot), item};
    case FieldPage::SummerTime:
      if (alone) return {{PlaceKind::SummerTime, 0}, "サマータイム", item};
      return {
          {PlaceKind::SummerTime, 0}, std::string("サマータイムの") + SummerPoint(b.slot), item};
  }
  return {};
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
  // A number, a channel or a keep action left at 0 was not given at all.
  if (b.value == 0 && RecordOf(b.field).zero == Zero::Missing) {
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
  for (const std::string& refused : findings.input().refused) {
    findings.Add(CheckRule::InvalidValue, {PlaceKind::File, 0}, refused);
  }
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
