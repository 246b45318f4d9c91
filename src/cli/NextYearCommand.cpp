#include <ostream>
#include <vector>

#include "calendar/PackImage.h"
#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "document/FileProbe.h"
#include "model/TimerLimits.h"
#include "review/DiffTexts.h"
#include "review/NextYearReport.h"

namespace tavrin {
namespace {

constexpr const char* kUsageText = TrMark(
    "usage: tavrin-cli next-year OLD.BIN -o NEW.BIN [--start-month M] [--by date|weekday]\n"
    "                            [--data-dir DIR] [--now TIME]\n"
    "Makes the next school year: every period and individual date of the school year in OLD\n"
    "(the 12 months from month M of the first year OLD holds, whatever the clock) gets a copy\n"
    "one year on. NEW covers the clock's current and next year, as every saved file does: what\n"
    "OLD holds for those years and every-year entries stay, and a copy that would collide with\n"
    "an entry already there is not made. Prints the added entries as diff lines; the copies not\n"
    "made, or not as they were, go to standard error. The name file beside OLD is copied beside\n"
    "NEW. When a table would need more than its 200 slots, nothing is written.\n"
    "Exits 0 when NEW is written, 1 when it cannot be, 2 when the input cannot be used.\n"
    "  -o, --output NEW.BIN  the settings file to write (\".BIN\" is added to a name without\n"
    "                        extension); its name file is NEW.TXT\n"
    "  --start-month M       the school year's first month, 1..12 (default 4; 1 = the calendar\n"
    "                        year)\n"
    "  --by date|weekday     date (default): the same month and day, 29 February as 28 February;\n"
    "                        weekday: the nearest day with the same weekday (at most 3 days\n"
    "                        away), a period keeping its length\n"
    "  --data-dir DIR        holiday file and Tavrin.ini (default: $TAVRIN_DATA_DIR or the data\n"
    "                        folder)\n"
    "  --now TIME            the clock, YYYY-MM-DDTHH:MM:SS (default: $TAVRIN_NOW or the system\n"
    "                        clock); it decides the two years NEW covers\n");

std::string Usage() { return Tr(kUsageText); }

// The options of the school year; nothing, with `error` set, for a value that is none.
std::optional<NextYearOptions> ReadOptions(const Arguments& args, std::string& error) {
  NextYearOptions options;
  if (const std::string* month = args.Option("--start-month")) {
    const bool digits =
        month->size() <= 2 && month->find_first_not_of("0123456789") == std::string::npos;
    if (!digits || !limits::kMonth.Holds(std::stoi(*month))) {
      error = TrFormat("--start-month \"%s\" is no month 1..12", {*month});
      return std::nullopt;
    }
    options.startMonth = std::stoi(*month);
  }
  if (const std::string* by = args.Option("--by")) {
    if (*by == "weekday") {
      options.by = NextYearBy::Weekday;
    } else if (*by != "date") {
      error = TrFormat("--by \"%s\" is neither date nor weekday", {*by});
      return std::nullopt;
    }
  }
  return options;
}

}  // namespace

int RunNextYear(const std::vector<std::string>& args, CliIo& io) {
  int exitCode = kExitOk;
  std::optional<Arguments> parsed = ReadCommandLine(
      args, {{"--output", "-o", true}, {"--start-month", "", true}, {"--by", "", true}}, Usage(),
      io, exitCode);
  if (!parsed) return exitCode;
  const std::string* output = parsed->Option("--output");
  if (parsed->positional.size() != 1 || !output || output->empty()) {
    return UsageError(io, Usage(), Tr("next-year takes one settings file and -o NEW.BIN"));
  }
  std::string error;
  const std::optional<NextYearOptions> options = ReadOptions(*parsed, error);
  if (!options) return UsageError(io, Usage(), error);
  const std::string& oldPath = parsed->positional[0];
  DocumentPaths paths = PathsFor(*output);
  EnsureBinExtension(paths);
  DeriveNamePaths(paths);
  // NEW replaces its two files when it is written: never OLD, which is still being read.
  for (const std::string& path : {paths.settingsPath, paths.namePath}) {
    if (SameFilePath(path, oldPath)) {
      return UsageError(io, Usage(), TrFormat("%s is the settings file next-year reads", {path}));
    }
  }
  StreamMessageSink messages(io.err);
  auto fail = [&](const std::string& text, int code) {
    messages.Show(text, kAppCaption, MsgButtons::Ok, MsgIcon::Exclamation);
    return code;
  };
  // The name as given first: "-o DIR/" would otherwise become the hidden file "DIR/.BIN".
  for (const std::string& path : {*output, paths.settingsPath}) {
    if (Result<> writable = CheckOutputPath(path); !writable) {
      return fail(writable.message(), kExitFailure);
    }
  }
  Result<CliContext> context = LoadContext(*parsed, io);
  if (!context) return UsageError(io, Usage(), context.message());
  // "-o OLD.TXT" names the settings file and the name file alike; the data folder's files are read.
  std::vector<std::string> inputs = context->DataFiles();
  inputs.push_back(oldPath);
  inputs.push_back(NamePathBeside(oldPath));
  for (const std::string& path : {paths.settingsPath, paths.namePath}) {
    if (Result<> own = CheckOutputIsNoInput(path, inputs); !own) {
      return fail(own.message(), kExitUsage);
    }
  }

  SettleInterruptedSave(oldPath, context->dataDir, io.err);
  Result<SettingsImage> old = ReadInputSettings(oldPath, ImageSize::kExact, io.err);
  if (!old) return fail(old.message(), kExitUsage);
  // The names go with the new file; a name file that cannot be read would be lost there.
  const Result<ProgramNameTable> names = NamesBeside(oldPath, io.err);
  if (!names) return fail(names.message(), kExitUsage);
  const Result<NextYearReport> report = NextSchoolYearOf(*old, context->Image(), *options);
  if (!report) return fail(oldPath + ": " + report.message(), kExitUsage);
  if (!report->refusal.empty()) return fail(report->refusal, kExitUsage);

  ScheduleModel model = report->plan.result;
  SettingsImage image;
  std::array<YearCalendar, 2> calendars;
  PackImage(model, context->station, context->Image(), image, calendars);
  const Result<> written = WriteSettingsAndNames(paths.settingsPath, image, paths.namePath, *names);
  if (!written) return fail(written.message(), kExitFailure);
  for (const std::string& note : report->notes) io.err << kMessagePrefix << note << "\n";
  std::string lines;
  for (const Difference& added : report->added) lines += diff_text::Line(added) + "\n";
  io.out << lines;
  return kExitOk;
}

}  // namespace tavrin
