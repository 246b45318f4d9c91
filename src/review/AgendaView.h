// What the agenda window and the printed week show: a run of days from a chosen date, and the
// texts of each day (UTF-8), so that the windows only lay them out.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/IniSettings.h"
#include "model/ScheduleModel.h"
#include "review/Agenda.h"

namespace tavrin {

inline constexpr char kAgendaCaption[] = "予定表";
inline constexpr char kAgendaDateLabel[] = "表示する最初の日：";
inline constexpr const char* kAgendaColumns[] = {"日付・時刻", "CH", "動作"};
inline constexpr char kAgendaNoEvents[] = "動作なし";
inline constexpr int kAgendaDays = 7;
// The timer moves its own clock for summer time, so the agenda's times are standard times.
inline constexpr char kAgendaSummerTimeNote[] =
    "サマータイムは適用していません（タイマが自分の時計をずらします）。";

// The first and the last date the image answers for: 1 January of its first year to 31 December
// of its last; nothing when it carries no year.
std::optional<std::pair<CalendarDate, CalendarDate>> AgendaRange(const SettingsImage& image);

// `count` days from `from`, fewer where the carried years end; refused when `from` itself lies
// outside them.
Result<std::vector<AgendaDay>> AgendaFrom(const SettingsImage& image, const CalendarDate& from,
                                          int count);

struct AgendaEventText {
  std::string time;     // "08:30"
  std::string channel;  // "CH1"
  std::string action;   // "3.ウェストミンスター", "ON", "OFF"
};

struct AgendaDayText {
  std::string date;     // "2026年4月1日（水）"
  std::string program;  // "P1 朝の日課", or that nothing runs
  std::string source;   // where the program comes from
  std::vector<AgendaEventText> events;
};

// `names` and the chime table of `settings` are Shift-JIS, as read.
AgendaDayText DescribeAgendaDay(const AgendaDay& day, const ProgramNameTable& names,
                                const IniSettings& settings);

// The line that opens a day: "2026年4月1日（水）　P1 朝の日課（期間設定）".
std::string DayHeadline(const AgendaDayText& text);

// "P5" with the program's name after a blank when it has one (UTF-8).
std::string ProgramLabel(const ProgramNameTable& names, int program);
// "3.name" as the chime lists show a code, "0.（なし）" for code 0 and a text naming an unknown
// code, so that a chime missing from "Tavrin.ini" is not shown as silence.
std::string ChimeLabel(const IniSettings& settings, int code);
// "2026年4月1日（水）"
std::string JapaneseDate(const CalendarDate& date);

}  // namespace tavrin
