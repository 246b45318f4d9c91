#include "app/StartOptions.h"

#include <algorithm>
#include <string_view>

#include "maintenance/MaintenanceTexts.h"

namespace tavrin {
namespace {

constexpr char kUsageLine[] = "usage: tavrin [FILE.BIN]\n";

bool IsHelp(const std::string& arg) { return arg == "-h" || arg == "--help"; }

// Qt's own options, as QApplication and its X11 platform take them out of the command line: with
// one dash or two, those of the second list followed by their value, the last ones also as
// "-style=fusion". Known here, a wrong command line is refused before Qt looks for a display.
constexpr std::string_view kQtSwitches[] = {"reverse", "widgetcount", "testability", "qdevel",
                                            "qdebug",  "dograb",      "nograb"};
constexpr std::string_view kQtValued[] = {"platform",
                                          "platformpluginpath",
                                          "platformtheme",
                                          "plugin",
                                          "qwindowgeometry",
                                          "qwindowicon",
                                          "qwindowtitle",
                                          "session",
                                          "style",
                                          "stylesheet",
                                          "geometry",
                                          "title",
                                          "icon",
                                          "display",
                                          "name",
                                          "visual"};
constexpr std::string_view kQtJoined[] = {"style=", "stylesheet=", "qmljsdebugger="};

// How many arguments from `arg` on are one of Qt's options: 0 when it is none of them.
int QtOptionLength(const std::string& arg) {
  std::string_view name(arg);
  if (name.starts_with("--")) name.remove_prefix(1);
  if (!name.starts_with("-")) return 0;
  name.remove_prefix(1);
  const auto is = [name](std::string_view known) { return known == name; };
  if (std::ranges::any_of(kQtSwitches, is)) return 1;
  if (std::ranges::any_of(kQtValued, is)) return 2;
  const auto joins = [name](std::string_view known) {
    return name.size() > known.size() && name.starts_with(known);
  };
  return std::ranges::any_of(kQtJoined, joins) ? 1 : 0;
}

}  // namespace

StartOptions ParseStartOptions(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") break;
    if (IsHelp(arg)) return {StartRequest::Help, std::nullopt, {}};
    if (arg == "--version") return {StartRequest::Version, std::nullopt, {}};
  }
  StartOptions options;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (!optionsEnded) {
      if (const int length = QtOptionLength(arg); length > 0) {
        i += static_cast<std::size_t>(length - 1);
        continue;
      }
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
