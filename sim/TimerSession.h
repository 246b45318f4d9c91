// The timer's side of the exchange: it sends each command frame, waits for the program's ACK
// and reply frame, and acknowledges the reply, with optional faults injected on one frame.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "SimLine.h"

namespace sim {

using Bytes = std::vector<uint8_t>;

enum class Fault {
  BadCheck,   // the frame goes out first with a wrong check byte
  NoAck,      // the program's reply is not acknowledged until it asks with ENQ
  Nak,        // the program's reply is refused once
  Noise,      // line noise before the frame
  Interrupt,  // the frame stops for 300 ms in its middle
};

struct FrameTiming {
  double latencyMs;  // from our check byte leaving to the reply's last byte read
};

class TimerSession {
 public:
  explicit TimerSession(SimLine& line) : line_(line) {}
  // The program's reply data, or nothing when it never answered.
  std::optional<Bytes> Command(const Bytes& data, const std::set<Fault>& faults = {});
  // Sends the identification until the program answers 'Q' '0' or the time is up.
  bool Identify(const std::string& text, int seconds);
  const std::vector<FrameTiming>& Timings() const { return timings_; }
  std::string LastError() const { return error_; }

 private:
  enum class Answer { Ack, Nak, None };
  Answer AwaitAnswer(int ms);
  std::optional<Bytes> AwaitReply(const std::set<Fault>& faults, TimePoint sentAt);
  void SendFrame(const Bytes& data, const std::set<Fault>& faults, bool first);

  SimLine& line_;
  uint8_t lastAnswer_ = 0;
  std::vector<FrameTiming> timings_;
  std::string error_;
  TimePoint checkSent_{};
};

}  // namespace sim
