// The check's rules over the annual program: a basic program, programs with steps for every
// setting that runs one, years the timer gets, programs no setting uses.
#include <array>

#include "model/TimerLimits.h"
#include "review/CheckFindings.h"

namespace tavrin::check {
namespace {

bool Applies(int year, const YearPair& years) {
  return year == kEveryYear || year == years.currentYear || year == years.nextYear;
}

// Packing drops entries of any other year, so the timer never sees them. A year no image can
// carry is an invalid value instead.
void CheckYear(Findings& findings, CheckPlace place, const std::string& where, int year) {
  const YearPair& years = findings.input().years;
  if (Applies(year, years) || !limits::kYear.Holds(year)) return;
  findings.Add(CheckRule::StaleYear, place,
               where + "は、" + std::to_string(years.currentYear) + " 年・" +
                   std::to_string(years.nextYear) +
                   " 年・毎年のいずれでもないため、実行されません。");
}

// A program that days run but that has no steps to run; program 99 runs nothing on purpose and
// needs none.
bool LacksSteps(const Findings& findings, int program) {
  return limits::kProgram.Holds(program) && program != kIdleProgram && !findings.HasSteps(program);
}

// A period or an individual date: of a year the timer gets, naming a program with steps.
void CheckEntry(Findings& findings, CheckPlace place, const std::string& where, int year,
                int program) {
  CheckYear(findings, place, where, year);
  if (Applies(year, findings.input().years) && LacksSteps(findings, program)) {
    findings.Add(CheckRule::ProgramWithoutSteps, place,
                 where + "の" + findings.Program(program) + " にステップが有りません。");
  }
}

void CheckBasic(Findings& findings) {
  const int program = findings.model().basicProgram;
  const CheckPlace place{PlaceKind::Basic, 0};
  if (program == 0) {
    findings.Add(CheckRule::BasicMissing, place, "基本設定の週間プログラムが指定されていません。");
  } else if (LacksSteps(findings, program)) {
    findings.Add(CheckRule::BasicMissing, place,
                 "基本設定の" + findings.Program(program) + " にステップが有りません。");
  }
}

void CheckHoliday(Findings& findings) {
  const ScheduleModel& model = findings.model();
  if (model.holidayEnabled == 0) return;
  if (LacksSteps(findings, model.holidayProgram)) {
    findings.Add(
        CheckRule::ProgramWithoutSteps, {PlaceKind::Holiday, 0},
        "祭日設定の" + findings.Program(model.holidayProgram) + " にステップが有りません。");
  }
  const YearPair& years = findings.input().years;
  for (int year : {years.currentYear, years.nextYear}) {
    if (findings.input().holidays.DaysOf(year)) continue;
    findings.Add(CheckRule::HolidayFileMissingYear, {PlaceKind::Holiday, 0},
                 "祭日設定を実施する設定ですが、祭日設定ファイルに " + std::to_string(year) +
                     " 年の祭日が有りません。");
  }
}

void CheckPeriods(Findings& findings) {
  for (int slot = 0; slot < kPeriodCount; ++slot) {
    const PeriodEntry& entry = findings.model().periods[slot];
    if (entry.year == 0) continue;
    CheckEntry(findings, {PlaceKind::Period, slot}, findings.Period(slot), entry.year,
               entry.program);
  }
}

void CheckDates(Findings& findings) {
  for (int slot = 0; slot < kDateCount; ++slot) {
    const DateEntry& entry = findings.model().dates[slot];
    if (entry.year == 0) continue;
    CheckEntry(findings, {PlaceKind::Date, slot}, findings.Date(slot), entry.year, entry.program);
  }
}

void CheckUnusedPrograms(Findings& findings) {
  const ScheduleModel& model = findings.model();
  std::array<bool, kMaxProgram + 1> named{};
  const auto name = [&](int program) {
    if (program > 0 && program <= kMaxProgram) named[program] = true;
  };
  name(model.basicProgram);
  if (model.holidayEnabled != 0) name(model.holidayProgram);
  for (const PeriodEntry& entry : model.periods) {
    if (entry.year != 0) name(entry.program);
  }
  for (const DateEntry& entry : model.dates) {
    if (entry.year != 0) name(entry.program);
  }
  for (int program = 1; program <= kMaxProgram; ++program) {
    if (named[program] || !findings.Registered(program)) continue;
    findings.Add(
        CheckRule::UnusedProgram, {PlaceKind::Program, program},
        findings.Program(program) + " はステップが有りますが、どの設定にも使われていません。");
  }
}

}  // namespace

void CheckAnnual(Findings& findings) {
  CheckBasic(findings);
  CheckHoliday(findings);
  CheckPeriods(findings);
  CheckDates(findings);
  CheckUnusedPrograms(findings);
}

}  // namespace tavrin::check
