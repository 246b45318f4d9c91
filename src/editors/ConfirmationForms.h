// What the two weekly confirmation forms show of one program on one channel: a week of 7 days
// against 24 hours. The time-signal form lists chime positions per hour; the keep form draws its
// ON/OFF pairs as pictures that join across the hour cells.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "editors/WeeklyGroups.h"
#include "model/IniSettings.h"
#include "model/ScheduleModel.h"

namespace tavrin::forms {

inline constexpr int kMaxPairs = 24;
inline constexpr int kLastScrollCol = 8;

// The title fields above the grid (UTF-8).
struct Title {
  std::string program;
  std::string name;
  std::string channel;
  std::string kind;  // "報時" or "キープ"
};
Title TitleOf(const ProgramNameTable& names, int program, int channel, int kind);

// Cell texts "2" or "1,3": the chime positions of the hour, each once, ascending.
struct TimeSignalView {
  std::array<std::array<std::string, kHours>, kDays> cells;
  int leftCol = kLastScrollCol;  // the first hour column in view (grid column, label column 0)
};
TimeSignalView TimeSignal(const ScheduleModel& model, const IniSettings& settings, int program,
                          int channel);

// The eleven legend labels: "0.（なし）", then "1." and each melody; empty past the table.
std::array<std::string, 11> Legend(const IniSettings& settings);

struct KeepPair {
  std::optional<ClockTime> on;
  std::optional<ClockTime> off;
};
// Up to 24 pairs per day from the steps of the program on the channel, in slot order.
std::array<std::vector<KeepPair>, kDays> KeepPairs(const ScheduleModel& model, int program,
                                                   int channel);

// The picture of a cell by its place in a pair.
enum class KeepShape {
  OnAndOff,       // both in the hour: a double-headed arrow over the cell
  OnEarly,        // ON before :30: arrow head at the left edge, bar to the right edge
  OnLate,         // ON at :30 or later: arrow head mid-cell, bar to the right edge
  Between,        // a full-width bar
  OffEarly,       // OFF at :30 or earlier after an ON: bar to an arrow head mid-cell
  OffLate,        // OFF after :30 after an ON: bar to an arrow head at the right edge
  OffAloneEarly,  // OFF without ON, at :30 or earlier: arrow head alone, mid-cell
  OffAloneLate,   // OFF without ON, after :30: arrow head alone at the right edge
};
inline constexpr int kShapeCount = 8;
struct KeepCell {
  KeepShape shape;
  bool odd;  // pairs alternate blue (even index) and magenta (odd)
};
struct KeepView {
  std::array<std::array<std::optional<KeepCell>, kHours>, kDays> cells;
  int leftCol = kLastScrollCol;
};
KeepView Keep(const ScheduleModel& model, int program, int channel);

}  // namespace tavrin::forms
