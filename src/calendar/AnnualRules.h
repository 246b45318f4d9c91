// The annual page's rules over its four tables: the basic and holiday settings (one cell each),
// the period settings (200 rows of start year, start month, start day, end month, end day,
// program) and the individual settings (200 rows of year, month, day, program). The page only
// moves texts between its grids and these rules.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "editors/EditorClipboards.h"
#include "editors/GridText.h"
#include "editors/Verdict.h"
#include "model/Dates.h"
#include "model/ScheduleModel.h"

namespace tavrin::annual {

// The setting kinds in the order of the page's radio buttons.
enum class Kind { Basic = 0, Period = 1, Holiday = 2, Individual = 3 };
inline constexpr int kKindCount = 4;

inline constexpr int kListRows = 200;
inline constexpr int kPeriodCols = 6;
inline constexpr int kDateCols = 4;
inline constexpr int kPeriodEndMonthCol = 3;

// What a column holds, which decides its list, its texts and how a copy reads it.
enum class Column { Year, Month, Day, Program };
inline constexpr std::array<Column, kPeriodCols> kPeriodColumns = {
    Column::Year, Column::Month, Column::Day, Column::Month, Column::Day, Column::Program};
inline constexpr std::array<Column, kDateCols> kDateColumns = {Column::Year, Column::Month,
                                                               Column::Day, Column::Program};

// "基本設定", "期間設定", "祭日設定", "個別設定": the caption of the kind's messages.
const char* KindCaption(Kind kind);

// The drop-down list of a column: the year list offers "毎年", the two image years and an empty
// item; the month and day lists MonthList() and DayList(); the program list 1..99, each with its
// name (ProgramChoice). Every one is typed by its numbers.
grid::CellList ColumnChoices(Column column, const YearPair& years, const ProgramNameTable& names);

// A year cell's value: 9999 for "毎年", else its leading number; nothing when empty. A year is
// shown as texts::YearText.
std::optional<int> ReadYear(std::string_view cell);

// The tables showing the model: the single cells of the basic and holiday settings, and the
// non-empty period and date slots in slot order from the first row. Programs show as the lists
// offer them, with their names.
TextTable FillBasic(const ScheduleModel& model, const ProgramNameTable& names);
TextTable FillHoliday(const ScheduleModel& model, const ProgramNameTable& names);
TextTable FillPeriods(const ScheduleModel& model, const ProgramNameTable& names);
TextTable FillDates(const ScheduleModel& model, const ProgramNameTable& names);

// What the page holds: the table of every kind whose grid has been built, and the holiday check
// box. Only built kinds are checked and stored.
struct PageTexts {
  std::array<std::optional<TextTable>, kKindCount> tables;
  bool holidayEnabled = false;

  const std::optional<TextTable>& of(Kind kind) const {
    return tables[static_cast<std::size_t>(kind)];
  }
  std::optional<TextTable>& of(Kind kind) { return tables[static_cast<std::size_t>(kind)]; }
};

// The messages of the basic kind are shown only by OK on the sheet; while switching kinds and
// before the confirmation an empty or invalid basic program passes.
enum class BasicMessages { Shown, Skipped };

// Checks one kind's table and, when it passes, stores it into the model. A kind without a table
// passes and stores nothing.
Verdict CheckAndStore(Kind kind, const PageTexts& texts, const YearPair& years, BasicMessages basic,
                      ScheduleModel& model);

struct KindVerdict {
  Kind kind;
  Verdict verdict;
};
// The full check: basic, period, individual and holiday in this order, each checked and stored;
// the first failure ends it.
KindVerdict CheckAndStoreAll(const PageTexts& texts, const YearPair& years, BasicMessages basic,
                             ScheduleModel& model);

// A period row whose end comes before its start runs over New Year, which one row cannot hold. It
// can be stored as two rows, to 31 December and from 1 January: both every year, or the row's year
// and the next.
struct NewYearSplit {
  // The period table with the row's second half in the row below it; the rows under it move down
  // by one, as far as the first empty row, so that every later row still wins over it.
  TextTable table;
  std::string question;  // "%d 行目の期間は年をまたいでいます。..." naming both halves
};
// The split that answers `verdict`, the period table's first fault; nothing when that fault is
// not a row running over New Year, or when the row cannot be split: a row of the image's second
// year (its next year is not in the image), or no empty row below it.
std::optional<NewYearSplit> OfferNewYearSplit(const TextTable& periods, const Verdict& verdict,
                                              const YearPair& years);

// Copy reads each column by its own rule and keeps empty cells as such; the clipboard is emptied
// first and takes at most 200 rows (first..last, table rows).
void CopyPeriods(const TextTable& table, int first, int last, EditorClipboards& clipboards);
void CopyDates(const TextTable& table, int first, int last, EditorClipboards& clipboards);
// Paste writes the clipboard's rows from row `first` down; rows past the table's end are dropped.
void PastePeriods(const EditorClipboards& clipboards, const ProgramNameTable& names, int first,
                  TextTable& table);
void PasteDates(const EditorClipboards& clipboards, const ProgramNameTable& names, int first,
                TextTable& table);

}  // namespace tavrin::annual
