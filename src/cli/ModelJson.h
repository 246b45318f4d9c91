// A schedule and its program names as JSON, for keeping schedules in version control and for
// scripts. Record tables list only the records that are not all zero, each with its slot; texts are
// the Shift-JIS bytes as UTF-8 without the padding NULs.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Messages.h"
#include "model/Result.h"
#include "model/ScheduleModel.h"

namespace tavrin {

nlohmann::ordered_json ModelToJson(const ScheduleModel& model, const ProgramNameTable& names);
// The JSON text as written by dump: one record per line.
std::string FormatModelJson(const ScheduleModel& model, const ProgramNameTable& names);

// Fills `model` and `names` from scratch. Missing numbers are 0, missing records empty, missing
// identification texts the constants. Refuses unknown keys, numbers outside their field, texts
// without a Shift-JIS form or longer than their field, name keys that are no program number and
// day lists that are not 7 long, with a message naming the key, e.g.
// "steps[3].hour: 256 is outside 0..255". On failure the outputs are unspecified.
// Given `refused`, such values are listed there in the same words and left out (their fields keep
// 0 or the constant) and reading goes on: it fails only on input that is no model, i.e. no JSON
// object, a table that is no array or an object that is none, a record that is no object or whose
// slot is missing, outside its table or listed twice, and more than 8 channels.
Result<> ModelFromJson(const nlohmann::json& json, ScheduleModel& model, ProgramNameTable& names,
                       std::vector<std::string>* refused = nullptr);
Result<> ParseModelJson(std::string_view text, ScheduleModel& model, ProgramNameTable& names,
                        std::vector<std::string>* refused = nullptr);

// Why the model does not carry the timer's tag, e.g. "modelTag: "ABCD" is not the timer's tag
// VL3X"; nothing when it does. Its file is one that dump, the program and the timer refuse.
std::optional<std::string> ModelTagFault(const ScheduleModel& model);

}  // namespace tavrin
