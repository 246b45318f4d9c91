// Little-endian access to the image and the small codes that both conversions share.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/ImageLayout.h"
#include "model/ScheduleModel.h"

namespace tavrin {

inline uint16_t ReadU16(const SettingsImage& image, std::size_t offset) {
  return static_cast<uint16_t>(image[offset] | (image[offset + 1] << 8));
}

inline void WriteU16(SettingsImage& image, std::size_t offset, uint16_t value) {
  image[offset] = static_cast<uint8_t>(value & 0xFF);
  image[offset + 1] = static_cast<uint8_t>(value >> 8);
}

namespace image_codes {
inline constexpr uint8_t kKeepFlag = 0x80;     // channel byte 0
inline constexpr uint8_t kMinutesMask = 0x3F;  // channel byte 0
inline constexpr uint8_t kSummerFlag = 0x80;   // summer-time byte 0
inline constexpr uint8_t kActionOn = 0xE;      // step byte 4, not a time-signal channel
inline constexpr uint8_t kActionOff = 0xF;
inline constexpr uint8_t kRiseSeconds[4] = {0, 3, 10, 30};  // by riseTime
}  // namespace image_codes

// How the timer sees channel `channel` (1..8) of the image: the keep flag, else any signal length
// or rise time makes a time-signal channel, else the channel is not in use.
inline ChannelKind ImageChannelKind(const SettingsImage& image, int channel) {
  const uint8_t* record =
      image.data() + layout::kChannelBlock + (channel - 1) * layout::kChannelRecordSize;
  if (record[0] & image_codes::kKeepFlag) return kChannelKeep;
  if (record[0] == 0 && record[1] == 0 && record[3] == 0) return kChannelUnused;
  return kChannelTimeSignal;
}

}  // namespace tavrin
