// The local clock as the program's logic sees it; tests and scripted runs substitute their own.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "model/Result.h"

namespace tavrin {

struct LocalTime {
  int year, month, day, hour, minute, second;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() const = 0;
};

// "YYYY-MM-DDTHH:MM:SS" of a time that exists (year 1 on, a day its month has); nothing
// otherwise.
std::optional<LocalTime> ParseLocalTime(std::string_view text);

inline constexpr char kClockVariable[] = "TAVRIN_NOW";

// What a clock set by the user and mistyped says: "SOURCE: expected YYYY-MM-DDTHH:MM:SS, got
// "VALUE"". Such a clock is refused rather than given way to the real one without a word: it
// would name the backups and decide the schedule's two years.
std::string ClockFault(const std::string& source, const std::string& value);
// The time TAVRIN_NOW fixes: nothing when it is unset or empty; the fault when it names no time
// that exists.
Result<std::optional<LocalTime>> FixedTimeFromEnvironment();

// The system's local time, or the fixed time in TAVRIN_NOW when that is set and valid.
class SystemClock : public Clock {
 public:
  LocalTime Now() const override;
};

// A clock that says what it is told.
class FixedClock : public Clock {
 public:
  explicit FixedClock(LocalTime time) : time_(time) {}
  LocalTime Now() const override { return time_; }
  void Set(LocalTime time) { time_ = time; }

 private:
  LocalTime time_;
};

}  // namespace tavrin
