// Reading the schedules that agenda and check look at. Both report what the timer would do, so a
// settings file must be exactly one image: a short file would be read as zero bytes, which no
// timer ever received.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/CliContext.h"
#include "model/Result.h"

namespace tavrin {

// True for a path ending in ".json" in any letter case: a model as dump prints it.
bool IsModelJsonPath(const std::string& path);

// What becomes of the values in a model JSON that strict packing refuses: the input is refused,
// or they are listed and left out.
enum class RefusedValues { Refuse, List };

struct LoadedSchedule {
  ScheduleModel model;
  ProgramNameTable names;
  // RefusedValues::List: the values refused, in strict packing's words ("radioStation: ..."),
  // the model's tag too.
  std::vector<std::string> refused;
};
// The working model of a settings file (unpacked as the desktop program does at `context.now`,
// names from "--names" or beside it) or of a model JSON (names from "--names", else its own).
// Only a model JSON can hold values strict packing refuses.
Result<LoadedSchedule> LoadSchedule(const Arguments& args, const std::string& path,
                                    const CliContext& context, std::ostream& err,
                                    RefusedValues values = RefusedValues::Refuse);

}  // namespace tavrin
