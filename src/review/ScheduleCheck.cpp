#include "review/ScheduleCheck.h"

#include <algorithm>
#include <iterator>
#include <tuple>

#include "review/CheckFindings.h"

namespace tavrin {
namespace {

struct RuleInfo {
  CheckRule rule;
  const char* id;
  Severity severity;
};

// In the order the findings are listed within a severity.
constexpr RuleInfo kRules[] = {
    {CheckRule::BasicMissing, "basic-missing", Severity::Error},
    {CheckRule::ProgramWithoutSteps, "program-without-steps", Severity::Error},
    {CheckRule::StepOnUnusedChannel, "step-on-unused-channel", Severity::Error},
    {CheckRule::StaleYear, "stale-year", Severity::Error},
    {CheckRule::InvalidValue, "invalid-value", Severity::Error},
    {CheckRule::DuplicateStep, "duplicate-step", Severity::Warning},
    {CheckRule::SilentStep, "silent-step", Severity::Warning},
    {CheckRule::SummerTimeIncomplete, "summer-time-incomplete", Severity::Warning},
    {CheckRule::HolidayFileMissingYear, "holiday-file-missing-year", Severity::Warning},
    {CheckRule::HolidaysOff, "holidays-off", Severity::Warning},
    {CheckRule::UnusedProgram, "unused-program", Severity::Note},
    {CheckRule::KeepLeftOn, "keep-left-on", Severity::Note},
};

constexpr bool ListedInEnumOrder() {
  for (int i = 0; i < static_cast<int>(std::size(kRules)); ++i) {
    if (static_cast<int>(kRules[i].rule) != i) return false;
  }
  return true;
}
static_assert(ListedInEnumOrder());

const RuleInfo& InfoOf(CheckRule rule) { return kRules[static_cast<int>(rule)]; }

}  // namespace

const char* SeverityName(Severity severity) {
  switch (severity) {
    case Severity::Error:
      return "error";
    case Severity::Warning:
      return "warning";
    case Severity::Note:
      return "note";
  }
  return "note";
}

const char* RuleId(CheckRule rule) { return InfoOf(rule).id; }

Severity RuleSeverity(CheckRule rule) { return InfoOf(rule).severity; }

std::vector<Finding> CheckSchedule(const CheckInput& input) {
  check::Findings findings(input);
  check::CheckLimits(findings);
  check::CheckAnnual(findings);
  check::CheckSteps(findings);
  check::CheckHolidaysOff(findings);
  std::vector<Finding> list = findings.Take();
  std::stable_sort(list.begin(), list.end(), [](const Finding& a, const Finding& b) {
    return std::tie(a.severity, a.rule) < std::tie(b.severity, b.rule);
  });
  return list;
}

bool HasErrors(const std::vector<Finding>& findings) {
  return std::any_of(findings.begin(), findings.end(),
                     [](const Finding& f) { return f.severity == Severity::Error; });
}

bool NeedsAttention(const std::vector<Finding>& findings) {
  return std::any_of(findings.begin(), findings.end(),
                     [](const Finding& f) { return f.severity != Severity::Note; });
}

}  // namespace tavrin
