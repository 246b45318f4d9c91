// What "Tavrin.ini" in the data folder sets: the main-screen mode, the chime melodies and the
// marks. Texts are kept as read (Shift-JIS bytes); the UI converts them for display.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavrin {

inline constexpr int kMaxChimes = 10;
// A step keeps its chime in the 4-bit action code of the image, where 0 means "no chime": the one
// range of codes that the file reader accepts and that every list and report shows as a melody.
inline constexpr int kLowestChimeCode = 1;
inline constexpr int kHighestChimeCode = 15;

struct ChimeRecord {
  int16_t code;
  std::array<char, 64> name;  // Shift-JIS, NUL-terminated
};

struct IniSettings {
  int mode = 1;                // 1 = with radio, 2 = without
  std::string timeSignalMark;  // list mark, Shift-JIS, default "○"
  std::string dayMark;         // day mark, Shift-JIS, default "★"
  std::array<ChimeRecord, kMaxChimes> chimes{};
  int chimeCount = 0;

  IniSettings();  // the defaults in force before the file is read
  bool RadioModeOn() const { return mode == 1; }
};

// Resets `settings` to the defaults, then reads the file, at most its first kDataFileLimitBytes
// (`cut` tells whether more followed). False when it cannot be opened or read, with the reason in
// `error` (the system's error number, or kIsFolder or kNotRegularFile of model/FileHead.h).
bool ReadSettingsIni(const std::string& path, IniSettings& settings, bool* cut = nullptr,
                     int* error = nullptr);
// The same rules over bytes in memory, from the defaults as well.
void ParseSettingsIni(const char* data, std::size_t size, IniSettings& settings);

// The chime choice lists; BuildChimeLists loads the ten default melodies when the table is empty.
struct ChimeLists {
  std::string comboList;           // "0.（なし）|1.name|..." for the step grid (Shift-JIS)
  std::vector<std::string> items;  // "0.（なし）", "1.name", ... (Shift-JIS)
};
ChimeLists BuildChimeLists(IniSettings& settings);

// 1-based position of the first chime record with `code` in table order (its item in
// ChimeLists::items); 0 when the code is outside the chime range or no record has it, which shows
// as "0.（なし）".
int ChimePosition(const IniSettings& settings, int code);
// Position 1..10 in table order.
std::optional<ChimeRecord> ChimeEntry(const IniSettings& settings, int position);

}  // namespace tavrin
