#include "editors/OverviewRules.h"

#include <cstdio>

#include "editors/StepRules.h"
#include "editors/WeeklyGroups.h"

namespace tavrin::overview {
namespace {

std::string Padded(int value, const char* unit) {
  char text[16];
  std::snprintf(text, sizeof text, "%2d ", value);
  return text + std::string(unit);
}

}  // namespace

std::vector<Row> Rows(const ScheduleModel& model, const IniSettings& settings,
                      const std::string& dayMark) {
  const steps::ActionChoices chimes(kChannelTimeSignal, settings);
  const steps::ActionChoices keep(kChannelKeep, settings);
  std::vector<Row> rows;
  for (const WeeklyStep& step : model.steps) {
    if (!step.used()) continue;
    Row row;
    row.cells[kProgramCol] = std::to_string(step.program);
    row.cells[kHourCol] = Padded(step.hour, "時");
    row.cells[kMinuteCol] = Padded(step.minute, "分");
    row.cells[kChannelCol] = std::to_string(step.channel);
    for (int day = 0; day < kDays; ++day)
      if (step.days[static_cast<std::size_t>(day)]) row.cells[kFirstDayCol + day] = dayMark;
    const int kind = ChannelKindOf(model, step.channel);
    row.timeSignal = kind == kChannelTimeSignal;
    if (row.timeSignal) {
      row.cells[kSettingCol] = chimes.Text(step.action);
    } else if (kind == kChannelKeep && (step.action == kKeepOn || step.action == kKeepOff)) {
      row.cells[kSettingCol] = keep.Text(step.action);
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace tavrin::overview
