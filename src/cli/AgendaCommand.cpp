#include <algorithm>
#include <cstdio>
#include <optional>
#include <ostream>

#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "cli/ScheduleInput.h"
#include "document/DataFolder.h"
#include "document/FileProbe.h"
#include "document/PathText.h"
#include "document/SafeWrite.h"
#include "review/Agenda.h"
#include "review/ICalendarFile.h"

namespace tavrin {
namespace {

constexpr char kUsage[] =
    "usage: tavrin-cli agenda FILE.BIN [--from YYYY-MM-DD] [--to YYYY-MM-DD]\n"
    "                         [--ics OUT.ics [--names FILE.TXT] [--data-dir DIR] [--now TIME]]\n"
    "Prints what the timer will run on each date, read from the settings file alone as the\n"
    "timer reads it: one JSON object per date with its program, where the program comes from\n"
    "(\"special\", \"period\" or \"basic\") and the events by time. Summer time is not applied.\n"
    "  --from DATE       the first date (default: 1 January of the first year the file covers)\n"
    "  --to DATE         the last date (default: 31 December of the last year the file covers)\n"
    "  --ics OUT.ics     write the dates as an iCalendar file for calendar apps instead: one\n"
    "                    event per time signal and per keep interval from ON to OFF, in the\n"
    "                    machine's time zone, with UIDs that stay the same from run to run\n"
    "  --names FILE.TXT  program names for the events (default: the .TXT beside FILE.BIN)\n"
    "  --data-dir DIR    Tavrin.ini, whose chime names name the chimes (default:\n"
    "                    $TAVRIN_DATA_DIR or the data folder)\n"
    "  --now TIME        the clock, YYYY-MM-DDTHH:MM:SS, for the file's time stamp (default:\n"
    "                    $TAVRIN_NOW or the system clock)\n";

// "YYYY-MM-DD" with four, two and two digits; whether the date exists is the agenda's to say.
std::optional<CalendarDate> ParseDate(const std::string& text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
  }
  return CalendarDate{std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2)),
                      std::stoi(text.substr(8, 2))};
}

std::string EventJson(const AgendaEvent& event) {
  char text[96];
  const char* tail = event.action == AgendaAction::KeepOn    ? "\"keep\":\"ON\""
                     : event.action == AgendaAction::KeepOff ? "\"keep\":\"OFF\""
                                                             : nullptr;
  char chime[32];
  std::snprintf(chime, sizeof chime, "\"chime\":%d", event.chime);
  std::snprintf(text, sizeof text, "{\"time\":\"%02d:%02d\",\"channel\":%d,%s}", event.hour,
                event.minute, event.channel, tail ? tail : chime);
  return text;
}

std::string DayJson(const AgendaDay& day) {
  std::string line = "{\"date\":\"" + IsoDate(day.date) +
                     "\",\"weekday\":" + std::to_string(day.weekday) +
                     ",\"program\":" + std::to_string(day.program) + ",\"from\":\"" +
                     AgendaSourceName(day.source) + "\",\"events\":[";
  for (std::size_t i = 0; i < day.events.size(); ++i) {
    if (i > 0) line += ",";
    line += EventJson(day.events[i]);
  }
  return line + "]}\n";
}

std::optional<CalendarDate> DateOption(const Arguments& args, const char* name,
                                       std::string& error) {
  const std::string* text = args.Option(name);
  if (!text) return std::nullopt;
  std::optional<CalendarDate> date = ParseDate(*text);
  if (!date) error = std::string(name) + ": expected YYYY-MM-DD, got \"" + *text + "\"";
  return date;
}

// The program names for the events' texts: "--names", which must be a name file, else the .TXT
// beside the settings file, if there is one; checked as every command checks them.
Result<ProgramNameTable> EventNames(const Arguments& args, const std::string& settingsPath,
                                    std::ostream& err) {
  if (const std::string* namesPath = args.Option("--names")) return ReadInputNames(*namesPath);
  return NamesBeside(settingsPath, err);
}

