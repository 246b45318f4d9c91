// One copy of the desktop program per user: a lock file "VXAInstance" in the user's runtime folder.
#pragma once

#include <QLockFile>
#include <memory>

namespace tavrin {

class SingleInstance {
 public:
  // Takes the lock when no other living process holds it. A lock left by a crashed copy is stale
  // and is taken over.
  SingleInstance();
  bool acquired() const { return acquired_; }
  static QString LockPath();

 private:
  std::unique_ptr<QLockFile> lock_;
  bool acquired_ = false;
};

}  // namespace tavrin
