#include "calendar/ModelLimits.h"

#include <iterator>
#include <string>

#include "calendar/SummerTimeRules.h"
#include "model/TimerLimits.h"
#include "model/Translation.h"

namespace tavrin {
namespace {

// How a field is found in the model's JSON: "basicProgram", "channels[0].kind",
// "steps[slot 3].hour", "summerTime.endHour" (a point's fields are its start or end).
enum class Index { None, Channel, Slot, Point };
struct FieldName {
  Field field;
  Index index;
  const char* table;
  const char* name;
};
constexpr FieldName kNames[] = {
    {Field::BasicProgram, Index::None, "", "basicProgram"},
    {Field::HolidayEnabled, Index::None, "", "holidayEnabled"},
    {Field::HolidayProgram, Index::None, "", "holidayProgram"},
    {Field::LeapStartProgram, Index::None, "", "leapStartProgram"},
    {Field::LeapEndProgram, Index::None, "", "leapEndProgram"},
    {Field::PeriodYear, Index::Slot, "periods", "year"},
    {Field::PeriodProgram, Index::Slot, "periods", "program"},
    {Field::PeriodStartMonth, Index::Slot, "periods", "startMonth"},
    {Field::PeriodStartDay, Index::Slot, "periods", "startDay"},
    {Field::PeriodEndMonth, Index::Slot, "periods", "endMonth"},
    {Field::PeriodEndDay, Index::Slot, "periods", "endDay"},
    {Field::DateYear, Index::Slot, "dates", "year"},
    {Field::DateProgram, Index::Slot, "dates", "program"},
    {Field::DateMonth, Index::Slot, "dates", "month"},
    {Field::DateDay, Index::Slot, "dates", "day"},
    {Field::ChannelKind, Index::Channel, "channels", "kind"},
    {Field::SignalMinutes, Index::Channel, "channels", "signalMinutes"},
    {Field::SignalSeconds, Index::Channel, "channels", "signalSeconds"},
    {Field::RiseTime, Index::Channel, "channels", "riseTime"},
    {Field::StepCount, Index::None, "", "stepCount"},
    {Field::StepProgram, Index::Slot, "steps", "program"},
    {Field::StepChannel, Index::Slot, "steps", "channel"},
    {Field::StepHour, Index::Slot, "steps", "hour"},
    {Field::StepMinute, Index::Slot, "steps", "minute"},
    {Field::StepDay, Index::Slot, "steps", "days"},
    {Field::StepAction, Index::Slot, "steps", "action"},
    {Field::SummerTimeEnabled, Index::None, "", "summerTimeEnabled"},
    {Field::SummerMonth, Index::Point, "summerTime", "Month"},
    {Field::SummerWeek, Index::Point, "summerTime", "Week"},
    {Field::SummerWeekday, Index::Point, "summerTime", "Weekday"},
    {Field::SummerHour, Index::Point, "summerTime", "Hour"},
};

constexpr bool ListedInEnumOrder() {
  for (std::size_t i = 0; i < std::size(kNames); ++i) {
    if (static_cast<std::size_t>(kNames[i].field) != i) return false;
  }
  return true;
}
static_assert(ListedInEnumOrder());

std::string Where(Field field, int slot, int day) {
  const FieldName& name = kNames[static_cast<std::size_t>(field)];
  switch (name.index) {
    case Index::None:
      return name.name;
    case Index::Channel:
      return std::string(name.table) + "[" + std::to_string(slot) + "]." + name.name;
    case Index::Point:
      return std::string(name.table) + "." + (slot == 0 ? "start" : "end") + name.name;
    case Index::Slot:
      break;
  }
  std::string where = std::string(name.table) + "[slot " + std::to_string(slot) + "]." + name.name;
  if (field == Field::StepDay) where += "[" + std::to_string(day) + "]";
  return where;
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
