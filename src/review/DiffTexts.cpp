#include "review/DiffTexts.h"

#include <cstdio>
#include <iterator>

#include "editors/ChannelRules.h"
#include "editors/RadioRules.h"
#include "editors/WeeklyGroups.h"
#include "model/ScheduleTexts.h"
#include "model/ShiftJis.h"
#include "review/AgendaView.h"

namespace tavrin::diff_text {
namespace {

struct Names {
  const char* key;    // in the JSON
  const char* title;  // for people
};
// In the order of DiffSection and DiffChange.
constexpr Names kSectionNames[] = {
    {"channels", "チャンネル設定"},
    {"steps", "週間プログラム"},
    {"basicProgram", "基本設定"},
    {"holiday", "祭日設定"},
    {"periods", "期間設定"},
    {"dates", "個別設定"},
    {"leapPrograms", "うるう日の期間"},
    {"summerTime", "サマータイム"},
    {"radio", "ラジオ選局"},
    {"names", "プログラム名"},
};
constexpr Names kChangeNames[] = {{"added", "追加"}, {"removed", "削除"}, {"changed", "変更"}};

std::string MonthDay(int month, int day) {
  return std::to_string(month) + "月" + std::to_string(day) + "日";
}

std::string TimeText(int hour, int minute) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d", hour, minute);
  return text;
}

std::string DaysText(const WeeklyStep& step) {
  std::string text;
  for (int day = 0; day < kDays; ++day) {
    if (step.days[day]) text += texts::kWeekdays[day];
  }
  return text.empty() ? std::string("曜日なし") : text;
}

std::string ActionText(const WeeklyStep& step, int kind, const IniSettings& settings) {
  if (kind == kChannelTimeSignal) return ChimeLabel(settings, step.action);
  return texts::KeepActionName(step.action);
}

std::string SummerPoint(int month, int week, int weekday, int hour) {
  const std::string weekText = week >= 1 && week <= static_cast<int>(texts::kReportWeeks.size())
                                   ? std::string(texts::kReportWeeks[week - 1])
                                   : "第" + std::to_string(week);
  const std::string dayText =
      weekday >= 1 && weekday <= kDays
          ? std::string(texts::kWeekdays[weekday - 1]) + texts::kWeekdaySuffix
          : texts::kWeekdaySuffix + std::to_string(weekday);
  return std::to_string(month) + "月" + weekText + dayText + " " + std::to_string(hour) + "時";
}

}  // namespace

const char* SectionKey(DiffSection section) {
  return kSectionNames[static_cast<std::size_t>(section)].key;
}

const char* SectionTitle(DiffSection section) {
  return kSectionNames[static_cast<std::size_t>(section)].title;
}

const char* ChangeKey(DiffChange change) {
  return kChangeNames[static_cast<std::size_t>(change)].key;
}

const char* ChangeWord(DiffChange change) {
  return kChangeNames[static_cast<std::size_t>(change)].title;
}

std::string Detail(const Difference& difference) {
  std::string text = difference.what;
  if (difference.before && difference.after) {
    return text + ": " + *difference.before + " → " + *difference.after;
  }
  if (difference.before) return text + ": " + *difference.before;
  if (difference.after) return text + ": " + *difference.after;
  return text;
}

std::string Line(const Difference& difference) {
  return std::string("[") + SectionTitle(difference.section) + "] " +
         ChangeWord(difference.change) + " " + Detail(difference);
}

std::string CompareHeading(const std::string& fileTitle, const std::string& documentTitle) {
  return "選んだファイル「" + fileTitle + "」→ 開いている文書「" + documentTitle + "」";
}

std::string ProgramText(int program) {
  return program == 0 ? std::string("なし") : "P" + std::to_string(program);
}

std::string ChannelName(int channel) { return "CH" + std::to_string(channel); }

std::string ChannelText(const ChannelSetting& channel) {
  if (channel.kind == kChannelKeep) return texts::kKeep;
  if (channel.kind != kChannelTimeSignal) return "未使用";
  const std::string rise =
      static_cast<std::size_t>(channel.riseTime) < texts::kReportRiseTimes.size()
          ? texts::kReportRiseTimes[channel.riseTime]
          : std::to_string(channel.riseTime);
  return std::string(texts::kTimeSignal) + " " + std::to_string(channel.signalMinutes) + "分" +
         std::to_string(channel.signalSeconds) + "秒 立ち上り" + rise;
}

std::string StepWhat(const WeeklyStep& step) {
  return ProgramText(step.program) + " " + ChannelName(step.channel);
}

std::string StepText(const WeeklyStep& step, int kind, const IniSettings& settings) {
  return DaysText(step) + " " + TimeText(step.hour, step.minute) + " " +
         ActionText(step, kind, settings);
}

std::string PeriodDays(const PeriodEntry& entry) {
  return MonthDay(entry.startMonth, entry.startDay) + "～" + MonthDay(entry.endMonth, entry.endDay);
}

std::string PeriodWhat(const PeriodEntry& entry) {
  return texts::YearText(entry.year) + " " + PeriodDays(entry);
}

std::string DateWhat(const DateEntry& entry) {
  return texts::YearText(entry.year) + " " + MonthDay(entry.month, entry.day);
}

std::string HolidayText(bool enabled, int program) {
  // A program kept while the setting is off is still stored, and the annual page still shows it.
  if (!enabled)
    return program == 0 ? std::string("しない") : "しない（" + ProgramText(program) + "）";
  return "する（" + ProgramText(program) + "）";
}

std::string EnabledText(bool enabled) { return enabled ? "する" : "しない"; }

std::string SummerRuleText(const SummerTimeRule& rule) {
  if (rule.startMonth == 0) return "なし";
  return SummerPoint(rule.startMonth, rule.startWeek, rule.startWeekday, rule.startHour) + "～" +
         SummerPoint(rule.endMonth, rule.endWeek, rule.endWeekday, rule.endHour);
}

std::string RadioText(const ScheduleModel& model) { return radio::StationText(model, "なし"); }

std::string NameText(const ProgramNameTable& names, int program) {
  return FromShiftJis(ProgramNameText(names, program));
}

}  // namespace tavrin::diff_text
