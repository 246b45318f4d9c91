// The lock files by which the serial programs of a machine share a port: "LCK..ttyS0" in the
// lock folder, holding the process id of the program using the port, as text or as a binary int.
// Qt's serial port takes the same file, but judges any lock without its own application line
// stale, and removes it even while the program that took it still runs; so the port's lock is
// looked at here first.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

// Who holds a port's lock.
struct PortLock {
  std::string file;      // the lock file
  long pid = 0;          // the process named in it; 0 when it names none that can be read
  bool running = false;  // that process still runs
  std::string command;   // its command line, where /proc tells
  std::string owner;     // the user the file belongs to, when it is not the user's own
  bool operator==(const PortLock&) const = default;
};

// The lock folder: TAVRIN_LOCK_DIR, else /var/lock.
std::string PortLockFolder();
// The lock file of `device` in `folder`, named as Qt and the other serial programs name it: the
// device's path below /dev, every '/' made '_', after "LCK..".
std::string PortLockPath(const std::string& folder, const std::string& device);
// The process a lock file names: decimal text (blanks before it, a line end after it), or a
// native int of 4 bytes; 0 when the bytes are neither.
long LockFilePid(std::string_view bytes);

// Who holds the lock of `device`, or nothing when the port is free to take. A lock whose process
// has ended is removed where the user may remove it, as the other serial programs do; the port is
// then free.
std::optional<PortLock> HeldPortLock(const std::string& folder, const std::string& device);

}  // namespace tavrin
