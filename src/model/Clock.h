// The local clock as the program's logic sees it; tests and scripted runs substitute their own.
#pragma once

#include <memory>
#include <optional>
#include <string_view>

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
