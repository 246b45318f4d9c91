// The weekly steps in the order the timer and every list show them.
#pragma once

#include <span>

#include "model/ScheduleModel.h"

namespace tavrin {

// Orders `steps` by program, hour, minute and channel (equal keys keep their order), then clears
// all 1000 slots of `model` and writes them into the first slots. `steps` may be at most 1000 long
// and may alias nothing in `model`.
void CompactAndSortSteps(ScheduleModel& model, std::span<const WeeklyStep> steps);
// The same for every step in use of the model itself.
void CompactAndSortSteps(ScheduleModel& model);

}  // namespace tavrin
