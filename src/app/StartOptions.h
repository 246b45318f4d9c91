// The desktop program's command line: Qt's own options (-platform, -style, ...), passed over
// here for Qt to take, and at most one settings file to open; or a request for the usage or the
// version, or a wrong command line, answered on the terminal without a window.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tavrin {

enum class StartRequest { Run, Help, Version, Usage };

struct StartOptions {
  StartRequest request = StartRequest::Run;
  std::optional<std::string> file;  // Run: the file to open
  std::string problem;              // Usage: what is wrong with the command line
};

// --help and --version win over everything else, so they answer even next to an option that
// only Qt knows. "--" ends the options: what follows is a file name even when it starts with "-".
StartOptions ParseStartOptions(const std::vector<std::string>& args);

inline constexpr int kStartUsageExit = 2;
std::string StartHelpText();     // for --help, on standard output
std::string StartVersionText();  // "tavrin 1.06"
// On standard error before exiting with kStartUsageExit: the problem, then how to ask for help.
std::string StartUsageText(const std::string& problem);

}  // namespace tavrin
