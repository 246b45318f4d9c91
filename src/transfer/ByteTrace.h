// A trace of every byte that crosses the cable, one line per read or write:
// "<seconds since start> <tx|rx> <bytes in hex>". Both tavrin-cli and vl3400-sim write it, and
// the link's tests replay one. A real transfer takes some tens of kilobytes; a trace stops at
// kTraceLimitBytes with a line saying so, whatever a flooding line does.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "document/SafeWrite.h"
#include "transfer/SerialControl.h"

namespace tavrin {

inline constexpr std::size_t kTraceLimitBytes = 4 * 1024 * 1024;
// The last line of a trace that reached its limit; readers skip it as no exchange.
inline constexpr char kTraceCutLine[] = "# cut at 4 MB: later bytes were not recorded\n";

class ByteTrace {
 public:
  // Starts a trace for `path`, written beside it: the file there stays as it was until Close puts
  // the trace in its place. False when no file can be made there.
  bool Open(const std::string& path);
  bool IsOpen() const { return file_.IsOpen(); }
  void Record(const char* direction, std::span<const uint8_t> bytes);
  // Whether any byte crossed since Open.
  bool Recorded() const { return recorded_; }
  // Puts the trace in place; false when it could not be written completely (then the file there
  // stays as it was).
  bool Close();
  // Drops the trace: the file there stays as it was.
  void Discard() { file_.Discard(); }

 private:
  StagedFile file_;
  std::chrono::steady_clock::time_point start_;
  std::size_t written_ = 0;
  bool recorded_ = false;
  bool failed_ = false;
};

struct TraceLine {
  double seconds;
  std::string direction;
  std::vector<uint8_t> bytes;
};
// The lines of a trace file; nothing for lines that do not parse.
std::vector<TraceLine> ReadByteTrace(const std::string& path);

// A serial control that records what it sends and receives.
class TracingSerialControl : public SerialControl {
 public:
  TracingSerialControl(SerialControl& inner, ByteTrace& trace) : inner_(inner), trace_(trace) {}
  void SetDTREnable(bool on) override { inner_.SetDTREnable(on); }
  void SetRTSEnable(bool on) override { inner_.SetRTSEnable(on); }
  void SetRThreshold(int bytes) override { inner_.SetRThreshold(bytes); }
  void SetInBufferSize(int bytes) override { inner_.SetInBufferSize(bytes); }
  void SetInputLen(int bytes) override { inner_.SetInputLen(bytes); }
  void SetInputMode(int mode) override { inner_.SetInputMode(mode); }
  void SetSThreshold(int bytes) override { inner_.SetSThreshold(bytes); }
  void SetOutBufferSize(int bytes) override { inner_.SetOutBufferSize(bytes); }
  void SetSettings(const std::string& settings) override { inner_.SetSettings(settings); }
  void SetHandshaking(int mode) override { inner_.SetHandshaking(mode); }
  void SetCommPort(int port) override { inner_.SetCommPort(port); }
  bool SetPortOpen(bool open) override { return inner_.SetPortOpen(open); }
  PortRefusal OpenError() const override { return inner_.OpenError(); }
  bool PortOpen() const override { return inner_.PortOpen(); }
  void SetInBufferCount(int count) override { inner_.SetInBufferCount(count); }
  void SetOutBufferCount(int count) override { inner_.SetOutBufferCount(count); }
  Result<> OutputText(const std::string& text) override;
  Result<> OutputBytes(std::span<const uint8_t> bytes) override;
  CommEventCode CommEvent() const override { return inner_.CommEvent(); }
  std::vector<uint8_t> Input() override;

 private:
  SerialControl& inner_;
  ByteTrace& trace_;
};

}  // namespace tavrin
