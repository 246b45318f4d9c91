// Runs a tavrin-cli subcommand in the test's own process and keeps what it printed.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/Commands.h"

namespace tavrin::testing {

struct Outcome {
  int code;
  std::string out;
  std::string err;
};

// The lines of a command's output, without their line ends.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

inline Outcome Call(CommandFunction command, const std::vector<std::string>& args) {
  std::ostringstream out, err;
  CliIo io{out, err};
  int code = command(args, io);
  return {code, out.str(), err.str()};
}

}  // namespace tavrin::testing
