// The search for the timer over COM1..COM16: each port that opens is listened on for 700 ms, in
// turn, until the timer identifies itself or 30 seconds have passed.
#pragma once

#include <utility>
#include <vector>

#include "transfer/LinkObserver.h"
#include "transfer/SerialControl.h"
#include "transfer/SerialParameters.h"
#include "transfer/WindowTimers.h"

namespace tavrin {

enum class SearchPhase { Start, Scanning, Listening, Ended };

// What the search needs of the link: trial opens and listening on a port.
class SearchPorts {
 public:
  virtual ~SearchPorts() = default;
  // Opens `port` and closes it again: None when it opened, else why it did not.
  virtual PortRefusal TryPort(int port) = 0;
  // Opens the link on `port` for listening; false when it does not open.
  virtual bool Listen(int port) = 0;
  virtual bool PortOpen() const = 0;
  virtual void ClosePort() = 0;
};

class PortSearch {
 public:
  PortSearch(SearchPorts& ports, WindowTimers& timers, LinkObserver& observer)
      : ports_(ports), timers_(timers), observer_(observer) {}

  // False when none of COM1..COM16 opens.
  bool CountPorts();
  // What CountPorts found, COM numbers rising: the ports that opened, and those the user may not
  // open or that another program holds, with the reason.
  const std::vector<int>& OpenablePorts() const { return openable_; }
  const std::vector<std::pair<int, PortRefusal>>& RefusedPorts() const { return refused_; }
  void Start();
  // Back to COM1, phase Start, nothing identified or expired.
  void Reset();
  // The timer named itself in a 'Q' frame.
  void Identify();
  // The cable dialog was cancelled before connecting: no port stays open.
  void Cancel();
  void OnTimer(LinkTimer id);

  // The port OpenLink uses; the search moves it.
  void SetPort(int port);
  int Port() const { return port_; }
  SearchPhase Phase() const { return phase_; }
  bool DeviceIdentified() const { return identified_; }

 private:
  void Step();
  void Scan();
  void End();
  void Advance();

  SearchPorts& ports_;
  WindowTimers& timers_;
  LinkObserver& observer_;
  int port_ = 1;
  SearchPhase phase_ = SearchPhase::Start;
  bool identified_ = false;
  bool expired_ = false;
  bool portWaitExpired_ = false;
  std::vector<int> openable_;
  std::vector<std::pair<int, PortRefusal>> refused_;
};

}  // namespace tavrin
