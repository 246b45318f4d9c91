// A settings file can come from anywhere (a stick, a mail, a broken disk). Reading it must give
// either the program's message or exactly its first 6594 bytes, and unpacking whatever was read
// must stay in bounds.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "document/SettingsFiles.h"
#include "model/ImagePacking.h"

using namespace tavrin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::optional<std::string> path = fuzzing::MemoryFile(data, size);
  if (!path) return 0;

  SettingsImage image;
  Result<> status = ReadSettingsFile(*path, image);
  if (status.ok()) {
    if (size < 20) __builtin_trap();
    std::size_t copied = size < image.size() ? size : image.size();
    if (std::memcmp(image.data(), data, copied) != 0) __builtin_trap();
    for (std::size_t i = copied; i < image.size(); ++i) {
      if (image[i] != 0) __builtin_trap();
    }
  } else {
    SettingsImage initial;
    InitImage(initial);
    if (image != initial || status.message().empty()) __builtin_trap();
  }

  ImageContext context{YearsFromClock(2026), &fuzzing::SampleHolidays(), size % 2 == 0};
  ScheduleModel model;
  UnpackImage(image, context, model);
  if (model.stepCount < 0 || model.stepCount > kStepCount) __builtin_trap();
  return 0;
}
