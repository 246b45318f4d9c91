#include "model/Clock.h"

#include <charconv>
#include <cstdlib>
#include <ctime>

#include "model/Translation.h"

namespace tavrin {
namespace {

bool ReadNumber(std::string_view text, std::size_t pos, std::size_t width, int& out) {
  if (pos + width > text.size()) return false;
  for (std::size_t i = pos; i < pos + width; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  std::from_chars(text.data() + pos, text.data() + pos + width, out);
  return true;
}

// The calendar of the clock, not of the timer: 2100 has no 29 February.
int DaysIn(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

std::optional<LocalTime> ParseLocalTime(std::string_view text) {
  LocalTime t{};
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text[16] != ':') {
    return std::nullopt;
  }
  if (!ReadNumber(text, 0, 4, t.year) || !ReadNumber(text, 5, 2, t.month) ||
      !ReadNumber(text, 8, 2, t.day) || !ReadNumber(text, 11, 2, t.hour) ||
      !ReadNumber(text, 14, 2, t.minute) || !ReadNumber(text, 17, 2, t.second)) {
    return std::nullopt;
  }
  if (t.year < 1 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > DaysIn(t.year, t.month) ||
      t.hour > 23 || t.minute > 59 || t.second > 59) {
    return std::nullopt;
  }
  return t;
}

std::string ClockFault(const std::string& source, const std::string& value) {
  return TrFormat("%s: expected YYYY-MM-DDTHH:MM:SS, got \"%s\"", {source, value});
}

Result<std::optional<LocalTime>> FixedTimeFromEnvironment() {
  const char* set = std::getenv(kClockVariable);
  if (set == nullptr || *set == '\0') return std::optional<LocalTime>();
  std::optional<LocalTime> time = ParseLocalTime(set);
  if (!time) return Fail(ClockFault(kClockVariable, set));
  return time;
}

LocalTime SystemClock::Now() const {
  if (const char* fixed = std::getenv(kClockVariable)) {
    if (auto parsed = ParseLocalTime(fixed)) return *parsed;
  }
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace tavrin
