// The timer's end of the cable: a serial device or a pseudo-terminal it creates itself. Bytes
// leave no faster than the wire would carry them, and bytes received count as arrived only when
// the wire could have delivered them, so the timings of a run are those of a real cable.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string>

#include "transfer/ByteTrace.h"

namespace sim {

using SteadyClock = std::chrono::steady_clock;
using TimePoint = SteadyClock::time_point;

struct Arrival {
  uint8_t byte;
  TimePoint read;  // when it was read from the device
};

class SimLine {
 public:
  ~SimLine();
  // baud 0 means no pacing.
  bool OpenDevice(const std::string& path, int baud, std::string& error);
  // Creates a pseudo-terminal pair; `path` is the side for the program.
  bool CreatePty(int baud, std::string& path, std::string& error);
  void SetTrace(tavrin::ByteTrace* trace) { trace_ = trace; }

  // Returns when the last byte has left; the time it left.
  TimePoint Write(std::span<const uint8_t> bytes);
  // The next byte arrived by the deadline, or nothing.
  std::optional<Arrival> ReadByte(TimePoint deadline);
  // Forgets what has arrived and not been read.
  void DropInput();

  long BytesOut() const { return bytesOut_; }
  long BytesIn() const { return bytesIn_; }
  int Baud() const { return baud_; }

 private:
  bool Configure(std::string& error);
  bool Fill(TimePoint deadline);

  int fd_ = -1;
  int keepOpen_ = -1;  // our own hold on the program's side, so its closing is no hangup
  int baud_ = 0;
  SteadyClock::duration byteTime_{};
  TimePoint outFree_{};
  TimePoint inFree_{};
  struct Pending {
    uint8_t byte;
    TimePoint read;
    TimePoint arrives;
  };
  std::deque<Pending> pending_;
  tavrin::ByteTrace* trace_ = nullptr;
  long bytesOut_ = 0;
  long bytesIn_ = 0;
};

}  // namespace sim
