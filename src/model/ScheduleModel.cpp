#include "model/ScheduleModel.h"

#include <cstring>

namespace tavrin {

void ClearModel(ScheduleModel& model) {
  std::memset(&model, 0, sizeof model);
  std::memcpy(model.idText.data(), kIdText, model.idText.size());
  std::memcpy(model.modelTag.data(), kModelTag, model.modelTag.size());
}

bool IsRegistered(const ScheduleModel& model, int program) {
  for (const WeeklyStep& step : model.steps) {
    if (step.used() && step.program == program) return true;
  }
  return false;
}

int ChannelKindOf(const ScheduleModel& model, int channel) {
  if (channel < 1 || channel > kChannelCount) return kChannelUnused;
  return model.channels[static_cast<std::size_t>(channel - 1)].kind;
}

bool IsChannelInUse(int kind) { return kind == kChannelTimeSignal || kind == kChannelKeep; }

}  // namespace tavrin
