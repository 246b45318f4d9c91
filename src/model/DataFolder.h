// The program's data folder: "<common application-data folder>/Korva Time Systems/Tavrin".
// On Linux the common folder is the per-user data location ($XDG_DATA_HOME or ~/.local/share);
// TAVRIN_DATA_DIR replaces the whole path (tests, scripted use).
#pragma once

#include <optional>
#include <string>

namespace tavrin {

inline constexpr char kHolidayFileName[] = "Tavrin-Holidays.ini";
inline constexpr char kSettingsIniName[] = "Tavrin.ini";

// The data folder, created when missing; nothing when it cannot be resolved or created.
std::optional<std::string> PrepareDataFolder();
// The same without creating anything.
std::string DataFolderPath();

}  // namespace tavrin
