// The rule every save obeys: the basic program is set and every program the annual program names
// has steps. The command line's pack obeys it too, so no tool writes what the program refuses.
#pragma once

#include "model/Result.h"
#include "model/ScheduleModel.h"

namespace tavrin {

// The first fault as the program words it; program 99 is never reported as unregistered.
Result<> CheckSaveable(const ScheduleModel& model);

}  // namespace tavrin
