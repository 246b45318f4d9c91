// The view window's timers as the cable link uses them. A timer repeats until it is killed;
// setting a running timer again restarts its interval.
#pragma once

namespace tavrin {

namespace timer {
inline constexpr int kFrameGap = 1;     // a frame stalled inside its data
inline constexpr int kReplyAnswer = 2;  // no ACK or NAK for what we sent
inline constexpr int kEnqWindow = 3;    // an ENQ after this is answered NAK
inline constexpr int kSearchLimit = 4;  // the whole port search
inline constexpr int kPortListen = 5;   // listening on one port
inline constexpr int kFinish = 6;       // from the 'E' reply to the result

inline constexpr int kFrameGapMs = 200;
inline constexpr int kReplyAnswerMs = 1400;
inline constexpr int kEnqWindowMs = 1200;
inline constexpr int kSearchLimitMs = 30000;
inline constexpr int kPortListenMs = 700;
inline constexpr int kFinishMs = 1000;

constexpr int IntervalMs(int id) {
  switch (id) {
    case kFrameGap:
      return kFrameGapMs;
    case kReplyAnswer:
      return kReplyAnswerMs;
    case kEnqWindow:
      return kEnqWindowMs;
    case kSearchLimit:
      return kSearchLimitMs;
    case kPortListen:
      return kPortListenMs;
    case kFinish:
      return kFinishMs;
    default:
      return 0;
  }
}
}  // namespace timer

class WindowTimers {
 public:
  virtual ~WindowTimers() = default;
  virtual void SetTimer(int id, int intervalMs) = 0;
  virtual void KillTimer(int id) = 0;
};

}  // namespace tavrin
