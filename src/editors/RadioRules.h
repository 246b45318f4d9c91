// The radio page's rules: which station the page shows when it opens, what selecting a station of
// the tree puts into the name and frequency fields, and how OK checks and stores the frequency.
#pragma once

#include <string>
#include <string_view>

#include "editors/StationTable.h"
#include "model/ImagePacking.h"
#include "model/Result.h"
#include "model/ScheduleModel.h"

namespace tavrin::radio {

inline constexpr char kCaption[] = "ラジオ選局";
inline constexpr char kFrequencyLabel[] = "周波数：";
inline constexpr char kUnitLabel[] = "MHz";

// What the page's fields show.
struct StationView {
  std::string name;       // Shift-JIS, at most kStationBytes bytes, cut on a character boundary
  std::string frequency;  // the frequency field's text
  bool frequencyLabels = true;  // "周波数：" and "MHz"; blank for a television channel
  int selectedKey = -1;         // the tree's station; -1 when the name is in neither table
};

// A stored frequency means a television channel only beside a television channel's name
// (`sjisName`); beside any other name 901..903 are 90.1..90.3 MHz. The text is the page's.
std::string FrequencyText(int frequency, std::string_view sjisName);
// The model's station frequency as the page shows it, for the reports.
std::string FrequencyText(const ScheduleModel& model);
// The model's station as the reports and the comparison name it (UTF-8): its name, a blank and its
// frequency, with "MHz" after a broadcast frequency ("東京 82.5MHz", "１ｃｈ 901", and beside a
// channel's name "１ｃｈ 82.4MHz"); `none` when the model has no station (frequency 0).
std::string StationText(const ScheduleModel& model, const std::string& none);

// The page opening. The model's own station is shown as it is stored, so that OK without a
// change stores it again unchanged; only a model without one (frequency 0) shows the view's
// remembered station, which itself falls back to 東京 82.5 when out of the broadcast and
// television ranges. Nothing is written into the model.
StationView OpenStation(const ScheduleModel& model, RadioStation& remembered);

// A station picked in the tree. The station shown at the opening keeps the frequency it was shown
// with, so that a corrected frequency survives picking the station again.
StationView SelectStation(const StationRecord& station, const StationView& opened);

// OK: the frequency field in 0.1 MHz. Empty, anything but digits with at most one ".", 0, and a
// value beyond 16 bits are refused with the page's messages. A television channel reads its
// leading digits; a station its MHz to one decimal (82.56 gives 825).
Result<int> ReadFrequency(std::string_view text, bool television);

// OK: checks the fields and stores them into the model and the remembered station. The model is
// left byte for byte as it is when the page shows what it already holds.
Result<void> StoreStation(const std::string& name, std::string_view frequencyText,
                          ScheduleModel& model, RadioStation& remembered);

}  // namespace tavrin::radio
