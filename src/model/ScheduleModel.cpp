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

}  // namespace tavrin
