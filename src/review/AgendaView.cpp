#include "review/AgendaView.h"

#include <cstdio>

#include "editors/WeeklyGroups.h"
#include "model/Dates.h"
#include "model/ScheduleTexts.h"
#include "model/ShiftJis.h"

namespace tavrin {
namespace {

const char* SourceText(AgendaSource source) {
  switch (source) {
    case AgendaSource::Special:
      return "祭日・個別設定";
    case AgendaSource::Period:
      return "期間設定";
    case AgendaSource::Basic:
      break;
  }
  return "基本プログラム";
}

std::string ActionText(const AgendaEvent& event, const IniSettings& settings) {
  switch (event.action) {
    case AgendaAction::KeepOn:
      return texts::KeepActionName(kKeepOn);
    case AgendaAction::KeepOff:
      return texts::KeepActionName(kKeepOff);
    case AgendaAction::Chime:
      break;
  }
  return ChimeLabel(settings, event.chime);
}

}  // namespace

std::optional<std::pair<CalendarDate, CalendarDate>> AgendaRange(const SettingsImage& image) {
  const std::vector<int> years = ImageYears(image);
  if (years.empty()) return std::nullopt;
  return std::make_pair(CalendarDate{years.front(), 1, 1}, CalendarDate{years.back(), 12, 31});
}

Result<std::vector<AgendaDay>> AgendaFrom(const SettingsImage& image, const CalendarDate& from,
                                          int count) {
  Result<AgendaDay> first = AgendaOn(image, from);
  if (!first) return Fail(first.message());
  std::vector<AgendaDay> days{std::move(*first)};
  CalendarDate date = from;
  while (static_cast<int>(days.size()) < count) {
    date = NextDay(date);
    Result<AgendaDay> day = AgendaOn(image, date);
    if (!day) break;
    days.push_back(std::move(*day));
  }
  return days;
}

std::string ProgramLabel(const ProgramNameTable& names, int program) {
  return "P" + ProgramChoice(names, program);
}

std::string ChimeLabel(const IniSettings& settings, int code) {
  if (code == 0) return texts::kNoChime;
  const int position = ChimePosition(settings, code);
  if (position == 0) return "チャイム番号" + std::to_string(code) + "（未登録）";
  return texts::ChimeItem(settings, position);
}

std::string JapaneseDate(const CalendarDate& date) {
  const int weekday = Weekday(date.year, date.month, date.day);
  return std::to_string(date.year) + "年" + std::to_string(date.month) + "月" +
         std::to_string(date.day) + "日（" + texts::kWeekdays[weekday] + "）";
}

AgendaDayText DescribeAgendaDay(const AgendaDay& day, const ProgramNameTable& names,
                                const IniSettings& settings) {
  AgendaDayText text;
  text.date = JapaneseDate(day.date);
  text.program =
      day.program == 0 ? "プログラムなし（何も動作しません）" : ProgramLabel(names, day.program);
  text.source = SourceText(day.source);
  for (const AgendaEvent& event : day.events) {
    char time[8];
    std::snprintf(time, sizeof time, "%02d:%02d", event.hour % 100, event.minute % 100);
    text.events.push_back(
        {time, "CH" + std::to_string(event.channel), ActionText(event, settings)});
  }
  return text;
}

std::string DayHeadline(const AgendaDayText& text) {
  return text.date + "　" + text.program + "（" + text.source + "）";
}

}  // namespace tavrin
