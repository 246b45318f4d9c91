#include "transfer/Frame.h"

#include <cstring>

namespace tavrin {

uint8_t FrameCheck(std::span<const uint8_t> data) {
  uint8_t check = 0;
  for (uint8_t b : data) check ^= b;
  return check;
}

std::size_t WireSize(std::span<const uint8_t> data) {
  std::size_t size = 5;
  for (uint8_t b : data) size += b == kDLE ? 2 : 1;
  return size;
}

std::size_t BuildFrame(std::span<const uint8_t> data, uint8_t* out, std::size_t capacity) {
  const std::size_t size = WireSize(data);
  if (size > capacity) return 0;
  std::size_t n = 0;
  out[n++] = kDLE;
  out[n++] = kSTX;
  for (uint8_t b : data) {
    if (b == kDLE) out[n++] = kDLE;
    out[n++] = b;
  }
  out[n++] = kDLE;
  out[n++] = kETX;
  out[n++] = FrameCheck(data);
  return n;
}

std::vector<uint8_t> BuildFrame(std::span<const uint8_t> data) {
  std::vector<uint8_t> wire(WireSize(data));
  BuildFrame(data, wire.data(), wire.size());
  return wire;
}

FrameReader::Event FrameReader::Store(uint8_t b) {
  if (count_ >= buffer_.size()) {
    // The buffer is not emptied: later frames fail the same way until the link is reset.
    state_ = State::Idle;
    return Event::Overflow;
  }
  buffer_[count_++] = b;
  check_ ^= b;
  return Event::Progress;
}

FrameReader::Event FrameReader::Feed(uint8_t b) {
  switch (state_) {
    case State::Idle:
      if (b == kDLE) {
        state_ = State::Start;
        return Event::Progress;
      }
      control_ = b;
      return Event::Control;
    case State::Start:
      if (b != kSTX) {
        state_ = State::Idle;
        return Event::None;
      }
      state_ = State::Data;
      check_ = 0;
      frameStart_ = count_;
      return Event::Progress;
    case State::Data:
      if (b == kDLE) {
        state_ = State::DataDle;
        return Event::None;
      }
      return Store(b);
    case State::DataDle:
      if (b == kETX) {
        state_ = State::Check;
        return Event::Progress;
      }
      state_ = State::Data;
      // The second DLE of a pair is data, but it does not restart the frame's gap timer.
      return Store(b) == Event::Overflow ? Event::Overflow : Event::None;
    case State::Check:
      state_ = State::Idle;
      if (b == check_) return Event::Frame;
      count_ = frameStart_;
      return Event::BadCheck;
  }
  return Event::None;
}

void FrameReader::DropPartial() {
  if (state_ == State::Data || state_ == State::DataDle || state_ == State::Check) {
    count_ = frameStart_;
  }
  state_ = State::Idle;
}

void FrameReader::Clear() {
  state_ = State::Idle;
  count_ = 0;
  frameStart_ = 0;
  check_ = 0;
}

}  // namespace tavrin
