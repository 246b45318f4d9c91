// The next school year made from a settings file, in the words that tavrin-cli and the desktop
// program show: the two school years, the entries it adds as lines of the comparison, the copies
// not made as they were, and why nothing may be written.
#pragma once

#include <string>
#include <vector>

#include "calendar/NextSchoolYear.h"
#include "model/ImagePacking.h"
#include "model/Result.h"
#include "review/ScheduleDiff.h"

namespace tavrin {

struct NextYearReport {
  NextYearPlan plan;
  // "2026 年 4月～2027 年 3月 → 2027 年 4月～2028 年 3月"
  std::string heading;
  // What the next school year adds, as the comparison of the old schedule with the new one
  // lists it ("[期間設定] 追加 2027 年 4月5日～4月9日: P3").
  std::vector<Difference> added;
  // One line for each copy that is not made, or not as its source was.
  std::vector<std::string> notes;
  // Why nothing may be written; empty when the new schedule may be.
  std::string refusal;
};

// The first year whose grids `image` holds: the school year starts there, whatever the clock.
// Refused when it holds no year of the timer's calendar.
Result<int> FirstImageYear(const SettingsImage& image);

// The next school year of `old`, read with its own years (its holiday cells known by
// `context.holidays`), in a schedule of `context.years`.
Result<NextYearReport> NextSchoolYearOf(const SettingsImage& old, const ImageContext& context,
                                        const NextYearOptions& options);

// "2026 年 4月～2027 年 3月"
std::string SchoolYearText(const SchoolYear& school);
// The line of a copy that is not made as its source was; empty for one that is.
std::string CopyNote(const NextYearCopy& copy, const YearPair& newYears);

}  // namespace tavrin
