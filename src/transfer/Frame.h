// The framing both ends of the cable use: DLE STX, data with every DLE doubled, DLE ETX, then an
// XOR check byte over the undoubled data that is itself never doubled.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tavrin {

inline constexpr uint8_t kSTX = 0x02;
inline constexpr uint8_t kETX = 0x03;
inline constexpr uint8_t kENQ = 0x05;
inline constexpr uint8_t kACK = 0x06;
inline constexpr uint8_t kDLE = 0x10;
inline constexpr uint8_t kNAK = 0x15;

// Every buffer of the link holds this many bytes.
inline constexpr std::size_t kLinkBufferSize = 8192;

uint8_t FrameCheck(std::span<const uint8_t> data);
// Bytes the frame of `data` takes on the wire.
std::size_t WireSize(std::span<const uint8_t> data);
// Writes the wire form into `out`; 0 (and nothing written) when it does not fit in `capacity`.
std::size_t BuildFrame(std::span<const uint8_t> data, uint8_t* out, std::size_t capacity);
std::vector<uint8_t> BuildFrame(std::span<const uint8_t> data);

// Decodes the wire a byte at a time, for the timer's side, which has no window timers: the
// caller drops a frame that stalls by calling Reset.
class FrameReader {
 public:
  enum class Event {
    None,      // byte consumed inside or between frames
    Frame,     // a complete frame with a good check byte: see Data()
    BadCheck,  // a complete frame whose check byte is wrong
    Control,   // a byte outside any frame: see Control()
  };
  Event Feed(uint8_t b);
  void Reset();
  bool InsideFrame() const { return state_ != State::Idle; }
  const std::vector<uint8_t>& Data() const { return data_; }
  uint8_t Control() const { return control_; }

 private:
  enum class State { Idle, Start, Data, DataDle, Check };
  State state_ = State::Idle;
  std::vector<uint8_t> data_;
  uint8_t check_ = 0;
  uint8_t control_ = 0;
};

}  // namespace tavrin
