// The printed report of a schedule, as saving would store it: channels, every weekly program with
// its steps, the annual settings, both year calendars as month grids, the weekly confirmation of
// each program and the agenda of a chosen week. Texts are UTF-8.
#pragma once

#include <array>
#include <vector>

#include "calendar/YearCalendar.h"
#include "export/PrintLayout.h"
#include "model/Dates.h"
#include "model/ImageLayout.h"
#include "model/IniSettings.h"
#include "model/ScheduleModel.h"
#include "review/Agenda.h"

namespace tavrin::report {

struct ReportInput {
  const ScheduleModel& model;  // packed: what the settings file would hold
  const ProgramNameTable& names;
  const IniSettings& settings;  // chime table and mode
  YearPair years;
  const std::array<YearCalendar, 2>& calendars;  // current year first
  const SettingsImage& image;                    // the agenda reads it as the timer does
  CalendarDate agendaFrom;                       // the first day of the printed week
};

std::vector<Block> BuildReport(const ReportInput& input);

}  // namespace tavrin::report
