// One copy of the desktop program per user: a lock file "VXAInstance" in the user's runtime folder.
// The copy holding it listens beside it, so that a later start can hand over: the running copy
// comes to the front and opens the file the later start was given, and the later one ends.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <functional>
#include <memory>
#include <optional>

namespace tavrin {

class SingleInstance {
 public:
  // Takes the lock when no other living process holds it. A lock left by a crashed copy is stale
  // and is taken over.
  SingleInstance();
  bool acquired() const { return acquired_; }
  static QString LockPath();

  // The copy holding the lock: `request` runs for every later start, with the absolute path of
  // the file it was given, or nothing when it was started without one.
  void Listen(std::function<void(const std::optional<QString>& file)> request);
  // A copy that did not get the lock: asks the running one to come to the front and open `file`
  // (an absolute path) when there is one. False when no running copy answered within `timeoutMs`.
  bool HandOver(const std::optional<QString>& file, int timeoutMs = 2000) const;

 private:
  static QString SocketPath();

  std::unique_ptr<QLockFile> lock_;
  std::unique_ptr<QLocalServer> server_;
  bool acquired_ = false;
};

}  // namespace tavrin
