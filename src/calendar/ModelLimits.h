// The values the editors can produce (the limits of model/TimerLimits). A model from outside the
// editors (a JSON file, a script) is held to them before it is packed: the image has no room for
// an hour 25 or a program 150, and the timer would run what the bits happen to say.
#pragma once

#include "model/Result.h"
#include "model/ScheduleModel.h"

namespace tavrin {

// The first breach of the limits, named by field and slot, e.g.
// "steps[slot 3].hour: 25 is outside 0..23"; a summer-time rule is judged in its page's words.
Result<> CheckEditorLimits(const ScheduleModel& model);

}  // namespace tavrin
