// The view window's timers as the cable link uses them. A timer repeats until it is killed;
// setting a running timer again restarts its interval.
#pragma once

namespace tavrin {

// The window's timer identifiers; the numbers are the ones the view's window uses.
enum class LinkTimer {
  FrameGap = 1,     // a frame stalled inside its data
  ReplyAnswer = 2,  // no ACK or NAK for what we sent
  EnqWindow = 3,    // an ENQ after this is answered NAK
  SearchLimit = 4,  // the whole port search
  PortListen = 5,   // listening on one port
  Finish = 6,       // from the 'E' reply to the result
  NoProgress = 7,   // a connected timer that stopped carrying the transfer on
};
inline constexpr LinkTimer kAllLinkTimers[] = {
    LinkTimer::FrameGap,   LinkTimer::ReplyAnswer, LinkTimer::EnqWindow,  LinkTimer::SearchLimit,
    LinkTimer::PortListen, LinkTimer::Finish,      LinkTimer::NoProgress,
};

constexpr int IntervalMs(LinkTimer id) {
  switch (id) {
    case LinkTimer::FrameGap:
      return 200;
    case LinkTimer::ReplyAnswer:
      return 1400;
    case LinkTimer::EnqWindow:
      return 1200;
    case LinkTimer::SearchLimit:
      return 30000;
    case LinkTimer::PortListen:
      return 700;
    case LinkTimer::Finish:
      return 1000;
    case LinkTimer::NoProgress:
      return 30000;
  }
  return 0;
}

class WindowTimers {
 public:
  virtual ~WindowTimers() = default;
  virtual void SetTimer(LinkTimer id, int intervalMs) = 0;
  virtual void KillTimer(LinkTimer id) = 0;
  // Starts `id` at its own interval.
  void Start(LinkTimer id) { SetTimer(id, IntervalMs(id)); }
};

}  // namespace tavrin
