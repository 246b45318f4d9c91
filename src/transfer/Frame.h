// The framing both ends of the cable use: DLE STX, data with every DLE doubled, DLE ETX, then an
// XOR check byte over the undoubled data that is itself never doubled.
#pragma once

#include <array>
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

// Decodes the wire a byte at a time, for both ends of the cable. The data of frames are kept one
// behind the other in a buffer of kLinkBufferSize bytes until Clear: the program's link keeps
// the frames it does not interpret, and a buffer that fills up is a receive failure.
class FrameReader {
 public:
  enum class State { Idle, Start, Data, DataDle, Check };
  enum class Event {
    None,      // consumed: a DLE that started nothing, the first DLE of a doubled pair
    Progress,  // the frame moved on: its DLE STX, a plain data byte, its DLE ETX
    Frame,     // a complete frame with a good check byte: see Data()
    BadCheck,  // a complete frame whose check byte is wrong; its data are dropped
    Control,   // a byte outside any frame: see Control()
    Overflow,  // a data byte found the buffer full; back to Idle, the buffer stays full
  };
  Event Feed(uint8_t b);
  // Drops the frame under way, if any, and waits for the next one.
  void DropPartial();
  // Forgets every frame kept and the one under way.
  void Clear();

  State state() const { return state_; }
  // The data of the last complete frame, or of the one under way.
  std::span<const uint8_t> Data() const {
    return std::span<const uint8_t>(buffer_.data() + frameStart_, count_ - frameStart_);
  }
  uint8_t Control() const { return control_; }

 private:
  Event Store(uint8_t b);

  State state_ = State::Idle;
  std::array<uint8_t, kLinkBufferSize> buffer_{};
  std::size_t count_ = 0;
  std::size_t frameStart_ = 0;
  uint8_t check_ = 0;
  uint8_t control_ = 0;
};

}  // namespace tavrin
