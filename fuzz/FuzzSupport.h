// What several fuzz targets share: a file in memory that the readers open by its path, and a
// small holiday table for packing and the annual resolution.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "calendar/HolidayFile.h"

namespace tavrin::fuzzing {

// The path of one file in memory, which now holds exactly `data`.
inline std::optional<std::string> MemoryFile(const uint8_t* data, std::size_t size) {
  static const int fd = memfd_create("input", 0);
  if (fd < 0) return std::nullopt;
  if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) {
    return std::nullopt;
  }
  return "/proc/self/fd/" + std::to_string(fd);
}

// Holidays of both image years from 2026 on, with a leap day.
inline const HolidayTable& SampleHolidays() {
  static const HolidayTable* holidays = [] {
    auto* table = new HolidayTable;
    ClearHolidayTable(*table);
    const char text[] = "[2026]\r\n01=1,12\r\n05=3,4,5\r\n[2027]\r\n01=1,11\r\n02=29\r\n";
    ParseHolidayText(text, sizeof text - 1, *table);
    return table;
  }();
  return *holidays;
}

}  // namespace tavrin::fuzzing
