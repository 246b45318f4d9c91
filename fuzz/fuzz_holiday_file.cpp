// Any bytes as a holiday file: the table stays within its fields whatever the file holds.
#include <cstdint>
#include <cstdlib>

#include "calendar/HolidayFile.h"

using namespace tavrin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  HolidayTable table;
  ParseHolidayText(reinterpret_cast<const char*>(data), size, table);
  if (table.yearCount < 0 || table.yearCount > kHolidayYears) std::abort();
  if (table.holidayVersion.back() != '\0') std::abort();
  for (int k = 0; k < kHolidayYears; ++k) {
    if (k >= table.yearCount && table.years[k] != 0) std::abort();
    for (const auto& month : table.days[k]) {
      bool ended = false;
      for (uint8_t day : month) {
        if (day > 31) std::abort();
        // Every month line writes its days from the first slot on, so days never follow a gap.
        if (day == 0) ended = true;
        if (day != 0 && ended) std::abort();
        if (k >= table.yearCount && day != 0) std::abort();
      }
    }
  }
  for (int k = 0; k < table.yearCount; ++k) {
    for (int month = 1; month <= 12; ++month) {
      const uint8_t first = table.days[k][month - 1][0];
      // The first section of a year is the one that answers.
      bool earlier = false;
      for (int j = 0; j < k; ++j) earlier = earlier || table.years[j] == table.years[k];
      if (first != 0 && !earlier && !table.IsHoliday(table.years[k], month, first)) std::abort();
    }
  }
  return 0;
}
