#include "app/StartOptions.h"

#include "maintenance/MaintenanceTexts.h"

namespace tavrin {
namespace {

constexpr char kUsageLine[] = "usage: tavrin [FILE.BIN]\n";

bool IsHelp(const std::string& arg) { return arg == "-h" || arg == "--help"; }

}  // namespace

StartOptions ParseStartOptions(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") break;
    if (IsHelp(arg)) return {StartRequest::Help, std::nullopt, {}};
    if (arg == "--version") return {StartRequest::Version, std::nullopt, {}};
  }
  StartOptions options;
  bool optionsEnded = false;
  for (const std::string& arg : args) {
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
      continue;
    }
    // A lone "-" is a file name here as anywhere: the program reads no standard input.
    if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      return {StartRequest::Usage, std::nullopt, "unknown option \"" + arg + "\""};
    }
    if (options.file) {
      return {StartRequest::Usage, std::nullopt, "one file at a time: \"" + arg + "\" is one more"};
    }
    options.file = arg;
  }
  return options;
}

std::string StartHelpText() {
  return std::string(kUsageLine) +
         "Edits the schedules of the VL-3400 annual program timer (in Japanese).\n"
         "With FILE.BIN it opens that settings file, without it a new schedule.\n"
         "When the program runs already, its window comes to the front and opens\n"
         "FILE.BIN there, after asking whether to save the schedule it has open.\n"
         "\n"
         "  -h, --help     print this text and exit\n"
         "      --version  print the version and exit\n"
         "\n"
         "F1 in the program opens the guide (ヘルプ > 使い方); see also tavrin(1).\n";
}

std::string StartVersionText() { return std::string("tavrin ") + kProgramVersion + "\n"; }

std::string StartUsageText(const std::string& problem) {
  return "tavrin: " + problem + "\n" + kUsageLine + "'tavrin --help' describes the options.\n";
}

}  // namespace tavrin
