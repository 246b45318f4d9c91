// Public holidays read once at start-up from "Tavrin-Holidays.ini" (the reader is in calendar/).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/Dates.h"

namespace tavrin {

// A section for every year the timer holds: fewer would leave the later years without holidays
// while the timer still runs them.
inline constexpr int kHolidayYears = kLastYear - kFirstYear + 1;

struct HolidayTable {
  std::array<char, 32> holidayVersion;  // NUL-terminated, empty when the file has none
  int16_t yearCount;
  std::array<int16_t, kHolidayYears> years;  // file order
  std::array<std::array<std::array<uint8_t, 31>, 12>, kHolidayYears>
      days;  // [section][month-1][slot]

  using YearDays = std::array<std::array<uint8_t, 31>, 12>;

  // The days of the first section of `year` (later sections of the same year are never read),
  // or null when no section covers it.
  const YearDays* DaysOf(int year) const;
  // True when the first section of `year` lists `day` for `month`.
  bool IsHoliday(int year, int month, int day) const;
  std::string Version() const;
};

void ClearHolidayTable(HolidayTable& table);

}  // namespace tavrin
