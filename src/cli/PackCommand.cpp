#include <ostream>

#include "calendar/ModelLimits.h"
#include "calendar/PackImage.h"
#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "cli/ModelJson.h"
#include "document/FileProbe.h"
#include "document/SaveCheck.h"

namespace tavrin {
namespace {

constexpr const char* kUsageText = TrMark(
    "usage: tavrin-cli pack MODEL.json -o FILE.BIN [--lenient] [--data-dir DIR] [--now TIME]\n"
    "Writes the settings file and, beside it, the program-name file of a schedule given as\n"
    "JSON (the format dump prints), as the program saves them: FILE without an extension\n"
    "becomes FILE.BIN, and the name file is FILE.TXT. Values the editors cannot produce and\n"
    "schedules the program would not save are refused.\n"
    "  -o, --output FILE.BIN  the settings file to write\n"
    "  --lenient              pack every value that fits its field, even one the editors\n"
    "                         refuse (images for testing a timer or a reader)\n"
    "  --data-dir DIR         holiday file and Tavrin.ini (default: $TAVRIN_DATA_DIR or the\n"
    "                         data folder)\n"
    "  --now TIME             the clock, YYYY-MM-DDTHH:MM:SS (default: $TAVRIN_NOW or the\n"
    "                         system clock); it decides the two years the file covers\n");

std::string Usage() { return Tr(kUsageText); }

}  // namespace

int RunPack(const std::vector<std::string>& args, CliIo& io) {
  int exitCode = kExitOk;
  std::optional<Arguments> parsed = ReadCommandLine(
      args, {{"--output", "-o", true}, {"--lenient", "", false}}, Usage(), io, exitCode);
  if (!parsed) return exitCode;
  const std::string* output = parsed->Option("--output");
  if (parsed->positional.size() != 1 || !output || output->empty()) {
    return UsageError(io, Usage(), Tr("pack takes one JSON file and -o FILE.BIN"));
  }
  StreamMessageSink messages(io.err);
  auto fail = [&](const std::string& text) {
    messages.Show(text, kAppCaption, MsgButtons::Ok, MsgIcon::Exclamation);
    return kExitFailure;
  };
  DocumentPaths paths = PathsFor(*output);
  EnsureBinExtension(paths);
  DeriveNamePaths(paths);
  // The name as given first: "-o DIR/" would otherwise become the hidden file "DIR/.BIN".
  for (const std::string& path : {*output, paths.settingsPath}) {
    if (Result<> writable = CheckOutputPath(path); !writable) return fail(writable.message());
  }
  Result<CliContext> context = LoadContext(*parsed, io);
  if (!context) return UsageError(io, Usage(), context.message());

  const std::string& jsonPath = parsed->positional[0];
  Result<std::string> text = ReadModelJson(jsonPath);
  if (!text) return fail(text.message());
  std::vector<std::string> inputs = context->DataFiles();
  inputs.push_back(jsonPath);
  for (const std::string& path : {paths.settingsPath, paths.namePath}) {
    if (Result<> own = CheckOutputIsNoInput(path, inputs); !own) return fail(own.message());
  }
  ScheduleModel model;
  ProgramNameTable names;
  const Result<> parsedModel = ParseModelJson(*text, model, names);
  if (!parsedModel) return fail(jsonPath + ": " + parsedModel.message());
  if (!parsed->Option("--lenient")) {
    for (Result<> check : {CheckEditorLimits(model), CheckSaveable(model)}) {
      if (!check) return fail(jsonPath + ": " + check.message());
    }
  }

  SettingsImage image;
  std::array<YearCalendar, 2> calendars;
  PackImage(model, context->station, context->Image(), image, calendars);
  if (const std::optional<std::string> why = ModelTagFault(model)) {
    if (!parsed->Option("--lenient")) return fail(jsonPath + ": " + *why);
    messages.Show(TrFormat("warning: %s: %s; the program will not open %s",
                           {jsonPath, *why, paths.settingsPath}),
                  kAppCaption, MsgButtons::Ok, MsgIcon::Exclamation);
  }
  std::vector<std::string> notices;
  const Result<> written =
      WriteSettingsAndNames(paths.settingsPath, image, paths.namePath, names, RealWriteSystem(),
                            {context->dataDir, Language::kEnglish, &notices});
  for (const std::string& notice : notices) io.err << kMessagePrefix << notice << "\n";
  if (!written) return fail(written.message());
  return kExitOk;
}

}  // namespace tavrin
