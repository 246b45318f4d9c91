// Reading the schedules that agenda and check look at. Both report what the timer would do, so a
// settings file must be exactly one image: a short file would be read as zero bytes, which no
// timer ever received.
#pragma once

#include <iosfwd>
#include <string>

#include "cli/CliContext.h"
#include "model/Result.h"

namespace tavrin {

// True for a path ending in ".json" in any letter case: a model as dump prints it.
bool IsModelJsonPath(const std::string& path);

struct LoadedSchedule {
  ScheduleModel model;
  ProgramNameTable names;
};
// The working model of a settings file (unpacked as the desktop program does at `context.now`,
// names from "--names" or beside it) or of a model JSON (names from "--names", else its own).
Result<LoadedSchedule> LoadSchedule(const Arguments& args, const std::string& path,
                                    const CliContext& context, std::ostream& err);

}  // namespace tavrin
