// The start-up load of the holiday file and the problem reported one second later.
#pragma once

#include <optional>
#include <string>

#include "calendar/HolidayFile.h"

namespace tavrin {

enum class HolidayLoadState { Loaded, FolderFailed, FileFailed };

// Clears `table`, then reads the holiday file of `dataFolder` (nothing when the data folder could
// not be prepared). A file that opens but holds no year counts as failed.
HolidayLoadState LoadHolidays(const std::optional<std::string>& dataFolder, HolidayTable& table);

inline constexpr char kHolidayCaption[] = "祭日設定";
inline constexpr int kHolidayReportDelayMs = 1000;  // window timer 10, one shot

// The two-line message for a failed load; empty when the load succeeded.
std::string HolidayProblemText(HolidayLoadState state);

}  // namespace tavrin
