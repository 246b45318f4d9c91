// The serial line as the cable link uses it: configured with the serial parameters, opened raw on
// COMn with DTR and RTS raised, read and written as bytes, purged, and one event for data, line
// signals and errors. The Windows control's many properties stay with the platform's control.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "model/Result.h"
#include "transfer/PortLock.h"
#include "transfer/SerialParameters.h"

namespace tavrin {

// What an event is about: data, a line signal, then errors. The codes are the Windows control's,
// which the diagnostics window's texts are numbered after. Other codes can arrive and mean
// nothing here.
enum class CommEventCode {
  None = 0,
  Send = 1,
  Receive = 2,
  Cts = 3,
  Dsr = 4,
  Cd = 5,
  Ring = 6,
  Eof = 7,
  Break = 1001,
  CtsTimeout = 1002,
  DsrTimeout = 1003,
  Frame = 1004,
  Overrun = 1006,
  CdTimeout = 1007,
  RxOver = 1008,
  RxParity = 1009,
  TxFull = 1010,
};

// Why the port did not open: the user may not use the device (it belongs to a group the user is
// not in), another program holds its lock, or anything else (no such device, not a serial line).
enum class PortOpenError { None, PermissionDenied, Locked, Other };

// The reason a port did not open, with what the user needs to know to put it right.
struct PortRefusal {
  PortRefusal(PortOpenError why = PortOpenError::None, std::string group = {}, PortLock lock = {})
      : error(why), group(std::move(group)), lock(std::move(lock)) {}
  PortOpenError error;
  std::string group;  // PermissionDenied: the group whose members may use the device, if one may
  PortLock lock;      // Locked: who holds the port
  bool operator==(const PortRefusal&) const = default;
};

enum class PurgeDirection { Input, Output };

class SerialTransport {
 public:
  virtual ~SerialTransport() = default;

  // Speed, parity, data and stop bits, for the next Open.
  virtual void Configure(const SerialParameters& parameters) = 0;
  // The modem lines raised while the port is open, for the next Open.
  virtual void SetLineSignals(bool dtr, bool rts) = 0;
  // Opens COMport (1..16) without flow control: an event for every arrival and for every write
  // the line has taken. False when it does not open; OpenError says why.
  virtual bool Open(int port) = 0;
  // The reason the last open failed; None after one that succeeded.
  virtual PortRefusal OpenError() const = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;

  // What has arrived since the last read.
  virtual std::vector<uint8_t> Read() = 0;
  // A failure means the bytes did not reach the line.
  virtual Result<> Write(std::span<const uint8_t> bytes) = 0;
  // Drops what waits in one direction: bytes the system has not yet taken for output.
  virtual void Purge(PurgeDirection direction) = 0;

  // Inside the event's handler: what the event is about.
  virtual CommEventCode Event() const = 0;
};

}  // namespace tavrin
