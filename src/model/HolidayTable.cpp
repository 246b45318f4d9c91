#include "model/HolidayTable.h"

#include <cstring>

namespace tavrin {

const HolidayTable::YearDays* HolidayTable::DaysOf(int year) const {
  const int count = yearCount < kHolidayYears ? yearCount : kHolidayYears;
  for (int k = 0; k < count; ++k) {
    if (years[k] == year) return &days[k];
  }
  return nullptr;
}

bool HolidayTable::IsHoliday(int year, int month, int day) const {
  if (month < 1 || month > 12 || day < 1 || day > 31) return false;
  const YearDays* listed = DaysOf(year);
  if (listed == nullptr) return false;
  for (uint8_t entry : (*listed)[month - 1]) {
    if (entry == day) return true;
  }
  return false;
}

std::string HolidayTable::Version() const {
  return std::string(holidayVersion.data(), strnlen(holidayVersion.data(), holidayVersion.size()));
}

void ClearHolidayTable(HolidayTable& table) { std::memset(&table, 0, sizeof table); }

}  // namespace tavrin
