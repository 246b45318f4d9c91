// The check's rules over the annual program: basic, holiday, period and individual settings, and
// the summer-time rule.
#include <array>

#include "calendar/SummerTimeRules.h"
#include "review/CheckFindings.h"

namespace tavrin::check {
namespace {

bool Applies(int year, const YearPair& years) {
  return year == kEveryYear || year == years.currentYear || year == years.nextYear;
}

// Packing drops entries of any other year, so the timer never sees them.
void CheckYear(Findings& findings, CheckPlace place, const std::string& where, int year) {
  const YearPair& years = findings.input().years;
  if (Applies(year, years)) return;
  findings.Add(CheckRule::StaleYear, place,
               where + "は、" + std::to_string(years.currentYear) + " 年・" +
                   std::to_string(years.nextYear) +
                   " 年・毎年のいずれでもないため、実行されません。");
}

// The program a setting names: present, in range, and with something to run.
void CheckNamedProgram(Findings& findings, CheckPlace place, const std::string& where, int program,
                       bool applies) {
  if (program == 0) {
    findings.Missing(place, where, "プログラム番号");
    return;
  }
  if (!findings.CheckRange(place, where, "プログラム番号", program, 1, kMaxProgram)) return;
  if (applies && !findings.HasSteps(program)) {
    findings.Add(CheckRule::ProgramWithoutSteps, place,
                 where + "の" + findings.Program(program) + " にステップが有りません。");
  }
}

// A period or an individual date: of a year the timer gets, naming a program with steps.
void CheckEntry(Findings& findings, CheckPlace place, const std::string& where, int year,
                int program) {
  CheckYear(findings, place, where, year);
  CheckNamedProgram(findings, place, where, program, Applies(year, findings.input().years));
}

// Month and day of a setting, with days counted in the setting's own year ("毎年" has 29 February).
bool CheckDay(Findings& findings, CheckPlace place, const std::string& where, int year,
              const char* monthItem, int month, const char* dayItem, int day) {
  if (!findings.CheckRange(place, where, monthItem, month, 1, 12)) return false;
  return findings.CheckRange(place, where, dayItem, day, 1, MonthLength(year, month));
}

void CheckBasic(Findings& findings) {
  const int program = findings.model().basicProgram;
  const CheckPlace place{PlaceKind::Basic, 0};
  if (!findings.CheckRange(place, "基本設定", "プログラム番号", program, 0, kMaxProgram)) return;
  if (program == 0) {
    findings.Add(CheckRule::BasicMissing, place, "基本設定の週間プログラムが指定されていません。");
  } else if (!findings.HasSteps(program)) {
    findings.Add(CheckRule::BasicMissing, place,
                 "基本設定の" + findings.Program(program) + " にステップが有りません。");
  }
}

void CheckHoliday(Findings& findings) {
  const ScheduleModel& model = findings.model();
  if (model.holidayEnabled == 0) return;
  CheckNamedProgram(findings, {PlaceKind::Holiday, 0}, "祭日設定", model.holidayProgram, true);
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
    const CheckPlace place{PlaceKind::Period, slot};
    const std::string where = findings.Period(slot);
    CheckEntry(findings, place, where, entry.year, entry.program);
    const bool startOk = CheckDay(findings, place, where, entry.year, "開始月", entry.startMonth,
                                  "開始日", entry.startDay);
    const bool endOk = CheckDay(findings, place, where, entry.year, "終了月", entry.endMonth,
                                "終了日", entry.endDay);
    if (startOk && endOk &&
        entry.endMonth * 100 + entry.endDay < entry.startMonth * 100 + entry.startDay) {
      findings.Add(CheckRule::InvalidValue, place, where + "の＜開始と終了＞の指定が不正です。");
    }
  }
}

void CheckDates(Findings& findings) {
  for (int slot = 0; slot < kDateCount; ++slot) {
    const DateEntry& entry = findings.model().dates[slot];
    if (entry.year == 0) continue;
    const CheckPlace place{PlaceKind::Date, slot};
    const std::string where = findings.Date(slot);
    CheckEntry(findings, place, where, entry.year, entry.program);
    CheckDay(findings, place, where, entry.year, "実施月", entry.month, "実施日", entry.day);
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

void CheckSummerTime(Findings& findings) {
  const ScheduleModel& model = findings.model();
  const SummerTimeRule& rule = model.summerTime;
  struct Row {
    const char* name;
    std::array<int, 4> values;  // month, week, weekday, hour, as the page's columns
  };
  const Row rows[] = {
      {"開始", {rule.startMonth, rule.startWeek, rule.startWeekday, rule.startHour}},
      {"終了", {rule.endMonth, rule.endWeek, rule.endWeekday, rule.endHour}},
  };
  constexpr std::array<int, 4> kHighest = {12, 5, 7, 23};
  const CheckPlace place{PlaceKind::SummerTime, 0};
  for (const Row& row : rows) {
    const std::string where = std::string("サマータイムの") + row.name;
    std::string missing;
    for (int col = 0; col < summer::kCols; ++col) {
      const int value = row.values[col];
      const int lowest = col == summer::kHourCol ? 0 : 1;
      if (value == 0 && col != summer::kHourCol) {
        if (!missing.empty()) missing += "・";
        missing += std::string("＜") + summer::ColumnItem(col) + "＞";
        continue;
      }
      findings.CheckRange(place, where, summer::ColumnItem(col), value, lowest, kHighest[col]);
    }
    // The hour has no "not set"; a rule without its month, week or weekday has no date.
    if (model.summerTimeEnabled != 0 && !missing.empty()) {
      findings.Add(CheckRule::SummerTimeIncomplete, place,
                   std::string("サマータイムを実施する設定ですが、") + row.name + "の" + missing +
                       "の指定が有りません。");
    }
  }
}

}  // namespace tavrin::check
