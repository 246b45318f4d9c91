// A schedule and its program names as JSON, for keeping schedules in version control and for
// scripts. Record tables list only the records that are not all zero, each with its slot; texts are
// the Shift-JIS bytes as UTF-8 without the padding NULs.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "model/Messages.h"
#include "model/Result.h"
#include "model/ScheduleModel.h"

namespace tavrin {

nlohmann::ordered_json ModelToJson(const ScheduleModel& model, const ProgramNameTable& names);
// The JSON text as written by dump: one record per line.
std::string FormatModelJson(const ScheduleModel& model, const ProgramNameTable& names);

// Fills `model` and `names` from scratch. Missing numbers are 0, missing records empty, missing
// identification texts the constants. Refuses unknown keys, numbers outside their field, texts
// without a Shift-JIS form or longer than their field, with a message naming the key, e.g.
// "steps[3].hour: 256 is outside 0..255". On failure the outputs are unspecified.
Result<> ModelFromJson(const nlohmann::json& json, ScheduleModel& model, ProgramNameTable& names);
Result<> ParseModelJson(std::string_view text, ScheduleModel& model, ProgramNameTable& names);

}  // namespace tavrin
