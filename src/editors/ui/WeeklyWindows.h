// What the weekly windows need besides the model: the chime table and marks of "Tavrin.ini", the
// row clipboards and the stored positions of their dialogs.
#pragma once

#include "document/WindowPositions.h"
#include "editors/EditorClipboards.h"
#include "model/IniSettings.h"
#include "model/Messages.h"
#include "model/ScheduleModel.h"

namespace tavrin {

// WPRO, PNAM, PLST and WEEK.
struct WeeklyPositions {
  WindowPos& stepDialog;
  WindowPos& nameList;
  WindowPos& overview;
  WindowPos& confirmation;
};

struct WeeklyContext {
  ScheduleModel& model;
  ProgramNameTable& names;
  MessageSink& messages;
  EditorClipboards& clipboards;
  const IniSettings& ini;
  WeeklyPositions positions;
};

}  // namespace tavrin
