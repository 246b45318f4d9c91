#include "editors/GridText.h"

#include <algorithm>
#include <cassert>
#include <climits>

namespace tavrin {

std::optional<int> ReadCellNumber(std::string_view text) {
  std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return std::nullopt;
  text.remove_prefix(start);
  text = text.substr(0, std::min(text.find_first_of(",;"), std::size_t{32}));
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    // Thirty-two digits overflow any integer; a huge number is still out of every range.
    value = std::min<long long>(value * 10 + (c - '0'), INT_MAX);
  }
  return static_cast<int>(value);
}

int ListPosition(std::string_view list, std::string_view text) {
  if (text.empty()) return 0;
  int position = 1;
  for (std::size_t start = 0;; ++position) {
    std::size_t end = list.find('|', start);
    if (list.substr(start, end - start) == text) return position;
    if (end == std::string_view::npos) return 0;
    start = end + 1;
  }
}

std::string ListItem(std::string_view list, int position) {
  if (position < 1) return {};
  std::size_t start = 0;
  for (int i = 1; i < position; ++i) {
    start = list.find('|', start);
    if (start == std::string_view::npos) return {};
    ++start;
  }
  return std::string(list.substr(start, list.find('|', start) - start));
}

namespace {

std::vector<std::string> Items(std::string_view list) {
  std::vector<std::string> items;
  for (std::size_t start = 0;;) {
    const std::size_t end = list.find('|', start);
    items.emplace_back(list.substr(start, end - start));
    if (end == std::string_view::npos) return items;
    start = end + 1;
  }
}

}  // namespace

grid::CellList NumberChoices(std::string_view list) { return {Items(list), true}; }
grid::CellList TextChoices(std::string_view list) { return {Items(list), false}; }

std::string NumberItem(int value, const char* unit) {
  std::string item = std::to_string(value);
  item += ' ';
  item += unit;
  return item;
}

std::string NumberList(Range range, const char* unit) {
  std::string list;
  for (int value = range.low; value <= range.high; ++value) {
    if (value > range.low) list += '|';
    list += NumberItem(value, unit);
  }
  return list;
}

const std::string& MonthList() {
  static const std::string list = NumberList(limits::kMonth, "月");
  return list;
}

const std::string& DayList() {
  static const std::string list = NumberList(limits::kGridDay, "日");
  return list;
}

const std::string& HourList() {
  static const std::string list = NumberList(limits::kHour, "時");
  return list;
}

TextTable::TextTable(int rows, int cols)
    : rows_(rows), cols_(cols), cells_(static_cast<std::size_t>(rows * cols)) {}

std::size_t TextTable::Index(int row, int col) const {
  assert(row >= 0 && row < rows_ && col >= 0 && col < cols_);
  return static_cast<std::size_t>(row * cols_ + col);
}

bool TextTable::AllEmpty() const {
  return std::all_of(cells_.begin(), cells_.end(), [](const std::string& s) { return s.empty(); });
}

CellPos TextTable::FirstEmptyCell() const {
  for (int row = 0; row < rows_; ++row)
    for (int col = 0; col < cols_; ++col)
      if (at(row, col).empty()) return {row, col};
  return {0, 0};
}

void TextTable::ClearRows(int first, int last) {
  for (int row = std::max(first, 0); row <= std::min(last, rows_ - 1); ++row)
    for (int col = 0; col < cols_; ++col) at(row, col).clear();
}

}  // namespace tavrin
