// tavrin-cli export: the CSV report of a settings file, as the desktop program would write it.
#pragma once

#include <ostream>
#include <string>

#include "cli/CliContext.h"

namespace tavrin {

// Unpacks the settings image into a working model as the desktop program does at `context.now`
// and writes the report to `outputPath` (".CSV" added when it has no extension). The program's
// messages go to `err`; returns the exit code.
int ExportReport(const SettingsImage& image, const ProgramNameTable& names, CliContext& context,
                 const std::string& outputPath, std::ostream& err);

}  // namespace tavrin
