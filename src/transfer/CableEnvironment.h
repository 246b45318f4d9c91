// What a cable transfer run outside the desktop program's window needs: the serial port, the
// timers and an event loop to run them on.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "transfer/SerialTransport.h"
#include "transfer/WindowTimers.h"

namespace tavrin {

class CableEnvironment {
 public:
  virtual ~CableEnvironment() = default;
  virtual SerialTransport& Serial() = 0;
  virtual WindowTimers& Timers() = 0;
  // COM1.. as device paths.
  virtual void SetPortPaths(const std::vector<std::string>& paths) = 0;
  // The system's serial ports as they are now.
  virtual std::vector<std::string> SystemPortPaths() = 0;
  // Where the control's events, the timers and the user's interrupt (Ctrl+C) go.
  virtual void SetHandlers(std::function<void()> onComm, std::function<void(LinkTimer)> onTimer,
                           std::function<void()> onInterrupt) = 0;
  // Runs events until Quit.
  virtual void Run() = 0;
  virtual void Quit() = 0;
};

}  // namespace tavrin
