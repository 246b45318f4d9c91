// The serial control as the cable link drives it: the properties of the Windows serial control
// it replaces, set in a fixed order before every open, byte-array input and event codes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tavrin {

// CommEvent values: events, then errors.
namespace comm {
inline constexpr int kSend = 1;
inline constexpr int kReceive = 2;
inline constexpr int kCts = 3;
inline constexpr int kDsr = 4;
inline constexpr int kCd = 5;
inline constexpr int kRing = 6;
inline constexpr int kEof = 7;
inline constexpr int kBreak = 1001;
inline constexpr int kCtsTimeout = 1002;
inline constexpr int kDsrTimeout = 1003;
inline constexpr int kFrame = 1004;
inline constexpr int kOverrun = 1006;
inline constexpr int kCdTimeout = 1007;
inline constexpr int kRxOver = 1008;
inline constexpr int kRxParity = 1009;
inline constexpr int kTxFull = 1010;
}  // namespace comm

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

  // False when the port cannot be opened (the control's dispatch error).
  virtual bool SetPortOpen(bool open) = 0;
  virtual bool PortOpen() const = 0;
  virtual void SetInBufferCount(int count) = 0;   // 0 empties the input buffer
  virtual void SetOutBufferCount(int count) = 0;  // 0 empties the output buffer

  // A control byte goes out as a one-character text; the text of byte 0 is empty.
  virtual void OutputText(const std::string& text) = 0;
  virtual void OutputBytes(std::span<const uint8_t> bytes) = 0;

  // Read inside the event handler: the event's code and the bytes received so far.
  virtual int CommEvent() const = 0;
  virtual std::vector<uint8_t> Input() = 0;
};

}  // namespace tavrin
