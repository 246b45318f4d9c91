// Reading the schedules that agenda and check look at. Both report what the timer would do, so a
// settings file must be exactly one image: a short file would be read as zero bytes, which no
// timer ever received.
#pragma once

#include <string>

#include "cli/CliContext.h"
#include "model/Result.h"

namespace tavrin {

// The settings file at `path`, refused with the program's message when it cannot be read, is not
// a settings file, or is not exactly 6594 bytes long.
Result<SettingsImage> ReadWholeSettingsFile(const std::string& path);

// True for a path ending in ".json" in any letter case: a model as dump prints it.
bool IsModelJsonPath(const std::string& path);

struct LoadedSchedule {
  ScheduleModel model;
  ProgramNameTable names;
};
// The working model of a settings file (unpacked as the desktop program does at `context.now`,
// names from "--names" or beside it) or of a model JSON (names from "--names", else its own).
Result<LoadedSchedule> LoadSchedule(const Arguments& args, const std::string& path,
                                    const CliContext& context);

}  // namespace tavrin
