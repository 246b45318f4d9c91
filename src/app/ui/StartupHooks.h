// Hooks for scripted runs of the desktop program (start-up benchmark, screenshots), read from the
// environment:
//   TAVRIN_STARTUP_PROBE=<launch time, ns since the epoch>  prints "startup-ms N" on stderr once
//     the main window has been shown and painted, then quits; N counts from that launch time (or
//     from the start of main when the value is not a number).
//   TAVRIN_TEST_HOOK=<window>  opens that window after start-up: the version box, the special
//     menu, the settings-file display, the guide, the editor sheet on a page (the annual page in
//     each kind, or its confirmation calendar), a window of the weekly list page for program 1 on
//     channel 1, 3 or 2 (as in the school example), a USB or cable command, the agenda or the
//     schedule check. An unknown value is refused with the list of known ones.
#pragma once

#include <optional>

namespace tavrin {

class CTavrinApp;

// Call at the very start of main.
void MarkProcessStart();
// Before anything starts: an unknown TAVRIN_TEST_HOOK value is a mistake of the script that set
// it, so the program says which values it knows (on stderr) and gives the exit status to end with.
std::optional<int> RefuseUnknownTestHook();
// Call once the main window has been asked to show.
void InstallStartupHooks(CTavrinApp& app);

}  // namespace tavrin
