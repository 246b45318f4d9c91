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

FrameReader::Event FrameReader::Feed(uint8_t b) {
  switch (state_) {
    case State::Idle:
      if (b == kDLE) {
        state_ = State::Start;
        return Event::None;
      }
      control_ = b;
      return Event::Control;
    case State::Start:
      if (b == kSTX) {
        state_ = State::Data;
        data_.clear();
        check_ = 0;
      } else {
        state_ = State::Idle;
      }
      return Event::None;
    case State::Data:
      if (b == kDLE) {
        state_ = State::DataDle;
      } else {
        data_.push_back(b);
        check_ ^= b;
      }
      return Event::None;
    case State::DataDle:
      if (b == kETX) {
        state_ = State::Check;
      } else {
        data_.push_back(b);
        check_ ^= b;
        state_ = State::Data;
      }
      return Event::None;
    case State::Check:
      state_ = State::Idle;
      return b == check_ ? Event::Frame : Event::BadCheck;
  }
  return Event::None;
}

void FrameReader::Reset() {
  state_ = State::Idle;
  data_.clear();
  check_ = 0;
}

}  // namespace tavrin
