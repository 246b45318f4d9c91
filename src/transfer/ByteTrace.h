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
#include "transfer/SerialTransport.h"

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

// A serial line that records what it sends and receives.
class TracingSerialControl : public SerialTransport {
 public:
  TracingSerialControl(SerialTransport& inner, ByteTrace& trace) : inner_(inner), trace_(trace) {}
  void Configure(const SerialParameters& parameters) override { inner_.Configure(parameters); }
  void SetLineSignals(bool dtr, bool rts) override { inner_.SetLineSignals(dtr, rts); }
  bool Open(int port) override { return inner_.Open(port); }
  PortRefusal OpenError() const override { return inner_.OpenError(); }
  void Close() override { inner_.Close(); }
  bool IsOpen() const override { return inner_.IsOpen(); }
  std::vector<uint8_t> Read() override;
  Result<> Write(std::span<const uint8_t> bytes) override;
  void Purge(PurgeDirection direction) override { inner_.Purge(direction); }
  CommEventCode Event() const override { return inner_.Event(); }

 private:
  SerialTransport& inner_;
  ByteTrace& trace_;
};

}  // namespace tavrin
