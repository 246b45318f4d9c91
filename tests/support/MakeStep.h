// A weekly step from readable parts; `days` is seven '0'/'1' flags, Sunday first.
#pragma once

#include "model/ScheduleModel.h"

namespace tavrin::testing {

inline WeeklyStep MakeStep(int program, int channel, const char* days, int hour, int minute,
                           int action) {
  WeeklyStep step{};
  step.program = static_cast<uint8_t>(program);
  step.channel = static_cast<uint8_t>(channel);
  for (int d = 0; d < 7; ++d) step.days[d] = days[d] == '1';
  step.hour = static_cast<uint8_t>(hour);
  step.minute = static_cast<uint8_t>(minute);
  step.action = static_cast<uint8_t>(action);
  return step;
}

}  // namespace tavrin::testing
