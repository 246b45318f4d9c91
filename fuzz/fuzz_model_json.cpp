// The JSON model reader takes files from anywhere. What it accepts must survive a write and a
// second read unchanged, and writing it again must give the same text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "cli/ModelJson.h"

using namespace tavrin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  ScheduleModel first;
  ProgramNameTable firstNames;
  if (!ParseModelJson(text, first, firstNames).ok()) return 0;

  std::string written = FormatModelJson(first, firstNames);
  ScheduleModel second;
  ProgramNameTable secondNames;
  if (!ParseModelJson(written, second, secondNames).ok()) __builtin_trap();
  if (!(first == second) || !(firstNames == secondNames)) __builtin_trap();
  if (FormatModelJson(second, secondNames) != written) __builtin_trap();
  return 0;
}
