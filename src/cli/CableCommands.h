// tavrin-cli cable-write and cable-read: the two cable dialogs, run from a terminal.
#pragma once

#include <string>
#include <vector>

#include "cli/CliContext.h"
#include "transfer/CableEnvironment.h"

namespace tavrin {

int RunCableWrite(const std::vector<std::string>& args, CliIo& io, CableEnvironment& environment);
int RunCableRead(const std::vector<std::string>& args, CliIo& io, CableEnvironment& environment);

}  // namespace tavrin
