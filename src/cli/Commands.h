// The subcommands of tavrin-cli. Each takes the words after its name and returns the exit code:
// 0 done, 1 failed (the program's message on standard error), 2 the command line was wrong.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "cli/CliContext.h"

namespace tavrin {

using CommandFunction = int (*)(const std::vector<std::string>& args, CliIo& io);

struct Command {
  const char* name;
  const char* summary;
  CommandFunction run;
};

int RunDump(const std::vector<std::string>& args, CliIo& io);
int RunPack(const std::vector<std::string>& args, CliIo& io);
int RunExport(const std::vector<std::string>& args, CliIo& io);
int RunAgenda(const std::vector<std::string>& args, CliIo& io);
int RunCheck(const std::vector<std::string>& args, CliIo& io);
int RunDiff(const std::vector<std::string>& args, CliIo& io);
int RunNextYear(const std::vector<std::string>& args, CliIo& io);

// Runs the subcommand that args[0] names; "--help" or nothing lists the subcommands.
int Dispatch(std::span<const Command> commands, const std::vector<std::string>& args, CliIo& io);

}  // namespace tavrin
