#include "model/ImageLayout.h"

#include <algorithm>
#include <cstring>

#include "model/ScheduleModel.h"

namespace tavrin {

void InitImage(SettingsImage& image) {
  image.fill(0);
  std::memcpy(image.data() + layout::kIdText, kIdText, layout::kIdTextSize);
  std::memcpy(image.data() + layout::kModelTag, kModelTag, layout::kModelTagSize);
}

bool PutImageBytes(SettingsImage& image, const uint8_t* data, std::size_t length,
                   std::size_t offset) {
  if (offset >= image.size()) return false;
  std::memcpy(image.data() + offset, data, std::min(length, image.size() - offset));
  return true;
}

}  // namespace tavrin
