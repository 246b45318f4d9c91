#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/Commands.h"
#include "cli/ScheduleInput.h"
#include "review/ScheduleCheck.h"

namespace tavrin {
namespace {

constexpr const char* kUsageText = TrMark(
    "usage: tavrin-cli check FILE.BIN|MODEL.json [--names FILE.TXT] [--json] [--data-dir DIR]\n"
    "                        [--now TIME]\n"
    "Checks a schedule for what will not work as it seems to: errors (the timer will not do\n"
    "what the schedule suggests), warnings and notes, one a line as \"error rule-id: message\".\n"
    "Exits 0 when there is no error or warning, 1 when there is, 2 when the input is unusable.\n"
    "A model JSON (the form dump prints) is checked as written: every value that strict pack\n"
    "refuses is an invalid-value error, and only input that is no model (no JSON object, a\n"
    "table or record of the wrong kind, a record without its slot) is unusable.\n"
    "  --names FILE.TXT  program names (default: the .TXT beside FILE.BIN, or the JSON's own)\n"
    "  --json            a JSON array of {\"severity\", \"rule\", \"message\"} instead\n"
    "  --data-dir DIR    holiday file and Tavrin.ini (default: $TAVRIN_DATA_DIR or the data\n"
    "                    folder)\n"
    "  --now TIME        the clock, YYYY-MM-DDTHH:MM:SS (default: $TAVRIN_NOW or the system\n"
    "                    clock); it decides the current and the next year\n");

std::string Usage() { return Tr(kUsageText); }

std::string FindingsText(const std::vector<Finding>& findings) {
  std::string text;
  for (const Finding& finding : findings) {
    text += std::string(SeverityName(finding.severity)) + " " + RuleId(finding.rule) + ": " +
            finding.message + "\n";
  }
  return text;
}

std::string FindingsJson(const std::vector<Finding>& findings) {
  if (findings.empty()) return "[]\n";
  std::string text = "[\n";
  for (std::size_t i = 0; i < findings.size(); ++i) {
    const Finding& finding = findings[i];
    nlohmann::ordered_json object = {{"severity", SeverityName(finding.severity)},
                                     {"rule", RuleId(finding.rule)},
                                     {"message", finding.message}};
    text += object.dump() + (i + 1 < findings.size() ? ",\n" : "\n");
  }
  return text + "]\n";
}

}  // namespace

int RunCheck(const std::vector<std::string>& args, CliIo& io) {
  int exitCode = kExitOk;
  std::optional<Arguments> parsed =
      ReadCommandLine(args, {{"--names", "", true}, {"--json", "", false}}, Usage(), io, exitCode);
  if (!parsed) return exitCode;
  if (parsed->positional.size() != 1) {
    return UsageError(io, Usage(), Tr("check takes one settings file or model JSON"));
  }
  Result<CliContext> context = LoadContext(*parsed, io);
  if (!context) return UsageError(io, Usage(), context.message());

  Result<LoadedSchedule> schedule =
      LoadSchedule(*parsed, parsed->positional[0], *context, io.err, RefusedValues::List);
  if (!schedule) {
    io.err << kMessagePrefix << schedule.message() << "\n";
    return kExitUsage;
  }
  const std::vector<Finding> findings = CheckSchedule(
      {schedule->model, schedule->names, context->holidays, context->years, schedule->refused});
  io.out << (parsed->Option("--json") ? FindingsJson(findings) : FindingsText(findings));
  return NeedsAttention(findings) ? kExitFailure : kExitOk;
}

}  // namespace tavrin
