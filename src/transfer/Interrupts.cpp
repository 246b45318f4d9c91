#include "transfer/Interrupts.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>

namespace tavrin {
namespace {

volatile sig_atomic_t received = 0;
volatile sig_atomic_t deferred = 0;
char farewellText[256];
std::size_t farewellLength = 0;
struct sigaction previousInt {
}, previousTerm{};

int* WakePipe() {
  static int ends[2] = {-1, -1};
  static const bool made = pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0;
  return made ? ends : nullptr;
}

// Only async-signal-safe calls: write and _exit.
void OnSignal(int signal) {
  if (received == 0) received = signal;
  if (deferred) {
    if (int* ends = WakePipe()) {
      const char byte = 1;
      [[maybe_unused]] const ssize_t n = write(ends[1], &byte, 1);
    }
    return;
  }
  [[maybe_unused]] const ssize_t n = write(STDERR_FILENO, farewellText, farewellLength);
  _exit(InterruptExitCode(signal));
}

}  // namespace

InterruptGuard::InterruptGuard(const std::string& farewell) {
  farewellLength = std::min(farewell.size(), sizeof farewellText);
  std::memcpy(farewellText, farewell.data(), farewellLength);
  received = 0;
  deferred = 0;
  WakePipe();  // made now: the handler must not be the first to ask
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a call the loop waits in returns, and the loop sees the wake-up.
  action.sa_flags = 0;
  sigaction(SIGINT, &action, &previousInt);
  sigaction(SIGTERM, &action, &previousTerm);
}

InterruptGuard::~InterruptGuard() {
  sigaction(SIGINT, &previousInt, nullptr);
  sigaction(SIGTERM, &previousTerm, nullptr);
  deferred = 0;
}

DeferredInterrupts::DeferredInterrupts() { deferred = 1; }
DeferredInterrupts::~DeferredInterrupts() { deferred = 0; }

int PendingInterrupt() { return received; }

int InterruptWakeFd() {
  int* ends = WakePipe();
  return ends ? ends[0] : -1;
}

}  // namespace tavrin
