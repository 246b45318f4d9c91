// Hooks for scripted runs of the desktop program (start-up benchmark, screenshots), read from the
// environment:
//   TAVRIN_STARTUP_PROBE=<launch time, ns since the epoch>  prints "startup-ms N" on stderr once
//   the
//     main window has been shown and painted, then quits; N counts from that launch time (or from
//     the start of main when the value is not a number).
//   TAVRIN_TEST_HOOK=about | special-menu | settings-display | summer-time | channels | weekly |
//     radio | annual | annual-period | annual-holiday | annual-individual | annual-confirm  opens
//     that window after start-up (the annual page in that kind, or its confirmation calendar);
//     weekly-steps, weekly-channel, weekly-names, weekly-overview, confirm-time-signal and
//     confirm-keep open a window of the weekly list page for program 1 on channel 1, 3 or 2 (as in
//     the school example).
#pragma once

namespace tavrin {

class CTavrinApp;

// Call at the very start of main.
void MarkProcessStart();
// Call once the main window has been asked to show.
void InstallStartupHooks(CTavrinApp& app);

}  // namespace tavrin
