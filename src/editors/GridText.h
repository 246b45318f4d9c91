// What the editors read from and write to their grids: every cell is text, so numbers and list
// choices are recovered from the texts by these rules, the same on every editor.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "grid/CellList.h"
#include "model/TimerLimits.h"

namespace tavrin {

// The number at the start of a cell: leading blanks skipped, the text up to the first "," or ";"
// (at most 32 characters) converted from its leading digits. Nothing left after the blanks gives
// no value; text without leading digits reads as 0.
std::optional<int> ReadCellNumber(std::string_view text);

// 1-based position of `text` among the items of a drop-down list joined by "|"; 0 when the text
// is empty or not an item.
int ListPosition(std::string_view list, std::string_view text);
// The item at 1-based `position` of such a list; empty when there is none.
std::string ListItem(std::string_view list, int position);

// "7 分": a number and its unit as the lists show them.
std::string NumberItem(int value, const char* unit);
// "0 分|1 分|...": the items of a range.
std::string NumberList(Range range, const char* unit);
// The lists of the calendar's fields: "1 月|...|12 月", "1 日|...|31 日" (every day a grid
// month has), "0 時|...|23 時".
const std::string& MonthList();
const std::string& DayList();
const std::string& HourList();
// The list a grid column offers: the items of a list joined by "|", read as numbers (typed
// digits pick by the number in each item) or as texts.
grid::CellList NumberChoices(std::string_view list);
grid::CellList TextChoices(std::string_view list);
// The items joined by "|".
template <typename Items>
std::string JoinList(const Items& items) {
  std::string list;
  for (const char* item : items) {
    if (!list.empty()) list += '|';
    list += item;
  }
  return list;
}

// A data cell, counted from the first data row and column.
struct CellPos {
  int row = 0;
  int col = 0;
  bool operator==(const CellPos&) const = default;
};

// The data cells of a grid as plain text, so that the editors' rules run without a window.
class TextTable {
 public:
  TextTable(int rows, int cols);

  int rows() const { return rows_; }
  int cols() const { return cols_; }
  const std::string& at(int row, int col) const { return cells_[Index(row, col)]; }
  std::string& at(int row, int col) { return cells_[Index(row, col)]; }

  // Every cell, row by row.
  const std::vector<std::string>& cells() const { return cells_; }
  bool AllEmpty() const;
  // Rows top to bottom, each left to right; the first data cell when none is empty.
  CellPos FirstEmptyCell() const;
  // Empties every cell of rows first..last; rows outside the table are ignored.
  void ClearRows(int first, int last);

 private:
  std::size_t Index(int row, int col) const;

  int rows_;
  int cols_;
  std::vector<std::string> cells_;
};

}  // namespace tavrin
