// The summer-time page's rules over its 2 x 4 table: start row, end row; month, week, weekday and
// hour columns. The timer works out the dates itself; the page only edits and checks the rule.
#pragma once

#include <string>

#include "editors/GridText.h"
#include "editors/Verdict.h"
#include "model/Messages.h"
#include "model/ScheduleModel.h"

namespace tavrin::summer {

inline constexpr int kRows = 2;  // start, end
inline constexpr int kCols = 4;  // month, week, weekday, hour
inline constexpr int kMonthCol = 0;
inline constexpr int kWeekCol = 1;
inline constexpr int kWeekdayCol = 2;
inline constexpr int kHourCol = 3;

inline constexpr char kCaption[] = "サマータイム";

// The drop-down list of data column `col`: the months, "第 1|第 2|第 3|第 4|最終" (typed as
// their numbers), "日曜日|...|土曜日" and the hours.
grid::CellList ColumnChoices(int col);
// The item name a message gives for data column `col`: "月", "第何週", "曜日", "実施時刻".
const char* ColumnItem(int col);

// The table showing `rule`. Week and hour are shown only for a row whose month is set.
TextTable Fill(const SummerTimeRule& rule);

// A cleared check box with an empty table is valid; anything else must be a complete rule whose
// end lies after its start within the year.
Verdict Check(bool enabled, const TextTable& table);
// Check, with the failure shown through `sink`; `cursor` receives the failing cell.
bool Validate(bool enabled, const TextTable& table, MessageSink& sink, CellPos& cursor);
// Writes a checked table into the model: list positions for month, week and weekday, the leading
// number for the hour, 0 for an empty cell.
void Store(bool enabled, const TextTable& table, ScheduleModel& model);

}  // namespace tavrin::summer
