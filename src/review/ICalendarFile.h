// The agenda as an iCalendar file (RFC 5545) for calendar apps, written by libical: the events in
// the machine's time zone, named by TZID with its VTIMEZONE, so that an app elsewhere still shows
// the bells at the school's own times.
#pragma once

#include <string>
#include <vector>

#include "model/Clock.h"
#include "model/Result.h"
#include "review/AgendaCalendar.h"

namespace tavrin {

// The machine's time zone as a location of the time-zone database ("Asia/Tokyo"): TZ when it
// names one, else /etc/timezone, else where /etc/localtime points, else "Etc/UTC". Only a name the
// database knows is taken.
std::string MachineZoneName();

struct ICalendarOptions {
  std::string zone;   // a location of the time-zone database
  LocalTime stamp{};  // when the file is made, on the clock of `zone` (DTSTAMP)
};

// The text of the file, lines ending in CR LF. Refused when the zone is not in the database.
Result<std::string> WriteICalendar(const std::vector<CalendarEvent>& events,
                                   const ICalendarOptions& options);

// The agenda of `from` to `to` of `image` as that file; refused as AgendaBetween refuses dates.
// `scope` and the texts are as for AgendaCalendarEvents.
Result<std::string> AgendaICalendar(const SettingsImage& image, const CalendarDate& from,
                                    const CalendarDate& to, const ProgramNameTable& names,
                                    const IniSettings& settings, const std::string& scope,
                                    const ICalendarOptions& options);

}  // namespace tavrin
