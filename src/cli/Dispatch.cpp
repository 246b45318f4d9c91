#include <ostream>

#include "cli/Commands.h"

namespace tavrin {
namespace {

void ListCommands(std::span<const Command> commands, std::ostream& out) {
  out << Tr(
      "usage: tavrin-cli COMMAND [ARGS...]\n"
      "Edits the schedules of the VL-3400 annual program timer from a terminal.\n\n"
      "commands:\n");
  for (const Command& command : commands) {
    std::string name = command.name;
    out << "  " << name << std::string(name.size() < 14 ? 14 - name.size() : 1, ' ')
        << Tr(command.summary) << "\n";
  }
  out << Tr("\n'tavrin-cli COMMAND --help' describes a command; --version prints the version.\n");
}

}  // namespace

int Dispatch(std::span<const Command> commands, const std::vector<std::string>& args, CliIo& io) {
  if (args.empty()) {
    ListCommands(commands, io.err);
    return kExitUsage;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    ListCommands(commands, io.out);
    return kExitOk;
  }
  if (args[0] == "--version") {
    io.out << VersionLine() << "\n";
    return kExitOk;
  }
  for (const Command& command : commands) {
    if (args[0] == command.name) {
      return command.run(std::vector<std::string>(args.begin() + 1, args.end()), io);
    }
  }
  io.err << kMessagePrefix << TrFormat("unknown command \"%s\"", {args[0]}) << "\n";
  ListCommands(commands, io.err);
  return kExitUsage;
}

}  // namespace tavrin
