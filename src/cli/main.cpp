#include <iostream>

#include "cli/Commands.h"

namespace {

// One line per subcommand.
const tavrin::Command kCommands[] = {
    {"dump", "print a settings file (.BIN) and its program names as JSON", tavrin::RunDump},
    {"pack", "write a settings file and its name file from JSON", tavrin::RunPack},
    {"export", "write the CSV report of a settings file", tavrin::RunExport},
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  tavrin::CliIo io{std::cout, std::cerr};
  return tavrin::Dispatch(kCommands, args, io);
}
