// What the timer will run on a date, read from a settings image alone, the way the timer reads it:
// whatever the editor state, this is what the file really does. Summer time is not applied; the
// timer shifts its own clock.
#pragma once

#include <compare>
#include <string>
#include <vector>

#include "model/ImageLayout.h"
#include "model/Result.h"

namespace tavrin {

struct CalendarDate {
  int year = 0;
  int month = 0;
  int day = 0;

  auto operator<=>(const CalendarDate&) const = default;
};

// True when the date exists on the timer's calendar (every fourth year is a leap year).
bool IsTimerDate(const CalendarDate& date);
// The day after `date`, on the timer's calendar.
CalendarDate NextDay(const CalendarDate& date);
// "2027-03-21"
std::string IsoDate(const CalendarDate& date);

// Which grid gave the program: the special-day grid (holidays and individual dates), the period
// grid, or neither, so the basic program runs.
enum class AgendaSource { Special, Period, Basic };
// "special", "period", "basic"
const char* AgendaSourceName(AgendaSource source);

enum class AgendaAction { Chime, KeepOn, KeepOff };

struct AgendaEvent {
  int hour = 0;
  int minute = 0;
  int channel = 0;  // 1..8
  AgendaAction action = AgendaAction::Chime;
  int chime = 0;  // the 4-bit chime code of a time-signal step; 0 for keep steps

  bool operator==(const AgendaEvent&) const = default;
};

struct AgendaDay {
  CalendarDate date;
  int weekday = 0;  // 0 = Sunday
  int program = 0;  // 0: nothing runs
  AgendaSource source = AgendaSource::Basic;
  std::vector<AgendaEvent> events;  // by hour, minute, channel, then record order
};

// The years whose day grids the image carries, rising; a grid whose year byte lies beyond the
// timer's calendar (2000..2100) carries none.
std::vector<int> ImageYears(const SettingsImage& image);

// The agenda of one date; refused when the image carries no grid of its year.
Result<AgendaDay> AgendaOn(const SettingsImage& image, const CalendarDate& date);
// Every date from `from` to `to`, both included; refused unless each lies in a carried year.
Result<std::vector<AgendaDay>> AgendaBetween(const SettingsImage& image, const CalendarDate& from,
                                             const CalendarDate& to);

}  // namespace tavrin
