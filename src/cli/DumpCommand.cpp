#include <ostream>

#include "cli/Commands.h"
#include "cli/ModelJson.h"

namespace tavrin {
namespace {

constexpr const char* kUsageText = TrMark(
    "usage: tavrin-cli dump FILE.BIN [--names FILE.TXT] [--data-dir DIR] [--now TIME]\n"
    "Prints the schedule of a settings file as JSON, as the program would show it.\n"
    "  --names FILE.TXT  program names (default: the .TXT beside FILE.BIN, if there is one)\n"
    "  --data-dir DIR    holiday file and Tavrin.ini (default: $TAVRIN_DATA_DIR or the data\n"
    "                    folder)\n"
    "  --now TIME        the clock, YYYY-MM-DDTHH:MM:SS (default: $TAVRIN_NOW or the system\n"
    "                    clock); it decides the two years the file covers\n");

std::string Usage() { return Tr(kUsageText); }

}  // namespace

int RunDump(const std::vector<std::string>& args, CliIo& io) {
  int exitCode = kExitOk;
  std::optional<Arguments> parsed =
      ReadCommandLine(args, {{"--names", "", true}}, Usage(), io, exitCode);
  if (!parsed) return exitCode;
  if (parsed->positional.size() != 1) {
    return UsageError(io, Usage(), Tr("dump takes one settings file"));
  }
  std::optional<SettingsInput> input = LoadSettingsInput(*parsed, Usage(), io, exitCode);
  if (!input) return exitCode;
  ScheduleModel model;
  UnpackImage(input->image, input->context.Image(), model);
  io.out << FormatModelJson(model, input->names);
  return kExitOk;
}

}  // namespace tavrin
