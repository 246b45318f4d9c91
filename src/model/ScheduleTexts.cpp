#include "model/ScheduleTexts.h"

#include "model/ScheduleModel.h"
#include "model/ShiftJis.h"

namespace tavrin::texts {

const char* ChannelKindName(int kind) {
  if (kind == kChannelTimeSignal) return kTimeSignal;
  if (kind == kChannelKeep) return kKeep;
  return "";
}

const char* KeepActionName(int action) {
  return kKeepActions[action == kKeepOn || action == kKeepOff ? action : kKeepNone];
}

std::string YearText(int year) {
  return year == tavrin::kEveryYear ? std::string(kEveryYear) : std::to_string(year) + " 年";
}

std::string ChimeItem(const IniSettings& settings, int position) {
  if (position == 0) return kNoChime;
  const std::optional<ChimeRecord> record = ChimeEntry(settings, position);
  if (!record) return {};
  return std::to_string(position) + "." +
         FromShiftJis(FieldText(record->name.data(), record->name.size()));
}

std::string FrequencyText(int frequency, bool television) {
  if (frequency == 0) return {};
  if (television) return std::to_string(frequency);
  return std::to_string(frequency / 10) + "." + std::to_string(frequency % 10);
}

}  // namespace tavrin::texts
