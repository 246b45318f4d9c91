// The drop-down list of a grid column, and which of its items what the user typed picks.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::grid {

struct CellList {
  // UTF-8, in the order the list shows them; an empty item lets the cell be emptied.
  std::vector<std::string> items;
  // The items are numbers, each the first run of digits in its text ("8 時", "第 2", "10.曲名",
  // "2026 年"): typed digits also pick by that number, leading zeros aside, so "2" finds "第 2"
  // and "08" finds "8 時".
  bool numeric = false;

  bool operator==(const CellList&) const = default;
};

// The first item whose text starts with `typed` (ASCII letters in either case), or in a numeric
// list whose number starts with the typed digits; none for empty typing or when nothing fits.
std::optional<int> FirstMatch(const CellList& list, std::string_view typed);

// The position of `text` among the items; none when it is not one.
std::optional<int> ItemIndex(const CellList& list, std::string_view text);

}  // namespace tavrin::grid
