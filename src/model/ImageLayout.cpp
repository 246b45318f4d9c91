#include "model/ImageLayout.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "model/ScheduleModel.h"

namespace tavrin {

void InitImage(SettingsImage& image) {
  image.fill(0);
  std::memcpy(image.data() + layout::kIdText, kIdText, layout::kIdTextSize);
  std::memcpy(image.data() + layout::kModelTag, kModelTag, layout::kModelTagSize);
}

bool SameSchedule(const SettingsImage& a, const SettingsImage& b) {
  const auto steps = [](const SettingsImage& image) {
    std::vector<std::array<uint8_t, layout::kStepRecordSize>> records(layout::kStepRecords);
    std::memcpy(records.data(), image.data() + layout::kStepBlock,
                layout::kStepRecords * layout::kStepRecordSize);
    std::sort(records.begin(), records.end());
    return records;
  };
  const auto stepsEnd = layout::kStepBlock + layout::kStepRecords * layout::kStepRecordSize;
  return std::equal(a.begin(), a.begin() + layout::kStepBlock, b.begin()) &&
         std::equal(a.begin() + stepsEnd, a.end(), b.begin() + stepsEnd) && steps(a) == steps(b);
}

bool PutImageBytes(SettingsImage& image, const uint8_t* data, std::size_t length,
                   std::size_t offset) {
  if (offset >= image.size()) return false;
  std::memcpy(image.data() + offset, data, std::min(length, image.size() - offset));
  return true;
}

}  // namespace tavrin
