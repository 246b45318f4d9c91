// The weekly overview's rows: every step in use, in slot order, read-only.
#pragma once

#include <string>
#include <vector>

#include "model/IniSettings.h"
#include "model/ScheduleModel.h"

namespace tavrin::overview {

inline constexpr int kProgramCol = 0;
inline constexpr int kHourCol = 1;
inline constexpr int kMinuteCol = 2;
inline constexpr int kChannelCol = 3;
inline constexpr int kFirstDayCol = 4;
inline constexpr int kSettingCol = 11;
inline constexpr int kCols = 12;

struct Row {
  std::array<std::string, kCols> cells;  // UTF-8
  bool timeSignal = false;               // the channel number in blue, else red
};
// Steps with numbers outside their ranges are shown as they are.
std::vector<Row> Rows(const ScheduleModel& model, const IniSettings& settings,
                      const std::string& dayMark);

}  // namespace tavrin::overview
