// The check's rule over public holidays: with the holiday setting off, a holiday runs what its
// weekday and the periods give it, so a school's chimes ring on 成人の日 unless someone turned the
// setting on. The timer says nothing; the check does.
#include <array>
#include <memory>

#include "calendar/YearCalendar.h"
#include "review/CheckFindings.h"

namespace tavrin::check {
namespace {

// How many holidays the message names before it says "ほか".
constexpr int kNamedDays = 3;

// For every program and weekday (Sunday first): whether a step runs then.
using Runs = std::array<std::array<bool, 7>, 256>;

Runs StepsThatRun(const Findings& findings) {
  Runs runs{};
  for (const WeeklyStep& step : findings.model().steps) {
    if (!step.used() || !findings.ChannelInUse(step.channel)) continue;
    for (int day = 0; day < 7; ++day) {
      if (step.days[day] != 0) runs[step.program][day] = true;
    }
  }
  return runs;
}

}  // namespace

void CheckHolidaysOff(Findings& findings) {
  const ScheduleModel& model = findings.model();
  if (model.holidayEnabled != 0) return;
  const Runs runs = StepsThatRun(findings);
  const YearPair& years = findings.input().years;
  int count = 0;
  std::string named;
  int namedYear = 0;
  const auto calendar = std::make_unique<YearCalendar>();
  for (const int year : {years.currentYear, years.nextYear}) {
    BuildFullCalendar(year, years, model, findings.input().holidays, *calendar);
    for (int month = 1; month <= 12; ++month) {
      const MonthCalendar& days = calendar->months[month - 1];
      for (int day = 1; day <= days.dayCount; ++day) {
        const DayCell& cell = days.cells[day - 1];
        const int program = cell.program != 0 ? cell.program : model.basicProgram;
        if (cell.holiday == 0 || program < 0 || program > 255 || !runs[program][cell.weekday])
          continue;
        if (++count > kNamedDays) continue;
        if (!named.empty()) named += "、";
        if (year != namedYear) named += std::to_string(year) + " 年 ";
        namedYear = year;
        named += std::to_string(month) + "/" + std::to_string(day);
      }
    }
  }
  if (count == 0) return;
  findings.Add(CheckRule::HolidaysOff, {PlaceKind::Holiday, 0},
               "祭日設定を実施しない設定のため、祭日 " + std::to_string(count) + " 日（" + named +
                   (count > kNamedDays ? " ほか" : "") +
                   "）にも、その日の週間プログラムのステップが実行されます。");
}

}  // namespace tavrin::check
