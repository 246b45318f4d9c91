// What the compare command and the agenda's calendar file decide in the desktop program: their
// file dialogs, which schedules they read, and the messages when a file fails them. The windows
// only show the outcome.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/TavrinViewModel.h"
#include "model/Clock.h"
#include "review/Agenda.h"
#include "review/ScheduleDiff.h"

namespace tavrin {

struct Comparison {
  std::string heading;
  std::vector<Difference> differences;  // from the file to the open document
};

// "比較(&M)...": the open document as saving would store it, against a settings file the user
// chooses (with the .TXT beside it). Nothing when the user cancelled, or when the file could not
// be read, which the document's messages say.
std::optional<Comparison> CompareCommand(TavrinViewModel& view);

// "iCalendarに保存..." of the agenda window: the agenda of `image` from `first` to the last day it
// covers, written to a file the user chooses (".ics" added to a name without an extension). A file
// that cannot be written is said through the document's messages.
void SaveAgendaCalendarCommand(TavrinViewModel& view, const SettingsImage& image,
                               const CalendarDate& first, const Clock& clock);

}  // namespace tavrin
