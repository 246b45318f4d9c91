// The serial control as the cable link drives it: the properties of the Windows serial control
// it replaces, set in a fixed order before every open, byte-array input and event codes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "model/Result.h"
#include "transfer/PortLock.h"

namespace tavrin {

// The control's CommEvent: events, then errors. Other codes can arrive and mean nothing here.
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

class SerialControl {
 public:
  virtual ~SerialControl() = default;

  virtual void SetDTREnable(bool on) = 0;
  virtual void SetRTSEnable(bool on) = 0;
  virtual void SetRThreshold(int bytes) = 0;
  virtual void SetInBufferSize(int bytes) = 0;
  virtual void SetInputLen(int bytes) = 0;
  virtual void SetInputMode(int mode) = 0;  // 1: byte arrays
  virtual void SetSThreshold(int bytes) = 0;
  virtual void SetOutBufferSize(int bytes) = 0;
  virtual void SetSettings(const std::string& settings) = 0;  // "19200,N,8,1"
  virtual void SetHandshaking(int mode) = 0;
  virtual void SetCommPort(int port) = 0;  // 1..16

  // False when the port cannot be opened (the control's dispatch error); OpenError says why.
  virtual bool SetPortOpen(bool open) = 0;
  // The reason the last open failed; None after one that succeeded.
  virtual PortRefusal OpenError() const = 0;
  virtual bool PortOpen() const = 0;
  virtual void SetInBufferCount(int count) = 0;   // 0 empties the input buffer
  virtual void SetOutBufferCount(int count) = 0;  // 0 empties the output buffer

  // A control byte goes out as a one-character text; the text of byte 0 is empty. A failure
  // means the bytes did not reach the line.
  virtual Result<> OutputText(const std::string& text) = 0;
  virtual Result<> OutputBytes(std::span<const uint8_t> bytes) = 0;

  // Read inside the event handler: the event's code and the bytes received so far.
  virtual CommEventCode CommEvent() const = 0;
  virtual std::vector<uint8_t> Input() = 0;
};

}  // namespace tavrin
