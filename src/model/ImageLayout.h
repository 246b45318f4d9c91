// The 6594-byte settings image as the timer reads it: every offset and size in one place.
// Multi-byte numbers are little-endian; records follow each other without gaps.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tavrin {

namespace layout {
inline constexpr std::size_t kImageSize = 6594;

inline constexpr std::size_t kIdText = 0;  // 16 bytes
inline constexpr std::size_t kIdTextSize = 16;
inline constexpr std::size_t kModelTag = 16;  // 4 bytes
inline constexpr std::size_t kModelTagSize = 4;

// Header words (u16).
inline constexpr std::size_t kTotalLength = 20;
inline constexpr std::size_t kChannelBlockWord = 22;
inline constexpr std::size_t kStepBlockWord = 24;
inline constexpr std::size_t kStepCountWord = 26;
inline constexpr std::size_t kPeriodGridCurrentWord = 28;
inline constexpr std::size_t kPeriodGridNextWord = 30;
inline constexpr std::size_t kSpecialGridCurrentWord = 32;
inline constexpr std::size_t kSpecialGridNextWord = 34;
inline constexpr std::size_t kSummerTimeWord = 36;
inline constexpr std::size_t kRadioWord = 38;

inline constexpr std::size_t kHolidayEnabled = 40;
inline constexpr std::size_t kHolidayProgram = 41;
inline constexpr std::size_t kBasicProgram = 42;
inline constexpr std::size_t kLeapStartProgram = 43;
inline constexpr std::size_t kLeapEndProgram = 44;
// 45..47 stay zero.

inline constexpr std::size_t kChannelBlock = 48;
inline constexpr std::size_t kChannelRecordSize = 4;
inline constexpr std::size_t kStepBlock = 80;
inline constexpr std::size_t kStepRecordSize = 5;
inline constexpr std::size_t kStepRecords = 1000;

inline constexpr std::size_t kYearGridSize = 373;  // year-2000, then 12 x 31 day slots
inline constexpr std::size_t kPeriodGridCurrent = 5080;
inline constexpr std::size_t kPeriodGridNext = 5453;
inline constexpr std::size_t kSpecialGridCurrent = 5826;
inline constexpr std::size_t kSpecialGridNext = 6199;

inline constexpr std::size_t kSummerTime = 6572;  // 6 bytes
inline constexpr std::size_t kSummerTimeSize = 6;
inline constexpr std::size_t kRadioFrequency = 6578;  // u16
inline constexpr std::size_t kRadioStation = 6580;    // 14 bytes
inline constexpr std::size_t kRadioStationSize = 14;

static_assert(kChannelBlock + 8 * kChannelRecordSize == kStepBlock);
static_assert(kStepBlock + kStepRecords * kStepRecordSize == kPeriodGridCurrent);
static_assert(kPeriodGridCurrent + kYearGridSize == kPeriodGridNext);
static_assert(kPeriodGridNext + kYearGridSize == kSpecialGridCurrent);
static_assert(kSpecialGridCurrent + kYearGridSize == kSpecialGridNext);
static_assert(kSpecialGridNext + kYearGridSize == kSummerTime);
static_assert(kSummerTime + kSummerTimeSize == kRadioFrequency);
static_assert(kRadioStation + kRadioStationSize == kImageSize);

// Slot of day d (1..31) of month m (1..12) inside a year grid, after the year byte.
constexpr std::size_t GridSlot(int month, int day) {
  return 1 + 31 * static_cast<std::size_t>(month - 1) + static_cast<std::size_t>(day - 1);
}
}  // namespace layout

using SettingsImage = std::array<uint8_t, layout::kImageSize>;
using YearGrid = std::array<uint8_t, layout::kYearGridSize>;

// Zero 6594 bytes and put the identification texts at offsets 0 and 16.
void InitImage(SettingsImage& image);

// Copies received bytes into the image at `offset`, cutting what would run past its end. False
// when the offset itself is outside the image.
bool PutImageBytes(SettingsImage& image, const uint8_t* data, std::size_t length,
                   std::size_t offset);

// Whether two images hold the same schedule: every byte the same, but the step records may stand
// in another order. Sorting the steps, as the step dialog does when it opens, changes no schedule.
bool SameSchedule(const SettingsImage& a, const SettingsImage& b);

}  // namespace tavrin
