#include "cli/ExportCommand.h"

#include <ostream>

#include "cli/Commands.h"
#include "document/CsvExportCommand.h"
#include "document/FileProbe.h"
#include "document/PathText.h"
#include "export/WorkingScheduleReport.h"

namespace tavrin {
namespace {

constexpr char kUsage[] =
    "usage: tavrin-cli export FILE.BIN [--names FILE.TXT] -o OUT.CSV [--data-dir DIR] "
    "[--now TIME]\n"
    "Writes the CSV report of a settings file, as the program's export command does.\n"
    "  --names FILE.TXT  program names (default: the .TXT beside FILE.BIN, if there is one)\n"
    "  -o, --output OUT  the report; \".CSV\" is added to a name without extension\n"
    "  --data-dir DIR    holiday file and Tavrin.ini (default: $TAVRIN_DATA_DIR or the data\n"
    "                    folder)\n"
    "  --now TIME        the clock, YYYY-MM-DDTHH:MM:SS (default: $TAVRIN_NOW or the system\n"
    "                    clock); it decides the two years and the time in the header\n";

// The export dialog's rule: a name without extension gets ".CSV", in the title as well.
std::string CsvPathOf(const std::string& outputPath) {
  return ExtensionOf(FileNameOf(outputPath)).empty() ? outputPath + ".CSV" : outputPath;
}

}  // namespace

int ExportReport(const SettingsImage& image, const ProgramNameTable& names, CliContext& context,
                 const std::string& outputPath, std::ostream& err) {
  BuildChimeLists(context.settings);
  ScheduleModel model;
  UnpackImage(image, context.Image(), model);
  SettingsImage buffer = image;
  std::array<YearCalendar, 2> calendars{};

  const std::string path = CsvPathOf(outputPath);
  const std::string title = FileNameOf(path);
  WorkingScheduleReport report(
      {model, names, context.settings, context.station, context.Image(), buffer, calendars});
  Result<> written =
      WriteCsvFile(path, report, ToShiftJisOrQuestionMarks(title), context.now, SafeFileOpener());
  if (!written) {
    StreamMessageSink(err).Show(written.message(), kAppCaption, MsgButtons::Ok,
                                MsgIcon::Exclamation);
    return kExitFailure;
  }
  return kExitOk;
}

int RunExport(const std::vector<std::string>& args, CliIo& io) {
  int exitCode = kExitOk;
  std::optional<Arguments> parsed = ReadCommandLine(
      args, {{"--names", "", true}, {"--output", "-o", true}}, kUsage, io, exitCode);
  if (!parsed) return exitCode;
  if (parsed->positional.size() != 1) {
    return UsageError(io, kUsage, "export takes one settings file");
  }
  const std::string* output = parsed->Option("--output");
  if (!output || output->empty()) return UsageError(io, kUsage, "export needs -o OUT.CSV");
  StreamMessageSink messages(io.err);
  // Before anything is read: "-o FOLDER" would otherwise write FOLDER.CSV beside it.
  if (Result<> writable = CheckOutputPath(*output); !writable) {
    messages.Show(writable.message(), kAppCaption, MsgButtons::Ok, MsgIcon::Exclamation);
    return kExitFailure;
  }
  std::optional<SettingsInput> input = LoadSettingsInput(*parsed, kUsage, io, exitCode);
  if (!input) return exitCode;
  for (const std::string& path : {*output, CsvPathOf(*output)}) {
    if (Result<> own = CheckOutputIsNoInput(path, input->files); !own) {
      messages.Show(own.message(), kAppCaption, MsgButtons::Ok, MsgIcon::Exclamation);
      return kExitFailure;
    }
  }
  return ExportReport(input->image, input->names, input->context, *output, io.err);
}

}  // namespace tavrin
