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

}  // namespace tavrin
