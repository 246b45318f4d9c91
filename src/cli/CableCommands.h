// tavrin-cli cable-write and cable-read: the two cable dialogs, run from a terminal.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "transfer/SerialControl.h"
#include "transfer/WindowTimers.h"

namespace tavrin {

// The serial port, the timers and the event loop the commands run on.
class CableEnvironment {
 public:
  virtual ~CableEnvironment() = default;
  virtual SerialControl& Serial() = 0;
  virtual WindowTimers& Timers() = 0;
  // COM1.. as device paths.
  virtual void SetPortPaths(const std::vector<std::string>& paths) = 0;
  virtual std::vector<std::string> SystemPortPaths() = 0;
  // Where the control's events, the timers and the user's interrupt (Ctrl+C) go.
  virtual void SetHandlers(std::function<void()> onComm, std::function<void(int)> onTimer,
                           std::function<void()> onInterrupt) = 0;
  // Runs events until Quit.
  virtual void Run() = 0;
  virtual void Quit() = 0;
};

int RunCableWrite(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  CableEnvironment& environment);
int RunCableRead(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 CableEnvironment& environment);

}  // namespace tavrin
