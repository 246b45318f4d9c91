#include "editors/RadioRules.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "model/ScheduleTexts.h"
#include "model/ShiftJis.h"
#include "model/TimerLimits.h"

namespace tavrin::radio {
namespace {

constexpr char kMissing[] = "＜周波数＞の指定が有りません。";
constexpr char kInvalid[] = "＜周波数＞の設定値が不正です。";
// Any run of digits longer than a 16-bit value reads as this, which is out of range.
constexpr int kDigitCap = 1'000'000;

bool InRange(int frequency) {
  return limits::kBroadcast.Holds(frequency) || limits::kTelevision.Holds(frequency);
}

std::string ModelName(const ScheduleModel& model) {
  return FieldText(model.radioStation.data(), model.radioStation.size());
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int LeadingNumber(std::string_view digits) {
  int value = 0;
  for (char c : digits) {
    if (!IsDigit(c)) break;
    value = std::min(value * 10 + (c - '0'), kDigitCap);
  }
  return value;
}

StationView ShowStation(std::string name, int frequency) {
  StationView view;
  view.name = CutShiftJis(name, kStationBytes);
  view.frequency = FrequencyText(frequency, view.name);
  if (const StationRecord* station = FindStation(view.name)) view.selectedKey = station->key;
  view.frequencyLabels = FindTelevision(view.name) == nullptr;
  return view;
}

}  // namespace

std::string FrequencyText(int frequency, std::string_view sjisName) {
  return texts::FrequencyText(frequency, FindTelevision(sjisName) != nullptr);
}

std::string FrequencyText(const ScheduleModel& model) {
  return FrequencyText(model.radioFrequency, CutShiftJis(ModelName(model), kStationBytes));
}

std::string StationText(const ScheduleModel& model, const std::string& none) {
  if (model.radioFrequency == 0) return none;
  const std::string name = CutShiftJis(ModelName(model), kStationBytes);
  // A television channel goes by its number alone, as the radio page shows it. Beside a channel's
  // name a broadcast frequency is still what the timer tunes to, and reads as one.
  const bool television =
      FindTelevision(name) != nullptr && limits::kTelevision.Holds(model.radioFrequency);
  return FromShiftJis(name) + " " + texts::FrequencyText(model.radioFrequency, television) +
         (television ? "" : kUnitLabel);
}

StationView OpenStation(const ScheduleModel& model, RadioStation& remembered) {
  if (!InRange(remembered.frequency)) remembered = RadioStation{};
  if (model.radioFrequency != 0) return ShowStation(ModelName(model), model.radioFrequency);
  return ShowStation(remembered.name, remembered.frequency);
}

StationView SelectStation(const StationRecord& station, const StationView& opened) {
  StationView view;
  view.name = CutShiftJis(ToShiftJis(station.station).value_or(std::string()), kStationBytes);
  view.frequency = view.name == opened.name ? opened.frequency : station.frequency;
  view.selectedKey = station.key;
  return view;
}

Result<int> ReadFrequency(std::string_view text, bool television) {
  if (text.empty()) return Fail(kMissing);
  const bool wellFormed =
      std::all_of(text.begin(), text.end(), [](char c) { return IsDigit(c) || c == '.'; }) &&
      std::count(text.begin(), text.end(), '.') <= 1;
  if (!wellFormed) return Fail(kInvalid);
  int value = LeadingNumber(text);
  if (!television) {
    const std::size_t point = text.find('.');
    const bool tenth = point != std::string_view::npos && point + 1 < text.size();
    value = std::min(value * 10 + (tenth ? text[point + 1] - '0' : 0), kDigitCap);
  }
  // 0 and values past 16 bits would reach the image as 0, which packing replaces by 東京.
  if (value == 0 || value > UINT16_MAX) return Fail(kInvalid);
  return value;
}

Result<void> StoreStation(const std::string& name, std::string_view frequencyText,
                          ScheduleModel& model, RadioStation& remembered) {
  Result<int> frequency = ReadFrequency(frequencyText, FindTelevision(name) != nullptr);
  if (!frequency) return Fail(frequency.message());
  const std::string stored = CutShiftJis(name, kStationBytes);
  if (*frequency != model.radioFrequency ||
      stored != CutShiftJis(ModelName(model), kStationBytes)) {
    model.radioFrequency = static_cast<uint16_t>(*frequency);
    model.radioStation.fill(0);
    std::memcpy(model.radioStation.data(), stored.data(), stored.size());
  }
  remembered = {*frequency, stored};
  return {};
}

}  // namespace tavrin::radio
