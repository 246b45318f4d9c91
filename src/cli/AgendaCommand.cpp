#include <algorithm>
#include <cstdio>
#include <optional>
#include <ostream>

#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "review/Agenda.h"

namespace tavrin {
namespace {

constexpr char kUsage[] =
    "usage: tavrin-cli agenda FILE.BIN [--from YYYY-MM-DD] [--to YYYY-MM-DD]\n"
    "Prints what the timer will run on each date, read from the settings file alone as the\n"
    "timer reads it: one JSON object per date with its program, where the program comes from\n"
    "(\"special\", \"period\" or \"basic\") and the events by time. Summer time is not applied.\n"
    "  --from DATE  the first date (default: 1 January of the first year the file covers)\n"
    "  --to DATE    the last date (default: 31 December of the last year the file covers)\n";

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

}  // namespace

int RunAgenda(const std::vector<std::string>& args, CliIo& io) {
  int exitCode = kExitOk;
  std::optional<Arguments> parsed =
      ReadCommandLine(args, {{"--from", "", true}, {"--to", "", true}}, kUsage, io, exitCode);
  if (!parsed) return exitCode;
  if (parsed->positional.size() != 1) {
    return UsageError(io, kUsage, "agenda takes one settings file");
  }
  std::string error;
  std::optional<CalendarDate> from = DateOption(*parsed, "--from", error);
  std::optional<CalendarDate> to = DateOption(*parsed, "--to", error);
  if (!error.empty()) return UsageError(io, kUsage, error);

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
  std::string text;
  for (const auto& [first, last] : spans) {
    Result<std::vector<AgendaDay>> days = AgendaBetween(*image, first, last);
    if (!days) {
      io.err << kMessagePrefix << days.message() << "\n";
      return kExitUsage;
    }
    for (const AgendaDay& day : *days) text += DayJson(day);
  }
  io.out << text;
  return kExitOk;
}

}  // namespace tavrin
