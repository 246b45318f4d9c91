#include <fstream>
#include <ostream>
#include <sstream>

#include "calendar/PackImage.h"
#include "cli/Commands.h"
#include "cli/ModelJson.h"

namespace tavrin {
namespace {

constexpr char kUsage[] =
    "usage: tavrin-cli pack MODEL.json -o FILE.BIN [--data-dir DIR] [--now TIME]\n"
    "Writes the settings file and, beside it, the program-name file of a schedule given as\n"
    "JSON (the format dump prints), as the program saves them: FILE without an extension\n"
    "becomes FILE.BIN, and the name file is FILE.TXT.\n"
    "  -o, --output FILE.BIN  the settings file to write\n"
    "  --data-dir DIR         holiday file and Tavrin.ini (default: $TAVRIN_DATA_DIR or the\n"
    "                         data folder)\n"
    "  --now TIME             the clock, YYYY-MM-DDTHH:MM:SS (default: $TAVRIN_NOW or the\n"
    "                         system clock); it decides the two years the file covers\n";

bool ReadText(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  text = buffer.str();
  return !in.bad();
}

}  // namespace

int RunPack(const std::vector<std::string>& args, CliIo& io) {
  int exitCode = kExitOk;
  std::optional<Arguments> parsed =
      ReadCommandLine(args, {{"--output", "-o", true}}, kUsage, io, exitCode);
  if (!parsed) return exitCode;
  const std::string* output = parsed->Option("--output");
  if (parsed->positional.size() != 1 || !output || output->empty()) {
    return UsageError(io, kUsage, "pack takes one JSON file and -o FILE.BIN");
  }
  Result<CliContext> context = LoadContext(*parsed);
  if (!context) return UsageError(io, kUsage, context.message());

  StreamMessageSink messages(io.err);
  auto fail = [&](const std::string& text) {
    messages.Show(text, kAppCaption, MsgButtons::Ok, MsgIcon::Exclamation);
    return kExitFailure;
  };
  const std::string& jsonPath = parsed->positional[0];
  std::string text;
  if (!ReadText(jsonPath, text))
    return fail(FormatMessage("%s のオープンに失敗しました。", jsonPath));
  ScheduleModel model;
  ProgramNameTable names;
  const Result<> parsedModel = ParseModelJson(text, model, names);
  if (!parsedModel) return fail(jsonPath + ": " + parsedModel.message());

  DocumentPaths paths = PathsFor(*output);
  EnsureBinExtension(paths);
  DeriveNamePaths(paths);
  SettingsImage image;
  std::array<YearCalendar, 2> calendars;
  PackImage(model, context->station, context->Image(), image, calendars);
  const Result<> written = WriteSettingsAndNames(paths.settingsPath, image, paths.namePath, names);
  if (!written) return fail(written.message());
  return kExitOk;
}

}  // namespace tavrin
