#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/Commands.h"
#include "cli/ScheduleInput.h"
#include "review/DiffTexts.h"
#include "review/ScheduleDiff.h"

namespace tavrin {
namespace {

constexpr const char* kUsageText = TrMark(
    "usage: tavrin-cli diff A B [--json] [--data-dir DIR] [--now TIME]\n"
    "Lists what differs from schedule A to schedule B, section by section: channels, steps of\n"
    "each program and channel, basic and holiday programs, periods, individual dates, leap-day\n"
    "programs, summer time, radio station and program names. A and B are settings files (.BIN,\n"
    "with the .TXT beside them when there is one) or model JSON files (the form dump prints).\n"
    "Steps are matched by program, channel, days and time, not by their place in the file.\n"
    "Exits 0 when the schedules are the same, 1 when they differ, 2 when an input is unusable.\n"
    "  --json           one JSON object a line: {\"section\", \"change\", \"what\", \"before\",\n"
    "                   \"after\"}, before or after left out for an added or removed entry\n"
    "  --data-dir DIR   holiday file and Tavrin.ini, whose chime names name the chimes\n"
    "                   (default: $TAVRIN_DATA_DIR or the data folder)\n"
    "  --now TIME       the clock, YYYY-MM-DDTHH:MM:SS (default: $TAVRIN_NOW or the system\n"
    "                   clock); it decides the two years a settings file is read for\n");

std::string Usage() { return Tr(kUsageText); }

std::string JsonLine(const Difference& difference) {
  nlohmann::ordered_json object = {{"section", diff_text::SectionKey(difference.section)},
                                   {"change", diff_text::ChangeKey(difference.change)},
                                   {"what", difference.what}};
  if (difference.before) object["before"] = *difference.before;
  if (difference.after) object["after"] = *difference.after;
  // A name that was no valid Shift-JIS must not stop the listing.
  return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

}  // namespace

int RunDiff(const std::vector<std::string>& args, CliIo& io) {
  int exitCode = kExitOk;
  std::optional<Arguments> parsed =
      ReadCommandLine(args, {{"--json", "", false}}, Usage(), io, exitCode);
  if (!parsed) return exitCode;
  if (parsed->positional.size() != 2) {
    return UsageError(io, Usage(), Tr("diff takes two settings files or model JSON files"));
  }
  Result<CliContext> context = LoadContext(*parsed, io);
  if (!context) return UsageError(io, Usage(), context.message());
  BuildChimeLists(context->settings);

  // Each file with its own names: the .TXT beside a settings file, or the JSON's own.
  const Arguments ownNames;
  std::vector<LoadedSchedule> schedules;
  for (const std::string& path : parsed->positional) {
    Result<LoadedSchedule> schedule = LoadSchedule(ownNames, path, *context, io.err);
    if (!schedule) {
      io.err << kMessagePrefix << schedule.message() << "\n";
      return kExitUsage;
    }
    schedules.push_back(std::move(*schedule));
  }
  const std::vector<Difference> differences =
      CompareSchedules({schedules[0].model, schedules[0].names},
                       {schedules[1].model, schedules[1].names}, context->settings);
  const bool json = parsed->Option("--json") != nullptr;
  std::string text;
  for (const Difference& difference : differences) {
    text += json ? JsonLine(difference) : diff_text::Line(difference) + "\n";
  }
  io.out << text;
  return differences.empty() ? kExitOk : kExitFailure;
}

}  // namespace tavrin
