// Reading "Tavrin-Holidays.ini" into a holiday table.
#pragma once

#include <cstddef>
#include <string>

#include "model/HolidayTable.h"

namespace tavrin {

// Reads and applies a holiday file, at most its first kDataFileLimitBytes (`cut` tells whether
// more followed); false when it cannot be opened or read.
bool LoadHolidayFile(const std::string& path, HolidayTable& table, bool* cut = nullptr);
// The same rules over bytes already in memory (always succeeds).
void ParseHolidayText(const char* data, std::size_t size, HolidayTable& table);

}  // namespace tavrin
