// What a main-form button runs: the editor sheet with the page of one editor over the working
// schedule, backed up before and restored on Cancel.
#pragma once

#include <QString>
#include <memory>

#include "calendar/ui/CalendarContext.h"
#include "document/FileState.h"
#include "document/WindowPositions.h"
#include "editors/EditorClipboards.h"
#include "editors/EditorSession.h"
#include "model/ImagePacking.h"
#include "model/IniSettings.h"
#include "model/Messages.h"
#include "model/ScheduleModel.h"

namespace tavrin {

class CProgSheet;
class EditorPage;

// What the pages work on, all owned by the main view. Editors that need more (the chime table,
// the calendars, their dialogs' stored positions) add it here.
struct EditorContext {
  ScheduleModel& model;
  ProgramNameTable& names;
  MessageSink& messages;
  EditorClipboards& clipboards;
  CalendarContext* calendar = nullptr;  // without it there is no annual page
  RadioStation* station = nullptr;      // the remembered station; without it no radio page
  // The weekly editor's chime table and marks, and the stored positions of its dialogs; without
  // them it is not offered.
  const IniSettings* ini = nullptr;
  std::array<WindowPos, kWindowSlotCount>* windows = nullptr;
};

// The sheet's stored position (PROG_X, PROG_Y) and the document state its caption shows.
struct SheetState {
  int& x;
  int& y;
  FileState fileState;
  QString settingsTitle;
};

// The page of `kind`; null for an editor this program does not have yet.
std::unique_ptr<EditorPage> MakeEditorPage(EditorKind kind, EditorContext& context);

// Runs the sheet with the page of `kind`. Cancel leaves model and names byte for byte as they
// were; OK marks the document modified through `host` when the packed image differs.
EditorOutcome OpenEditor(CProgSheet& sheet, EditorKind kind, EditorContext& context,
                         EditorHost& host, SheetState& state);

}  // namespace tavrin
