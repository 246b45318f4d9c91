// The words every window, form and report uses for a schedule's values (UTF-8): weekdays, channel
// kinds, rise times, keep actions, summer-time weeks, years, chime items and frequencies. The grids
// show the editors' forms; the CSV report has shorter forms of its own, kept beside them here so
// that both change together.
#pragma once

#include <array>
#include <string>

#include "model/IniSettings.h"

namespace tavrin::texts {

// Sunday first: "日" .. "土".
inline constexpr std::array<const char*, 7> kWeekdays = {"日", "月", "火", "水", "木", "金", "土"};
inline constexpr char kWeekdaySuffix[] = "曜日";
// A mark in a cell (the day mark, the list mark) as a screen reader says it: a picture has no word.
inline constexpr char kMarkWord[] = "あり";

// The channel kinds as the grids show them; a channel not in use shows nothing.
inline constexpr char kTimeSignal[] = "報時";
inline constexpr char kKeep[] = "キープ";
// "報時", "キープ", or "" for a channel not in use (and any other value).
const char* ChannelKindName(int kind);

// Rise time 0..3: the channel grid's list items and the CSV report's texts.
inline constexpr std::array<const char*, 4> kRiseTimes = {"（なし）", "-3 秒", "-10 秒", "-30 秒"};
inline constexpr std::array<const char*, 4> kReportRiseTimes = {"(なし)", "-3秒", "-10秒", "-30秒"};

// A keep step's action 0..2 as the step grid shows it; the reports write kReportNone for 0.
inline constexpr std::array<const char*, 3> kKeepActions = {"（なし）", "ON", "OFF"};
// What a report writes where a value is absent: a channel not in use, a keep step without ON or
// OFF, an unset weekday.
inline constexpr char kReportNone[] = "-";
// "ON", "OFF", or the grid's "（なし）" for any other action.
const char* KeepActionName(int action);

// Summer-time week 1..5: the grid's list items, and the CSV report's (1..4 "第1".."第4", 5 "最終").
inline constexpr std::array<const char*, 5> kWeeks = {"第 1", "第 2", "第 3", "第 4", "最終"};
inline constexpr std::array<const char*, 5> kReportWeeks = {"第1", "第2", "第3", "第4", "最終"};

inline constexpr char kEveryYear[] = "毎年";
// "毎年" for kEveryYear, "2027 年" otherwise: as the annual grids and the check write a year.
std::string YearText(int year);

// The time-signal item of chime position 0..10: "0.（なし）", then "1." and the first melody's
// name (converted from the settings' Shift-JIS), and so on; as the step grid, the legend, the
// agenda and the reports list them. A position past the table gives "".
inline constexpr char kNoChime[] = "0.（なし）";
std::string ChimeItem(const IniSettings& settings, int position);

// A radio frequency in 0.1 MHz as the radio page shows it: empty for 0, the channel number of a
// television channel ("901"), otherwise MHz with one decimal ("82.5", "90.1").
std::string FrequencyText(int frequency, bool television);

}  // namespace tavrin::texts
