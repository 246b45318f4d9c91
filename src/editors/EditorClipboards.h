// The editors' row clipboards. The main view owns them, so what was copied survives closing and
// reopening an editor while the program runs; the view empties them once at start-up.
#pragma once

#include <array>
#include <cstdint>

#include "model/ScheduleModel.h"

namespace tavrin {

// 255 (or year -1) marks a cell that was empty when it was copied.
inline constexpr uint8_t kEmptyCell = 255;
inline constexpr int16_t kEmptyYear = -1;

struct ChannelClip {
  uint8_t row;
  uint8_t kind;
  uint8_t minutes;
  uint8_t seconds;
  uint8_t rise;
};

struct PeriodClip {
  int16_t year;
  uint8_t startMonth, startDay, endMonth, endDay, program;
};

struct DateClip {
  int16_t year;
  uint8_t month, day, program;
};

struct StepClipboard {
  std::array<WeeklyStep, kStepCount> steps;  // steps[i].program holds the grid row copied from
  int program;
  int channelKind;
  int count;
};

struct EditorClipboards {
  std::array<ChannelClip, kChannelCount> channels;
  int channelCount;
  std::array<PeriodClip, kPeriodCount> periods;
  int periodCount;
  std::array<DateClip, kDateCount> dates;
  int dateCount;
  StepClipboard timeSignalSteps;
  StepClipboard keepSteps;

  void Clear() { *this = EditorClipboards{}; }
};

}  // namespace tavrin
