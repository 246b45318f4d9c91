// Every text the schedule comparison shows (UTF-8): the names of its sections and changes, the
// line of one difference, and how each kind of entry reads. The command line, its JSON and the
// compare window all take them from here.
#pragma once

#include <string>

#include "model/IniSettings.h"
#include "model/ScheduleModel.h"
#include "review/ScheduleDiff.h"

namespace tavrin::diff_text {

inline constexpr char kCompareCaption[] = "比較";
inline constexpr const char* kCompareColumns[] = {"区分", "変更", "内容"};
inline constexpr char kSame[] = "違いはありません。";

// "channels", "steps", ... as the JSON names them.
const char* SectionKey(DiffSection section);
// "チャンネル設定", "週間プログラム", ...
const char* SectionTitle(DiffSection section);
// "added", "removed", "changed".
const char* ChangeKey(DiffChange change);
// "追加", "削除", "変更".
const char* ChangeWord(DiffChange change);

// "P3 CH1: 月火水木金 08:30 ON → 月火水木金 08:45 ON"; what alone when there is no value.
std::string Detail(const Difference& difference);
// "[週間プログラム] 変更 " and the detail: one line of the text output.
std::string Line(const Difference& difference);
// The compare window's heading: from the chosen file to the open document.
std::string CompareHeading(const std::string& fileTitle, const std::string& documentTitle);

// What the entries are called and how their values read.
inline constexpr char kBasicProgram[] = "基本設定";
inline constexpr char kHoliday[] = "祭日設定";
inline constexpr char kLeapStart[] = "2月29日に始まる毎年の期間";
inline constexpr char kLeapEnd[] = "2月29日に終わる毎年の期間";
inline constexpr char kSummerTimeEnabled[] = "サマータイムの実施";
inline constexpr char kSummerTimeRule[] = "サマータイムの期間";
inline constexpr char kRadio[] = "ラジオ選局";

// "P3", or "なし" for 0.
std::string ProgramText(int program);
// "CH1"
std::string ChannelName(int channel);
// "報時 1分30秒 立ち上り-3秒", "キープ", "未使用".
std::string ChannelText(const ChannelSetting& channel);
// "P3 CH1"
std::string StepWhat(const WeeklyStep& step);
// "月火水木金 08:30 3.ウェストミンスター": the action read for a channel of `kind`.
std::string StepText(const WeeklyStep& step, int kind, const IniSettings& settings);
// "4月1日～4月30日"
std::string PeriodDays(const PeriodEntry& entry);
// "毎年 4月1日～4月30日", "2026 年 12月24日～12月31日".
std::string PeriodWhat(const PeriodEntry& entry);
// "毎年 1月5日", "2027 年 3月21日".
std::string DateWhat(const DateEntry& entry);
// "する（P5）", "しない（P5）" for a program kept while off, "しない".
std::string HolidayText(bool enabled, int program);
// "する", "しない".
std::string EnabledText(bool enabled);
// "3月第2日曜日 2時～11月第1日曜日 2時", or "なし" without a start month.
std::string SummerRuleText(const SummerTimeRule& rule);
// "東京 82.5MHz", "１ｃｈ 901", or "なし" for no station.
std::string RadioText(const ScheduleModel& model);
// The program's name (from Shift-JIS), "" when it has none.
std::string NameText(const ProgramNameTable& names, int program);

}  // namespace tavrin::diff_text
