// The agenda as the events of a calendar app: one event per time signal, and one per keep
// interval from ON to OFF on the same day. Texts are UTF-8 and come from the agenda's own, so the
// calendar says what the agenda window says.
#pragma once

#include <string>
#include <vector>

#include "model/ImageLayout.h"
#include "model/IniSettings.h"
#include "model/ScheduleModel.h"
#include "review/Agenda.h"

namespace tavrin {

// The desktop program's command that saves the agenda as such a file.
inline constexpr char kCalendarSaveButton[] = "iCalendarに保存...";
inline constexpr char kCalendarSaveCaption[] = "iCalendarに保存";
inline constexpr char kCalendarFilter[] = "iCalendar ファイル (*.ics) |*.ics|";

struct CalendarEvent {
  CalendarDate date;
  int hour = 0;
  int minute = 0;
  // How long it lasts on the wall clock, which a clock change does not stop; 0 for a moment (a
  // keep switch without its pair).
  int seconds = 0;
  std::string summary;
  std::string description;
  // Stable across runs: the date, the channel and the event's place among that channel's events
  // of the day, in the schedule's scope. A re-import updates the event instead of adding one, even
  // when its time moved.
  std::string uid;

  bool operator==(const CalendarEvent&) const = default;
};

// The events of `days` (an agenda of `image`, whose channel records give the time signals'
// length). `scope` names the schedule, its file name, so that two schedules in one calendar keep
// their events apart. Chimes are named by the chime table of `settings`, programs by `names`.
std::vector<CalendarEvent> AgendaCalendarEvents(const std::vector<AgendaDay>& days,
                                                const SettingsImage& image,
                                                const ProgramNameTable& names,
                                                const IniSettings& settings,
                                                const std::string& scope);

}  // namespace tavrin
