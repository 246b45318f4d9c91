#include <ostream>

#include "cli/Commands.h"
#include "cli/ModelJson.h"

namespace tavrin {
namespace {

constexpr char kUsage[] =
    "usage: tavrin-cli dump FILE.BIN [--names FILE.TXT] [--data-dir DIR] [--now TIME]\n"
    "Prints the schedule of a settings file as JSON, as the program would show it.\n"
    "  --names FILE.TXT  program names (default: the .TXT beside FILE.BIN, if there is one)\n"
    "  --data-dir DIR    holiday file and Tavrin.ini (default: $TAVRIN_DATA_DIR or the data\n"
    "                    folder)\n"
    "  --now TIME        the clock, YYYY-MM-DDTHH:MM:SS (default: $TAVRIN_NOW or the system\n"
    "                    clock); it decides the two years the file covers\n";

}  // namespace

int RunDump(const std::vector<std::string>& args, CliIo& io) {
  std::string error;
  std::optional<Arguments> parsed = ParseArguments(args, {{"--names", "", true}}, error);
  if (!parsed) return UsageError(io, kUsage, error);
  if (parsed->help) {
    io.out << kUsage;
    return kExitOk;
  }
  if (parsed->positional.size() != 1) {
    return UsageError(io, kUsage, "dump takes one settings file");
  }
  std::optional<CliContext> context = LoadContext(*parsed, error);
  if (!context) return UsageError(io, kUsage, error);

  StreamMessageSink messages(io.err);
  const std::string& path = parsed->positional[0];
  SettingsImage image;
  Status status = ReadSettingsFile(path, image);
  if (!status.ok) {
    messages.Show(status.message, kAppCaption, MsgButtons::Ok, MsgIcon::Exclamation);
    return kExitFailure;
  }
  ProgramNameTable names{};
  if (const std::string* namesPath = parsed->Option("--names")) {
    // A name file asked for by name must be there; the one beside the settings file may not be.
    if (!ReadNameFile(*namesPath, names)) {
      messages.Show(FormatMessage("%s のオープンに失敗しました。", *namesPath), kAppCaption,
                    MsgButtons::Ok, MsgIcon::Exclamation);
      return kExitFailure;
    }
  } else {
    DocumentPaths paths = PathsFor(path);
    DeriveNamePaths(paths);
    ReadNameFile(paths.namePath, names);
  }
  ScheduleModel model;
  UnpackImage(image, context->Image(), model);
  io.out << FormatModelJson(model, names);
  return kExitOk;
}

}  // namespace tavrin