int WriteCalendarFile(const Arguments& args, const SettingsImage& image,
                      const std::vector<AgendaDay>& days, const std::string& outputPath,
                      CliIo& io) {
  // The image alone decides the events; only the chime names come from the data folder.
  Result<CliContext> context = LoadContext(args, io, ContextUse::kCarriesImage);
  if (!context) return UsageError(io, kUsage, context.message());
  if (!context->dataDir.empty()) ReadIniSettings(context->dataDir, context->settings, io.err);
  BuildChimeLists(context->settings);
  const std::string& settingsPath = args.positional[0];
  Result<ProgramNameTable> names = EventNames(args, settingsPath, io.err);
  if (!names) {
    io.err << kMessagePrefix << names.message() << "\n";
    return kExitUsage;
  }
  const std::string* namesPath = args.Option("--names");
  std::vector<std::string> inputs = {settingsPath,
                                     namesPath ? *namesPath : NamePathBeside(settingsPath)};
  if (!context->dataDir.empty()) inputs.push_back(JoinPath(context->dataDir, kSettingsIniName));
  if (Result<> own = CheckOutputIsNoInput(outputPath, inputs); !own) {
    io.err << kMessagePrefix << own.message() << "\n";
    return kExitFailure;
  }
  const std::vector<CalendarEvent> events =
      AgendaCalendarEvents(days, image, *names, context->settings, FileNameOf(settingsPath));
  Result<std::string> text = WriteICalendar(events, {MachineZoneName(), context->now});
  if (!text) {
    io.err << kMessagePrefix << text.message() << "\n";
    return kExitFailure;
  }
  const WriteOutcome written = WriteFileAtomically(outputPath, text->data(), text->size());
  if (written != WriteStep::kDone) {
    io.err << kMessagePrefix
           << SettingsWriteFailure(WriteStep::kWrite, outputPath, written.error).message << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace

int RunAgenda(const std::vector<std::string>& args, CliIo& io) {
  int exitCode = kExitOk;
  std::optional<Arguments> parsed = ReadCommandLine(
      args, {{"--from", "", true}, {"--to", "", true}, {"--ics", "", true}, {"--names", "", true}},
      kUsage, io, exitCode);
  if (!parsed) return exitCode;
  if (parsed->positional.size() != 1) {
    return UsageError(io, kUsage, "agenda takes one settings file");
  }
  std::string error;
  std::optional<CalendarDate> from = DateOption(*parsed, "--from", error);
  std::optional<CalendarDate> to = DateOption(*parsed, "--to", error);
  if (!error.empty()) return UsageError(io, kUsage, error);
  const std::string* ics = parsed->Option("--ics");
  if (!ics && parsed->Option("--names")) return UsageError(io, kUsage, "--names needs --ics");
  if (ics) {
    // Before anything is read: a calendar that cannot be written is no use.
    if (Result<> writable = CheckOutputPath(*ics); !writable) {
      io.err << kMessagePrefix << writable.message() << "\n";
      return kExitFailure;
    }
  }

  Result<SettingsImage> image = ReadInputSettings(parsed->positional[0], ImageSize::kExact, io.err);
  if (!image) {
    io.err << kMessagePrefix << image.message() << "\n";
    return kExitUsage;
  }
  const std::vector<int> years = ImageYears(*image);
  if (years.empty()) {
    io.err << kMessagePrefix << parsed->positional[0] << " の日付データに対象年が有りません。\n";
    return kExitUsage;
  }
  // Without dates, each year the file covers; a damaged file may cover two years apart.
  std::vector<std::pair<CalendarDate, CalendarDate>> spans;
  if (!from && !to) {
    for (int year : years) spans.push_back({{year, 1, 1}, {year, 12, 31}});
  } else {
    spans.push_back({from.value_or(CalendarDate{years.front(), 1, 1}),
                     to.value_or(CalendarDate{years.back(), 12, 31})});
  }
  std::vector<AgendaDay> days;
  for (const auto& [first, last] : spans) {
    Result<std::vector<AgendaDay>> span = AgendaBetween(*image, first, last);
    if (!span) {
      io.err << kMessagePrefix << span.message() << "\n";
      return kExitUsage;
    }
    days.insert(days.end(), span->begin(), span->end());
  }
  if (ics) return WriteCalendarFile(*parsed, *image, days, *ics, io);
  std::string text;
  for (const AgendaDay& day : days) text += DayJson(day);
  io.out << text;
  return kExitOk;
}

}  // namespace tavrin
