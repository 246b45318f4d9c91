// A settings file can come from anywhere (a stick, a mail, a broken disk). Reading it must give
// either the program's message or exactly its first 6594 bytes, and unpacking whatever was read
// must stay in bounds.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "calendar/HolidayFile.h"
#include "model/ImagePacking.h"
#include "model/SettingsFiles.h"

using namespace tavrin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static const int fd = memfd_create("settings", 0);
  if (fd < 0) return 0;
  if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) return 0;
  static const std::string path = "/proc/self/fd/" + std::to_string(fd);

  SettingsImage image;
  Result<> status = ReadSettingsFile(path, image);
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

  static HolidayTable* holidays = [] {
    auto* table = new HolidayTable;
    ClearHolidayTable(*table);
    const char text[] = "[2026]\r\n01=1,12\r\n05=3,4,5\r\n[2027]\r\n01=1,11\r\n";
    ParseHolidayText(text, sizeof text - 1, *table);
    return table;
  }();
  ImageContext context{YearsFromClock(2026), holidays, size % 2 == 0};
  ScheduleModel model;
  UnpackImage(image, context, model);
  if (model.stepCount < 0 || model.stepCount > kStepCount) __builtin_trap();
  return 0;
}
