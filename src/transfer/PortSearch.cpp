#include "transfer/PortSearch.h"

#include <algorithm>

namespace tavrin {

void PortSearch::SetPort(int port) { port_ = std::clamp(port, 1, kSerialPortCount); }

void PortSearch::Reset() {
  port_ = 1;
  phase_ = SearchPhase::Start;
  identified_ = false;
  expired_ = false;
  portWaitExpired_ = false;
}

bool PortSearch::CountPorts() {
  if (ports_.PortOpen()) ports_.ClosePort();
  Reset();
  openable_.clear();
  refused_.clear();
  for (int port = 1; port <= kSerialPortCount; ++port) {
    PortRefusal refusal = ports_.TryPort(port);
    switch (refusal.error) {
      case PortOpenError::None:
        openable_.push_back(port);
        break;
      case PortOpenError::PermissionDenied:
      case PortOpenError::Locked:
        refused_.emplace_back(port, std::move(refusal));
        break;
      case PortOpenError::Other:
        break;
    }
  }
  return !openable_.empty();
}

void PortSearch::Start() {
  Reset();
  Step();
}

void PortSearch::Identify() {
  identified_ = true;
  if (phase_ == SearchPhase::Listening) Step();
}

void PortSearch::Cancel() {
  expired_ = true;
  timers_.KillTimer(LinkTimer::SearchLimit);
  timers_.KillTimer(LinkTimer::PortListen);
  if (ports_.PortOpen()) ports_.ClosePort();
  Reset();
}

void PortSearch::Advance() { port_ = port_ % kSerialPortCount + 1; }

void PortSearch::End() {
  timers_.KillTimer(LinkTimer::PortListen);
  phase_ = SearchPhase::Ended;
  observer_.ConnectionChanged();
}

void PortSearch::Step() {
  switch (phase_) {
    case SearchPhase::Start:
      Reset();
      timers_.Start(LinkTimer::SearchLimit);
      Scan();
      break;
    case SearchPhase::Scanning:
      Scan();
      break;
    case SearchPhase::Listening:
      if (identified_) {
        timers_.KillTimer(LinkTimer::SearchLimit);
        End();
        return;
      }
      if (ports_.PortOpen()) ports_.ClosePort();
      if (expired_) return End();
      if (portWaitExpired_) {
        portWaitExpired_ = false;
        Advance();
        Scan();
      }
      break;
    case SearchPhase::Ended:
      break;
  }
}

void PortSearch::Scan() {
  phase_ = SearchPhase::Scanning;
  for (int tried = 0;; ++tried) {
    if (expired_) return End();
    if (tried == kSerialPortCount) {
      // Every port refused: end as the time limit would, rather than spin here for ever.
      expired_ = true;
      timers_.KillTimer(LinkTimer::SearchLimit);
      continue;
    }
    if (ports_.TryPort(port_).error == PortOpenError::None && ports_.Listen(port_)) {
      phase_ = SearchPhase::Listening;
      timers_.Start(LinkTimer::PortListen);
      observer_.ConnectionChanged();
      return;
    }
    Advance();
  }
}

void PortSearch::OnTimer(LinkTimer id) {
  timers_.KillTimer(id);
  if (id == LinkTimer::SearchLimit) {
    expired_ = true;
  } else {
    portWaitExpired_ = true;
  }
  Step();
}

}  // namespace tavrin
