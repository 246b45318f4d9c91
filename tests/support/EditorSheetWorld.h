// An editor sheet with everything the main view lends its pages: the chime table of a default
// Tavrin.ini, the dialogs' stored positions, the calendars of 2026 and 2027 over a holiday table
// a test may fill, and message boxes answered with OK.
#pragma once

#include <array>

#include "EditorTestData.h"
#include "TestFakes.h"
#include "app/ui/OpenEditor.h"
#include "calendar/YearCalendar.h"
#include "framework/ui/CProgSheet.h"
#include "model/HolidayTable.h"
#include "model/IniSettings.h"

namespace tavrin::testing {

struct EditorSheetWorld : EditorTestData {
  EditorSheetWorld() {
    BuildChimeLists(ini);
    for (WindowPos& window : windows) window = {150, 100};
  }
  EditorOutcome Open(EditorKind kind, EditorHost& host) {
    return OpenEditor(sheet, kind, context, host, state);
  }
  FakeMessages sink;
  IniSettings ini;
  std::array<WindowPos, kWindowSlotCount> windows{};
  HolidayTable holidays;
  std::array<YearCalendar, 2> calendars{};
  int confirmX = 120;
  int confirmY = 90;
  CalendarContext calendar{{2026, 2027}, 8, holidays, calendars, confirmX, confirmY};
  EditorContext context{*model, *names, sink, *clipboards, &calendar, nullptr, &ini, &windows};
  int x = 200;
  int y = 150;
  SheetState state{x, y, FileState::Untitled, QString()};
  CProgSheet sheet;
};

}  // namespace tavrin::testing
