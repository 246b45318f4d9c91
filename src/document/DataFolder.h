// The program's data folder: "<common application-data folder>/Korva Time Systems/Tavrin".
// On Linux the common folder is the per-user data location ($XDG_DATA_HOME or ~/.local/share);
// TAVRIN_DATA_DIR replaces the whole path (tests, scripted use).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/Result.h"

namespace tavrin {

inline constexpr char kHolidayFileName[] = "Tavrin-Holidays.ini";
inline constexpr char kSettingsIniName[] = "Tavrin.ini";

// The data folder, created when missing; nothing when it cannot be resolved or created.
std::optional<std::string> PrepareDataFolder();
// The same without creating anything.
std::string DataFolderPath();

// Where the shipped holiday file and "Tavrin.ini" may be found, best first: "../share/tavrin"
// beside the running program (an installed copy, or the build folder's links to the source tree),
// then "tavrin" in each folder of $XDG_DATA_DIRS (default /usr/local/share:/usr/share).
std::vector<std::string> ShippedDataFolders(const std::string& executablePath);
// Where tavrin-cli's message catalogues are: "../share/locale" beside the running program, which
// the package installs and the build folder holds alike.
std::string InstalledLocaleFolder(const std::string& executablePath);
// The running program's own path ("/proc/self/exe"), empty when it cannot be read.
std::string ExecutablePath();

// Copies each shipped file that `dataFolder` lacks from the first of `shippedFolders` that has it.
// A file already there is never replaced: the user may have edited it. Gives the names copied; a
// copy that fails gives the reason.
Result<std::vector<std::string>> SeedDataFolder(const std::string& dataFolder,
                                                const std::vector<std::string>& shippedFolders);

}  // namespace tavrin
