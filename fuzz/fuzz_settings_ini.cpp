// "Tavrin.ini" is edited by hand: any bytes must give a usable table.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "model/IniSettings.h"

using namespace tavrin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  IniSettings settings;
  ParseSettingsIni(reinterpret_cast<const char*>(data), size, settings);
  if (settings.mode != 1 && settings.mode != 2) __builtin_trap();
  if (settings.chimeCount < 0 || settings.chimeCount > kMaxChimes) __builtin_trap();
  for (int i = 0; i < settings.chimeCount; ++i) {
    const ChimeRecord& record = settings.chimes[static_cast<std::size_t>(i)];
    if (record.name[63] != '\0' || record.name[0] == '\0') __builtin_trap();
    if (record.code < 1 || record.code > 15) __builtin_trap();  // must fit the 4-bit action
  }
  if (settings.timeSignalMark.size() > 31 || settings.dayMark.size() > 31) __builtin_trap();

  ChimeLists lists = BuildChimeLists(settings);
  if (settings.chimeCount < 1 ||
      lists.items.size() != static_cast<std::size_t>(settings.chimeCount) + 1) {
    __builtin_trap();
  }
  for (const std::string& item : lists.items) {
    if (item.size() > 63 || std::memchr(item.data(), '\0', item.size())) __builtin_trap();
  }
  return 0;
}
