// A schedule that fills every table: 1000 steps over every program and channel, filled from the
// back so that a sort has work to do, 200 periods and 200 dates.
#pragma once

#include "model/ScheduleModel.h"

namespace tavrin {

inline ScheduleModel StressModel() {
  ScheduleModel model;
  ClearModel(model);
  for (int ch = 0; ch < kChannelCount; ++ch) {
    model.channels[ch] = {static_cast<uint8_t>(ch % 2 ? kChannelKeep : kChannelTimeSignal), 0, 10,
                          static_cast<uint8_t>(ch % 4)};
  }
  // Filled from the back, so the sort has work to do.
  for (int i = 0; i < kStepCount; ++i) {
    WeeklyStep& step = model.steps[kStepCount - 1 - i];
    step.program = static_cast<uint8_t>(1 + i % 99);
    step.channel = static_cast<uint8_t>(1 + i % 8);
    for (int d = 0; d < 7; ++d) step.days[d] = (i + d) % 3 != 0;
    step.hour = static_cast<uint8_t>(i * 7 % 24);
    step.minute = static_cast<uint8_t>(i * 13 % 60);
    step.action = static_cast<uint8_t>(step.channel % 2 ? 1 + i % 10 : 1 + i % 2);
  }
  for (int i = 0; i < kPeriodCount; ++i) {
    const int16_t years[3] = {kEveryYear, 2025, 2026};
    model.periods[i] = {years[i % 3],
                        static_cast<uint8_t>(1 + i % 12),
                        static_cast<uint8_t>(1 + i % 20),
                        static_cast<uint8_t>(1 + i % 12),
                        static_cast<uint8_t>(10 + i % 18),
                        static_cast<uint8_t>(1 + i % 99)};
  }
  for (int i = 0; i < kDateCount; ++i) {
    model.dates[i] = {static_cast<int16_t>(i % 2 ? 2025 : 2026), static_cast<uint8_t>(1 + i % 12),
                      static_cast<uint8_t>(1 + i % 28), static_cast<uint8_t>(1 + i % 99)};
  }
  model.basicProgram = 1;
  model.holidayEnabled = 1;
  model.holidayProgram = 2;
  model.summerTime = {3, 2, 1, 2, 11, 1, 1, 2};
  model.summerTimeEnabled = 1;
  model.radioFrequency = 825;
  return model;
}

}  // namespace tavrin
