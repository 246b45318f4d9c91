// One copy of the desktop program per user: a lock file "VXAInstance" in the user's runtime folder.
// The copy holding it listens beside it, so that a second start can ask it to come to the front
// before ending silently.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <functional>
#include <memory>

namespace tavrin {

class SingleInstance {
 public:
  // Takes the lock when no other living process holds it. A lock left by a crashed copy is stale
  // and is taken over.
  SingleInstance();
  bool acquired() const { return acquired_; }
  static QString LockPath();

  // The copy holding the lock: `raise` runs whenever a later start asks for the window.
  void ListenForRaise(std::function<void()> raise);
  // A copy that did not get the lock: asks the running one to raise its window. False when no
  // running copy answered within `timeoutMs`.
  bool AskToRaise(int timeoutMs = 2000) const;

 private:
  static QString SocketPath();

  std::unique_ptr<QLockFile> lock_;
  std::unique_ptr<QLocalServer> server_;
  bool acquired_ = false;
};

}  // namespace tavrin
