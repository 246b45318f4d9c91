// The start-up load of the holiday file and the problem reported one second later.
#pragma once

#include <optional>
#include <string>

#include "calendar/HolidayFile.h"

namespace tavrin {

enum class HolidayLoadState { Loaded, FolderFailed, FileFailed };

// Clears `table`, then reads the holiday file of `dataFolder` (nothing when the data folder could
// not be prepared). A file that opens but holds no year counts as failed.
// `cut` learns whether the file went on past what a real holiday file can hold.
HolidayLoadState LoadHolidays(const std::optional<std::string>& dataFolder, HolidayTable& table,
                              bool* cut = nullptr);

inline constexpr char kHolidayCaption[] = "祭日設定";
inline constexpr int kHolidayReportDelayMs = 1000;  // window timer 10, one shot

// The two-line message for a failed load; empty when the load succeeded.
std::string HolidayProblemText(HolidayLoadState state);

// What is said, once the main window is up, of a data file ("Tavrin.ini", the holiday file) read
// only as far as a real one can go: the user may have pasted something into it by mistake.
std::string DataFileCutText(const std::string& path);

// What is said of a "Tavrin.ini" that could not be read for `error`: nothing for a missing file,
// whose defaults are the rule; the fault otherwise (a FIFO, a folder, a looping link...).
std::string SettingsIniProblemText(const std::string& path, int error);

}  // namespace tavrin
