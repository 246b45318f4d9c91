#include "grid/CellList.h"

#include <algorithm>

namespace tavrin::grid {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWith(std::string_view text, std::string_view typed) {
  return text.size() >= typed.size() &&
         std::equal(typed.begin(), typed.end(), text.begin(),
                    [](char a, char b) { return Lower(a) == Lower(b); });
}

// "008" and "8" are the same number; "0" stays itself.
std::string_view WithoutLeadingZeros(std::string_view digits) {
  while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
  return digits;
}

// The first run of digits in an item, without its leading zeros; empty when it has none.
std::string_view NumberOf(std::string_view item) {
  const auto first = std::find_if(item.begin(), item.end(), IsDigit);
  const auto last = std::find_if_not(first, item.end(), IsDigit);
  return WithoutLeadingZeros(item.substr(static_cast<std::size_t>(first - item.begin()),
                                         static_cast<std::size_t>(last - first)));
}

}  // namespace

std::optional<int> FirstMatch(const CellList& list, std::string_view typed) {
  if (typed.empty()) return std::nullopt;
  const bool digits = list.numeric && std::all_of(typed.begin(), typed.end(), IsDigit);
  const std::string_view number = WithoutLeadingZeros(typed);
  for (std::size_t i = 0; i < list.items.size(); ++i) {
    const std::string& item = list.items[i];
    if (StartsWith(item, typed)) return static_cast<int>(i);
    if (digits) {
      const std::string_view own = NumberOf(item);
      if (!own.empty() && own.starts_with(number)) return static_cast<int>(i);
    }
  }
  return std::nullopt;
}

std::optional<int> ItemIndex(const CellList& list, std::string_view text) {
  const auto found = std::find(list.items.begin(), list.items.end(), text);
  if (found == list.items.end()) return std::nullopt;
  return static_cast<int>(found - list.items.begin());
}

}  // namespace tavrin::grid
