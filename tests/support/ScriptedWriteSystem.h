// The safe writer's system with one stage made to fail, or to kill the process, for the files
// whose path ends in a given text; unnamed temporary files can be taken away.
#pragma once

#include <signal.h>

#include <functional>
#include <optional>
#include <string>

#include "document/SafeWrite.h"

namespace tavrin::testing {

class ScriptedWriteSystem : public WriteSystem {
 public:
  bool Allow(WriteStage stage, const std::string& target) override {
    if (onStage) onStage(stage, target);
    if (stage != failAt || !target.ends_with(failFor)) return true;
    if (kill) raise(SIGKILL);
    return false;
  }
  bool UnnamedTemporaries() const override { return unnamed; }

  std::optional<WriteStage> failAt;
  std::string failFor;  // the end of the target's path
  bool kill = false;    // a kill instead of a failure
  bool unnamed = true;
  std::function<void(WriteStage, const std::string&)> onStage;
};

}  // namespace tavrin::testing
