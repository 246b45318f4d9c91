// A name file can come from anywhere, beside a settings file. Reading it must give exactly its
// first 1600 bytes, the rest empty, and the names as shown must never cut a character in two.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "document/SettingsFiles.h"
#include "model/ShiftJis.h"

using namespace tavrin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::optional<std::string> path = fuzzing::MemoryFile(data, size);
  if (!path) return 0;

  ProgramNameTable names;
  std::memset(&names, 0xEE, sizeof names);
  if (!ReadNameFile(*path, names).ok()) __builtin_trap();
  const auto* read = reinterpret_cast<const uint8_t*>(&names);
  const std::size_t copied = size < sizeof names ? size : sizeof names;
  if (std::memcmp(read, data, copied) != 0) __builtin_trap();
  for (std::size_t i = copied; i < sizeof names; ++i) {
    if (read[i] != 0) __builtin_trap();
  }

  for (const auto& field : names.names) {
    const std::string text = FieldText(field.data(), field.size());
    if (text.size() > field.size() || text.find('\0') != std::string::npos) __builtin_trap();
    for (std::size_t limit : {std::size_t{1}, std::size_t{15}, std::size_t{16}}) {
      const std::string cut = CutShiftJis(text, limit);
      // A prefix within the limit, and cutting it again changes nothing.
      if (cut.size() > limit || text.compare(0, cut.size(), cut) != 0) __builtin_trap();
      if (CutShiftJis(cut, limit) != cut) __builtin_trap();
    }
    FromShiftJis(text);
  }
  return 0;
}
