// The schedule check: what in a working schedule will not do what it seems to, before it goes to
// the timer. Each finding has its rule, a severity and a message (UTF-8) naming the place.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "model/Dates.h"
#include "model/HolidayTable.h"
#include "model/ScheduleModel.h"

namespace tavrin {

// Error: the timer will not do what the schedule suggests. Warning: probably not meant. Note:
// worth a look.
enum class Severity { Error, Warning, Note };

enum class CheckRule {
  BasicMissing,
  ProgramWithoutSteps,
  StepOnUnusedChannel,
  StaleYear,
  InvalidValue,
  DuplicateStep,
  SilentStep,
  SummerTimeIncomplete,
  HolidayFileMissingYear,
  HolidaysOff,
  UnusedProgram,
  KeepLeftOn,
};

// "error", "warning", "note"
const char* SeverityName(Severity severity);
// "basic-missing", "program-without-steps", ...
const char* RuleId(CheckRule rule);
Severity RuleSeverity(CheckRule rule);

// What a finding points at, so that a window can open the editor there; File: a value of the
// schedule's file that its model cannot hold, which no editor shows.
enum class PlaceKind { Basic, Holiday, Period, Date, Step, Channel, SummerTime, Program, File };
struct CheckPlace {
  PlaceKind kind = PlaceKind::Basic;
  int index = 0;  // Period, Date, Step: the slot (0-based); Channel: 1..8; Program: its number

  bool operator==(const CheckPlace&) const = default;
};

struct Finding {
  CheckRule rule;
  Severity severity;
  CheckPlace place;
  std::string message;
};

struct CheckInput {
  const ScheduleModel& model;
  const ProgramNameTable& names;  // named programs are shown with their names
  const HolidayTable& holidays;
  YearPair years;  // from the clock
  // Values of the schedule's file that its model could not hold, each said as strict packing
  // refuses it: invalid values the model no longer shows.
  std::span<const std::string> refused = {};
};

// Errors first, then warnings, then notes; within a severity by rule, then in the model's order.
std::vector<Finding> CheckSchedule(const CheckInput& input);

bool HasErrors(const std::vector<Finding>& findings);
// True when there is an error or a warning.
bool NeedsAttention(const std::vector<Finding>& findings);

}  // namespace tavrin
