// "編集(&E)" › "次の年度を作成(&N)..." as the desktop program decides it: which schedule the next
// school year is made from, the offer made once when an opened file holds an older year than the
// clock's, and the new schedule put in place of the working one. The dialog only shows this.
#pragma once

#include <optional>
#include <string>

#include "app/TavrinViewModel.h"
#include "review/NextYearReport.h"

namespace tavrin {

inline constexpr char kNextYearMenuText[] = "次の年度を作成(&N)...";

// The schedule the next school year is made from: the document's file as it was opened or saved,
// which still holds the years it was made for, while the working schedule is what that file
// gives; after changes, the working schedule as saving would store it.
SettingsImage NextYearSource(TavrinViewModel& view);

// The next school year of NextYearSource in the clock's two years.
Result<NextYearReport> PreviewNextYear(TavrinViewModel& view, const NextYearOptions& options);

// The question the main window asks, once, after a file was opened whose years lie before the
// clock's: whether to make the next school year from it. Nothing when there is no reason to ask.
std::optional<std::string> NextYearOffer(TavrinViewModel& view);

// The next school year in place of the working schedule; the document is then modified.
void ApplyNextYear(TavrinViewModel& view, const NextYearReport& report);

}  // namespace tavrin
