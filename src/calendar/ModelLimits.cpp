#include "calendar/ModelLimits.h"

#include <string>

#include "calendar/SummerTimeRules.h"
#include "model/TimerLimits.h"
#include "model/Translation.h"

namespace tavrin {
namespace {

// The field as the model's JSON names it, with its slot: "basicProgram", "channels[0].kind",
// "steps[slot 3].hour", "steps[slot 3].days[1]", "summerTime.endHour".
std::string Where(Field field, int slot, int day) {
  const FieldRecord& record = RecordOf(field);
  const std::string table = record.table;
  switch (record.index) {
    case FieldIndex::None:
      return record.key;
    case FieldIndex::Channel:
      return table + "[" + std::to_string(slot) + "]." + record.key;
    case FieldIndex::Point:
      return table + "." + (slot == 0 ? "start" : "end") + record.key;
    case FieldIndex::Slot:
      return table + "[slot " + std::to_string(slot) + "]." + record.key;
    case FieldIndex::SlotDay:
      return table + "[slot " + std::to_string(slot) + "]." + record.key + "[" +
             std::to_string(day) + "]";
  }
  return record.key;
}

std::string RuleText(const Breach& breach, const ScheduleModel& model) {
  const std::string slot = "[slot " + std::to_string(breach.slot) + "]";
  switch (breach.rule) {
    case Rule::SignalLength:
      return "channels[" + std::to_string(breach.slot) + "]: " +
             TrFormat("a time signal lasts %s to %s seconds, not %s",
                      {std::to_string(limits::kSignalLength.low),
                       std::to_string(limits::kSignalLength.high), std::to_string(breach.value)});
    case Rule::StepHasDay:
      return "steps" + slot + ".days: " + Tr("a step in use fires on at least one day");
    case Rule::StepOnChannelInUse:
      return "steps" + slot + ".channel: " +
             TrFormat("channel %s is not in use",
                      {std::to_string(model.steps[breach.slot].channel)});
    case Rule::PeriodInOrder:
      return "periods" + slot + ".endMonth: " + Tr("the period ends before it starts");
    case Rule::SummerTimeComplete:
    case Rule::SummerTimeInOrder:
      // The rule is judged in the summer-time page's words.
      return "summerTime: " +
             summer::Check(model.summerTimeEnabled != 0, summer::Fill(model.summerTime)).message();
  }
  return {};
}

std::string LeftoverText(const Breach& breach) {
  const std::string where = Where(breach.field, breach.slot, breach.day);
  switch (breach.field) {
    case Field::SignalMinutes:
    case Field::SignalSeconds:
    case Field::RiseTime:
      return where + ": " + Tr("only a time-signal channel has a signal length and rise time");
    case Field::StepHour:
    case Field::StepMinute:
    case Field::StepDay:
    case Field::StepAction:
      return where + ": " + Tr("an empty slot (program and channel 0) holds nothing else");
    default:
      return where + ": " + Tr("year 0 marks an empty slot, which holds nothing else");
  }
}

std::string BreachText(const Breach& breach, const ScheduleModel& model) {
  switch (breach.kind) {
    case Breach::Kind::Outside: {
      const Range accepted = breach.Accepted();
      return Where(breach.field, breach.slot, breach.day) + ": " +
             TrFormat("%s is outside %s..%s",
                      {std::to_string(breach.value), std::to_string(accepted.low),
                       std::to_string(accepted.high)});
    }
    case Breach::Kind::Leftover:
      return LeftoverText(breach);
    case Breach::Kind::Broken:
      return RuleText(breach, model);
  }
  return {};
}

}  // namespace

Result<> CheckEditorLimits(const ScheduleModel& model) {
  const std::vector<Breach> breaches = FindBreaches(model);
  if (breaches.empty()) return {};
  return Fail(BreachText(breaches.front(), model));
}

}  // namespace tavrin
