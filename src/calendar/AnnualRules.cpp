#include "calendar/AnnualRules.h"

#include <algorithm>
#include <cstdint>

#include "editors/WeeklyGroups.h"
#include "model/ScheduleTexts.h"
#include "model/TimerLimits.h"

namespace tavrin::annual {
namespace {

constexpr char kMissingRow[] = " 行目の＜%s＞の指定が有りません。";
constexpr char kInvalidRow[] = " 行目の＜%s＞の指定が不正です。";
constexpr char kWithinOneYear[] = "期間は１年の中（1 月 1 日～12 月 31 日）で指定してください。";
constexpr char kMissingProgram[] = "＜プログラム番号＞の指定が有りません。";
constexpr char kInvalidProgram[] = "＜プログラム番号＞の指定が不正です。";

constexpr std::array<const char*, kPeriodCols + 1> kPeriodItems = {
    "開始年", "開始月", "開始日", "終了月", "終了日", "プログラム番号", "開始と終了"};
constexpr std::array<const char*, kDateCols> kDateItems = {"実施年", "実施月", "実施日",
                                                           "プログラム番号"};

Verdict RowVerdict(const char* pattern, int row, int col, const char* item) {
  return Verdict({row, col}, std::to_string(row + 1) + FormatMessage(pattern, item));
}

bool IsImageYear(int year, const YearPair& years) {
  return year == kEveryYear || year == years.currentYear || year == years.nextYear;
}

bool IsProgram(int value) { return limits::kProgram.Holds(value); }

int MonthAt(const TextTable& table, int row, int col) {
  return ListPosition(MonthList(), table.at(row, col));
}
int DayAt(const TextTable& table, int row, int col) {
  return ListPosition(DayList(), table.at(row, col));
}
std::optional<int> ProgramAt(const TextTable& table, int row, int col) {
  return ReadCellNumber(table.at(row, col));
}

bool RowEmpty(const TextTable& table, int row) {
  for (int col = 0; col < table.cols(); ++col)
    if (!table.at(row, col).empty()) return false;
  return true;
}

// A pasted year outlives a change of the clock's year, and packing drops a year that is neither
// of the image's two: such a row is refused rather than lost without a word.
Verdict CheckYear(const TextTable& table, int row, const YearPair& years, const char* item) {
  std::optional<int> year = ReadYear(table.at(row, 0));
  if (!year) return RowVerdict(kMissingRow, row, 0, item);
  if (!IsImageYear(*year, years)) return RowVerdict(kInvalidRow, row, 0, item);
  return {};
}

// Every cell of a period row by itself; whether the end comes after the start is left out.
Verdict CheckPeriodCells(const TextTable& table, int row, const YearPair& years) {
  const auto missing = [&](int col) {
    return RowVerdict(kMissingRow, row, col, kPeriodItems[col]);
  };
  const auto invalid = [&](int col) {
    return RowVerdict(kInvalidRow, row, col, kPeriodItems[col]);
  };
  if (Verdict year = CheckYear(table, row, years, kPeriodItems[0]); !year) return year;
  const int year = *ReadYear(table.at(row, 0));
  const int startMonth = MonthAt(table, row, 1);
  if (startMonth == 0) return missing(1);
  const int startDay = DayAt(table, row, 2);
  if (startDay == 0) return missing(2);
  if (!limits::Days(year, startMonth).Holds(startDay)) return invalid(2);
  const int endMonth = MonthAt(table, row, 3);
  if (endMonth == 0) return missing(3);
  const int endDay = DayAt(table, row, 4);
  if (endDay == 0) return missing(4);
  if (!limits::Days(year, endMonth).Holds(endDay)) return invalid(4);
  const std::optional<int> program = ProgramAt(table, row, 5);
  if (!program) return missing(5);
  if (!IsProgram(*program)) return invalid(5);
  return {};
}

bool EndsBeforeStart(const TextTable& table, int row) {
  return !limits::PeriodInOrder(MonthAt(table, row, 1), DayAt(table, row, 2),
                                MonthAt(table, row, 3), DayAt(table, row, 4));
}

Verdict CheckPeriodRow(const TextTable& table, int row, const YearPair& years) {
  if (Verdict cells = CheckPeriodCells(table, row, years); !cells) return cells;
  if (EndsBeforeStart(table, row)) {
    const Verdict order = RowVerdict(kInvalidRow, row, kPeriodEndMonthCol, kPeriodItems[6]);
    return Verdict(order.cell(), order.message() + "\n" + kWithinOneYear);
  }
  return {};
}

// "2026 年 12 月 25 日 ～ 12 月 31 日": one row of the period table as the question names it.
std::string PeriodText(const TextTable& table, int row) {
  return table.at(row, 0) + " " + table.at(row, 1) + " " + table.at(row, 2) + " ～ " +
         table.at(row, 3) + " " + table.at(row, 4);
}

Verdict CheckDateRow(const TextTable& table, int row, const YearPair& years) {
  const auto missing = [&](int col) { return RowVerdict(kMissingRow, row, col, kDateItems[col]); };
  const auto invalid = [&](int col) { return RowVerdict(kInvalidRow, row, col, kDateItems[col]); };
  if (Verdict year = CheckYear(table, row, years, kDateItems[0]); !year) return year;
  const int year = *ReadYear(table.at(row, 0));
  const int month = MonthAt(table, row, 1);
  if (month == 0) return missing(1);
  const int day = DayAt(table, row, 2);
  if (day == 0) return missing(2);
  // An every-year date is measured against the current year, as the timer's editor always did.
  if (!limits::Days(year == kEveryYear ? years.currentYear : year, month).Holds(day))
    return invalid(2);
  const std::optional<int> program = ProgramAt(table, row, 3);
  if (!program) return missing(3);
  if (!IsProgram(*program)) return invalid(3);
  return {};
}

template <typename CheckRow>
Verdict CheckRows(const TextTable& table, const YearPair& years, CheckRow checkRow) {
  for (int row = 0; row < table.rows(); ++row) {
    if (RowEmpty(table, row)) continue;
    if (Verdict verdict = checkRow(table, row, years); !verdict) return verdict;
  }
  return {};
}

Verdict CheckProgramCell(const TextTable& table) {
  const std::optional<int> program = ProgramAt(table, 0, 0);
  if (!program) return Verdict({0, 0}, kMissingProgram);
  if (!IsProgram(*program)) return Verdict({0, 0}, kInvalidProgram);
  return {};
}

int16_t YearValue(const TextTable& table, int row) {
  return static_cast<int16_t>(std::min(*ReadYear(table.at(row, 0)), int{kEveryYear}));
}

int ClipYear(const std::string& cell) {
  return ReadYear(cell).has_value() ? std::min(*ReadYear(cell), int{kEveryYear}) : kEmptyYear;
}
// 0 is no month, day or program; it is kept as an empty cell.
int ClipByte(int value) { return value == 0 ? kEmptyCell : std::min(value, int{kEmptyCell}); }
uint8_t ByteValue(int value) { return static_cast<uint8_t>(value); }

void StorePeriods(const TextTable& table, ScheduleModel& model) {
  model.periods.fill(PeriodEntry{});
  model.leapStartProgram = 0;
  model.leapEndProgram = 0;
  std::size_t slot = 0;
  for (int row = 0; row < table.rows() && slot < model.periods.size(); ++row) {
    if (!ReadYear(table.at(row, 0))) continue;
    PeriodEntry& entry = model.periods[slot++];
    entry.year = YearValue(table, row);
    entry.startMonth = ByteValue(MonthAt(table, row, 1));
    entry.startDay = ByteValue(DayAt(table, row, 2));
    entry.endMonth = ByteValue(MonthAt(table, row, 3));
    entry.endDay = ByteValue(DayAt(table, row, 4));
    entry.program = ByteValue(ProgramAt(table, row, 5).value_or(0));
    if (entry.year != kEveryYear) continue;
    if (entry.startMonth == 2 && entry.startDay == 29) model.leapStartProgram = entry.program;
    if (entry.endMonth == 2 && entry.endDay == 29) model.leapEndProgram = entry.program;
  }
}

void StoreDates(const TextTable& table, ScheduleModel& model) {
  model.dates.fill(DateEntry{});
  std::size_t slot = 0;
  for (int row = 0; row < table.rows() && slot < model.dates.size(); ++row) {
    if (!ReadYear(table.at(row, 0))) continue;
    DateEntry& entry = model.dates[slot++];
    entry.year = YearValue(table, row);
    entry.month = ByteValue(MonthAt(table, row, 1));
    entry.day = ByteValue(DayAt(table, row, 2));
    entry.program = ByteValue(ProgramAt(table, row, 3).value_or(0));
  }
}

std::string ProgramText(const ProgramNameTable& names, int program) {
  return program == 0 ? std::string() : ProgramChoice(names, program);
}

TextTable ProgramCell(const ProgramNameTable& names, int program) {
  TextTable table(1, 1);
  table.at(0, 0) = ProgramText(names, program);
  return table;
}

// A clipboard row as one value per column: the year, list positions for months and days, the
// program; kEmptyYear and kEmptyCell stand for empty cells.
template <std::size_t N>
std::array<int, N> ReadClipRow(const TextTable& table, int row,
                               const std::array<Column, N>& columns) {
  std::array<int, N> values{};
  for (std::size_t i = 0; i < N; ++i) {
    const std::string& cell = table.at(row, static_cast<int>(i));
    switch (columns[i]) {
      case Column::Year:
        values[i] = ClipYear(cell);
        break;
      case Column::Month:
        values[i] = ClipByte(ListPosition(MonthList(), cell));
        break;
      case Column::Day:
        values[i] = ClipByte(ListPosition(DayList(), cell));
        break;
      case Column::Program:
        values[i] = ClipByte(ReadCellNumber(cell).value_or(0));
        break;
    }
  }
  return values;
}

std::string ClipCellText(Column column, int value, const ProgramNameTable& names) {
  switch (column) {
    case Column::Year:
      return value == kEmptyYear ? std::string() : texts::YearText(value);
    case Column::Month:
      return ListItem(MonthList(), value);
    case Column::Day:
      return ListItem(DayList(), value);
    case Column::Program:
      return value == kEmptyCell ? std::string() : ProgramChoice(names, value);
  }
  return {};
}

template <std::size_t N>
void WriteClipRow(const std::array<int, N>& values, const std::array<Column, N>& columns,
                  const ProgramNameTable& names, int row, TextTable& table) {
  for (std::size_t i = 0; i < N; ++i)
    table.at(row, static_cast<int>(i)) = ClipCellText(columns[i], values[i], names);
}

PeriodClip ToClip(const std::array<int, kPeriodCols>& v) {
  return {static_cast<int16_t>(v[0]),
          ByteValue(v[1]),
          ByteValue(v[2]),
          ByteValue(v[3]),
          ByteValue(v[4]),
          ByteValue(v[5])};
}
DateClip ToClip(const std::array<int, kDateCols>& v) {
  return {static_cast<int16_t>(v[0]), ByteValue(v[1]), ByteValue(v[2]), ByteValue(v[3])};
}
std::array<int, kPeriodCols> FromClip(const PeriodClip& c) {
  return {c.year, c.startMonth, c.startDay, c.endMonth, c.endDay, c.program};
}
std::array<int, kDateCols> FromClip(const DateClip& c) {
  return {c.year, c.month, c.day, c.program};
}

template <typename Clip, std::size_t N, std::size_t Capacity>
void CopyRows(const TextTable& table, int first, int last, const std::array<Column, N>& columns,
              std::array<Clip, Capacity>& clips, int& count) {
  count = 0;
  for (int row = std::max(first, 0);
       row <= std::min(last, table.rows() - 1) && count < static_cast<int>(Capacity); ++row)
    clips[static_cast<std::size_t>(count++)] = ToClip(ReadClipRow(table, row, columns));
}

template <typename Clip, std::size_t N, std::size_t Capacity>
void PasteRows(const std::array<Clip, Capacity>& clips, int count, int first,
               const std::array<Column, N>& columns, const ProgramNameTable& names,
               TextTable& table) {
  for (int i = 0; i < count && first + i < table.rows(); ++i)
    WriteClipRow(FromClip(clips[static_cast<std::size_t>(i)]), columns, names, first + i, table);
}

}  // namespace

const char* KindCaption(Kind kind) {
  static constexpr std::array<const char*, kKindCount> kCaptions = {"基本設定", "期間設定",
                                                                    "祭日設定", "個別設定"};
  return kCaptions[static_cast<std::size_t>(kind)];
}

grid::CellList ColumnChoices(Column column, const YearPair& years, const ProgramNameTable& names) {
  switch (column) {
    case Column::Year:
      return {{texts::kEveryYear, texts::YearText(years.currentYear),
               texts::YearText(years.nextYear), ""},
              true};
    case Column::Month:
      return NumberChoices(MonthList());
    case Column::Day:
      return NumberChoices(DayList());
    case Column::Program: {
      grid::CellList list{{}, true};
      for (int program = limits::kProgram.low; program <= limits::kProgram.high; ++program)
        list.items.push_back(ProgramChoice(names, program));
      return list;
    }
  }
  return {};
}

std::optional<int> ReadYear(std::string_view cell) {
  if (cell == texts::kEveryYear) return kEveryYear;
  return ReadCellNumber(cell);
}

TextTable FillBasic(const ScheduleModel& model, const ProgramNameTable& names) {
  return ProgramCell(names, model.basicProgram);
}
TextTable FillHoliday(const ScheduleModel& model, const ProgramNameTable& names) {
  return ProgramCell(names, model.holidayProgram);
}

TextTable FillPeriods(const ScheduleModel& model, const ProgramNameTable& names) {
  TextTable table(kListRows, kPeriodCols);
  int row = 0;
  for (const PeriodEntry& entry : model.periods) {
    if (entry.year == 0) continue;
    table.at(row, 0) = texts::YearText(entry.year);
    table.at(row, 1) = ListItem(MonthList(), entry.startMonth);
    table.at(row, 2) = ListItem(DayList(), entry.startDay);
    table.at(row, 3) = ListItem(MonthList(), entry.endMonth);
    table.at(row, 4) = ListItem(DayList(), entry.endDay);
    table.at(row, 5) = ProgramText(names, entry.program);
    ++row;
  }
  return table;
}

TextTable FillDates(const ScheduleModel& model, const ProgramNameTable& names) {
  TextTable table(kListRows, kDateCols);
  int row = 0;
  for (const DateEntry& entry : model.dates) {
    if (entry.year == 0) continue;
    table.at(row, 0) = texts::YearText(entry.year);
    table.at(row, 1) = ListItem(MonthList(), entry.month);
    table.at(row, 2) = ListItem(DayList(), entry.day);
    table.at(row, 3) = ProgramText(names, entry.program);
    ++row;
  }
  return table;
}

Verdict CheckAndStore(Kind kind, const PageTexts& texts, const YearPair& years, BasicMessages basic,
                      ScheduleModel& model) {
  const std::optional<TextTable>& table = texts.of(kind);
  if (!table) return {};
  switch (kind) {
    case Kind::Basic:
      if (basic == BasicMessages::Shown) {
        if (Verdict verdict = CheckProgramCell(*table); !verdict) return verdict;
      }
      model.basicProgram = static_cast<int16_t>(ProgramAt(*table, 0, 0).value_or(0));
      return {};
    case Kind::Holiday:
      if (texts.holidayEnabled) {
        if (Verdict verdict = CheckProgramCell(*table); !verdict) return verdict;
      }
      model.holidayEnabled = texts.holidayEnabled ? 1 : 0;
      model.holidayProgram = static_cast<int16_t>(ProgramAt(*table, 0, 0).value_or(0));
      return {};
    case Kind::Period:
      if (Verdict verdict = CheckRows(*table, years, CheckPeriodRow); !verdict) return verdict;
      StorePeriods(*table, model);
      return {};
    case Kind::Individual:
      if (Verdict verdict = CheckRows(*table, years, CheckDateRow); !verdict) return verdict;
      StoreDates(*table, model);
      return {};
  }
  return {};
}

KindVerdict CheckAndStoreAll(const PageTexts& texts, const YearPair& years, BasicMessages basic,
                             ScheduleModel& model) {
  for (Kind kind : {Kind::Basic, Kind::Period, Kind::Individual, Kind::Holiday}) {
    if (Verdict verdict = CheckAndStore(kind, texts, years, basic, model); !verdict)
      return {kind, verdict};
  }
  return {Kind::Basic, {}};
}

std::optional<NewYearSplit> OfferNewYearSplit(const TextTable& periods, const Verdict& verdict,
                                              const YearPair& years) {
  const int row = verdict.cell().row;
  if (verdict || row < 0 || row >= periods.rows() || !CheckPeriodCells(periods, row, years) ||
      !EndsBeforeStart(periods, row))
    return std::nullopt;
  const int year = *ReadYear(periods.at(row, 0));
  if (year != kEveryYear && year != years.currentYear) return std::nullopt;
  const int nextYear = year == kEveryYear ? kEveryYear : years.nextYear;
  if (DayAt(periods, row, 4) > MonthLength(nextYear, MonthAt(periods, row, 3))) return std::nullopt;
  int empty = row + 1;
  while (empty < periods.rows() && !RowEmpty(periods, empty)) ++empty;
  if (empty == periods.rows()) return std::nullopt;

  NewYearSplit split{periods, {}};
  TextTable& table = split.table;
  for (int r = empty; r > row + 1; --r)
    for (int c = 0; c < kPeriodCols; ++c) table.at(r, c) = table.at(r - 1, c);
  for (int c = 0; c < kPeriodCols; ++c) table.at(row + 1, c) = table.at(row, c);
  table.at(row, 3) = ListItem(MonthList(), 12);
  table.at(row, 4) = ListItem(DayList(), 31);
  table.at(row + 1, 0) = texts::YearText(nextYear);
  table.at(row + 1, 1) = ListItem(MonthList(), 1);
  table.at(row + 1, 2) = ListItem(DayList(), 1);
  split.question = std::to_string(row + 1) +
                   " 行目の期間は年をまたいでいます。\n次の２行に分けて設定しますか？\n\n" +
                   PeriodText(table, row) + "\n" + PeriodText(table, row + 1);
  return split;
}

void CopyPeriods(const TextTable& table, int first, int last, EditorClipboards& clipboards) {
  CopyRows(table, first, last, kPeriodColumns, clipboards.periods, clipboards.periodCount);
}

void CopyDates(const TextTable& table, int first, int last, EditorClipboards& clipboards) {
  CopyRows(table, first, last, kDateColumns, clipboards.dates, clipboards.dateCount);
}

void PastePeriods(const EditorClipboards& clipboards, const ProgramNameTable& names, int first,
                  TextTable& table) {
  PasteRows(clipboards.periods, clipboards.periodCount, first, kPeriodColumns, names, table);
}

void PasteDates(const EditorClipboards& clipboards, const ProgramNameTable& names, int first,
                TextTable& table) {
  PasteRows(clipboards.dates, clipboards.dateCount, first, kDateColumns, names, table);
}

}  // namespace tavrin::annual
