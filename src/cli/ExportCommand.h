// tavrin-cli export FILE.BIN [--names FILE.TXT] -o OUT.CSV
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "model/Clock.h"

namespace tavrin {

struct ExportRequest {
  std::string settingsPath;
  std::optional<std::string> namesPath;
  std::string outputPath;
};

// The subcommand's own arguments; nothing (and a usage message on `err`) when they are wrong.
std::optional<ExportRequest> ParseExportArguments(const std::vector<std::string>& args,
                                                  std::ostream& err);
// Unpacks the settings file as the desktop program would at `now` and writes the report, with
// "Tavrin.ini" and the holiday file of `dataFolder`. Returns the exit code.
int RunExport(const ExportRequest& request, const std::string& dataFolder, const LocalTime& now,
              std::ostream& err);

}  // namespace tavrin
