// SIGINT (Ctrl+C) and SIGTERM while a cable command runs. Outside its event loop the command holds
// nothing that an exit would leave half done (files are written aside and renamed, so a kill
// there is no worse than a power cut), so a signal ends the program at once, whatever call it
// waits in, with the status a shell gives for the signal: 130 or 143. Inside the loop the signal
// becomes the dialog's cancel instead, so that the port is let go and the records are kept.
#pragma once

#include <string>

namespace tavrin {

// Installs the handlers; the previous ones come back when it goes.
class InterruptGuard {
 public:
  // `farewell`: the line written to standard error when a signal ends the program at once.
  explicit InterruptGuard(const std::string& farewell);
  ~InterruptGuard();
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;
};

// While one lives, a signal is only recorded, and wakes whoever watches InterruptWakeFd.
class DeferredInterrupts {
 public:
  DeferredInterrupts();
  ~DeferredInterrupts();
  DeferredInterrupts(const DeferredInterrupts&) = delete;
  DeferredInterrupts& operator=(const DeferredInterrupts&) = delete;
};

// The signal received since the guard was installed; 0 when none.
int PendingInterrupt();
// Readable once a signal has been recorded; drained by the reader.
int InterruptWakeFd();
// The status of a command that `signal` ended, as a shell reports it.
constexpr int InterruptExitCode(int signal) { return 128 + signal; }

}  // namespace tavrin
