// What differs between two schedules, section by section, in the words of the editors. Steps are
// matched by what they do, not by the slot they sit in: re-sorting or compacting a schedule is no
// difference, and a step whose time, days or action moved is one change, not a removal and an
// addition.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/IniSettings.h"
#include "model/ScheduleModel.h"

namespace tavrin {

// In the order the differences are listed (and their names are kept in DiffTexts).
enum class DiffSection {
  Channels,
  Steps,
  BasicProgram,
  Holiday,
  Periods,
  Dates,
  LeapPrograms,
  SummerTime,
  Radio,
  Names,
};

enum class DiffChange { Added, Removed, Changed };

struct Difference {
  DiffSection section;
  DiffChange change;
  std::string what;  // UTF-8, e.g. "P3 CH1"
  // UTF-8; what an added entry had not before, or a removed one has not after, is absent.
  std::optional<std::string> before;
  std::optional<std::string> after;

  bool operator==(const Difference&) const = default;
};

struct ScheduleSide {
  const ScheduleModel& model;
  const ProgramNameTable& names;
};

// Every difference from `a` to `b`, by section, each section in the order of its entries. Chime
// codes are named by the chime table of `settings`.
std::vector<Difference> CompareSchedules(const ScheduleSide& a, const ScheduleSide& b,
                                         const IniSettings& settings);

}  // namespace tavrin
