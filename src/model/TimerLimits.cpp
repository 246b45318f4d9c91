#include "model/TimerLimits.h"

#include <algorithm>

namespace tavrin {

namespace limits {

Range Days(int year, int month) { return {1, MonthLength(year, month)}; }

bool PeriodInOrder(int startMonth, int startDay, int endMonth, int endDay) {
  return endMonth * 100 + endDay >= startMonth * 100 + startDay;
}

bool SummerTimeInOrder(int startMonth, int startWeek, int endMonth, int endWeek) {
  return endMonth > startMonth || (endMonth == startMonth && startWeek < endWeek);
}

}  // namespace limits

namespace {

using namespace limits;

class Walk {
 public:
  explicit Walk(const ScheduleModel& model) : m_(model) {}

  std::vector<Breach> Run() {
    Annual();
    for (int i = 0; i < kChannelCount; ++i) Channel(i);
    Value(Field::StepCount, 0, m_.stepCount);
    for (int slot = 0; slot < kStepCount; ++slot) Step(slot);
    SummerTime();
    return std::move(breaches_);
  }

 private:
  // The value against the field's declared range.
  bool Value(Field field, int slot, long long value, int day = 0) {
    const FieldRecord& record = RecordOf(field);
    return Within(field, slot, value, record.range, record.zero == Zero::Unset, day);
  }

  // The value against a range that other fields decide; `mayBeUnset`: 0 is accepted too.
  bool Within(Field field, int slot, long long value, Range range, bool mayBeUnset, int day = 0) {
    if (range.Holds(value) || (mayBeUnset && value == 0)) return true;
    Breach breach;
    breach.field = field;
    breach.slot = slot;
    breach.day = day;
    breach.value = value;
    breach.range = range;
    breach.mayBeUnset = mayBeUnset;
    breaches_.push_back(breach);
    return false;
  }

  void Leftover(Field field, int slot, long long value, int day = 0) {
    if (value == 0) return;
    Breach breach;
    breach.kind = Breach::Kind::Leftover;
    breach.field = field;
    breach.slot = slot;
    breach.day = day;
    breach.value = value;
    breaches_.push_back(breach);
  }

  bool Holds(Rule rule, int slot, bool holds, long long value = 0) {
    if (holds) return true;
    Breach breach;
    breach.kind = Breach::Kind::Broken;
    breach.rule = rule;
    breach.slot = slot;
    breach.value = value;
    breaches_.push_back(breach);
    return false;
  }

  // Month, then the day within that month's length in `year`.
  bool MonthAndDay(Field monthField, Field dayField, int slot, int year, int month, int day) {
    return Value(monthField, slot, month) && Within(dayField, slot, day, Days(year, month), false);
  }

  void Year(Field field, int slot, int year) {
    if (year != kEveryYear) Value(field, slot, year);
  }

  void Annual() {
    Value(Field::BasicProgram, 0, m_.basicProgram);
    Value(Field::HolidayEnabled, 0, m_.holidayEnabled);
    // A holiday setting in force names its program; one switched off may keep a program or none.
    Within(Field::HolidayProgram, 0, m_.holidayProgram, RecordOf(Field::HolidayProgram).range,
           m_.holidayEnabled == 0);
    Value(Field::LeapStartProgram, 0, m_.leapStartProgram);
    Value(Field::LeapEndProgram, 0, m_.leapEndProgram);
    for (int slot = 0; slot < kPeriodCount; ++slot) Period(slot);
    for (int slot = 0; slot < kDateCount; ++slot) Date(slot);
  }

  void Period(int slot) {
    const PeriodEntry& p = m_.periods[slot];
    if (p.year == 0) {  // an empty slot
      Leftover(Field::PeriodProgram, slot, p.program);
      Leftover(Field::PeriodStartMonth, slot, p.startMonth);
      Leftover(Field::PeriodStartDay, slot, p.startDay);
      Leftover(Field::PeriodEndMonth, slot, p.endMonth);
      Leftover(Field::PeriodEndDay, slot, p.endDay);
      return;
    }
    Year(Field::PeriodYear, slot, p.year);
    Value(Field::PeriodProgram, slot, p.program);
    const bool start = MonthAndDay(Field::PeriodStartMonth, Field::PeriodStartDay, slot, p.year,
                                   p.startMonth, p.startDay);
    const bool end =
        MonthAndDay(Field::PeriodEndMonth, Field::PeriodEndDay, slot, p.year, p.endMonth, p.endDay);
    if (start && end) {
      Holds(Rule::PeriodInOrder, slot,
            PeriodInOrder(p.startMonth, p.startDay, p.endMonth, p.endDay));
    }
  }

  void Date(int slot) {
    const DateEntry& d = m_.dates[slot];
    if (d.year == 0) {
      Leftover(Field::DateProgram, slot, d.program);
      Leftover(Field::DateMonth, slot, d.month);
      Leftover(Field::DateDay, slot, d.day);
      return;
    }
    Year(Field::DateYear, slot, d.year);
    Value(Field::DateProgram, slot, d.program);
    MonthAndDay(Field::DateMonth, Field::DateDay, slot, d.year, d.month, d.day);
  }

  void Channel(int index) {
    const ChannelSetting& c = m_.channels[index];
    if (!Value(Field::ChannelKind, index, c.kind)) return;
    if (c.kind != kChannelTimeSignal) {
      // A keep channel stores zeros; a channel taken out of use is cleared.
      Leftover(Field::SignalMinutes, index, c.signalMinutes);
      Leftover(Field::SignalSeconds, index, c.signalSeconds);
      Leftover(Field::RiseTime, index, c.riseTime);
      return;
    }
    const bool minutes = Value(Field::SignalMinutes, index, c.signalMinutes);
    const bool seconds = Value(Field::SignalSeconds, index, c.signalSeconds);
    Value(Field::RiseTime, index, c.riseTime);
    const int length = c.signalMinutes * 60 + c.signalSeconds;
    if (minutes && seconds) Holds(Rule::SignalLength, index, kSignalLength.Holds(length), length);
  }

  void Step(int slot) {
    const WeeklyStep& s = m_.steps[slot];
    if (s.program == 0 && s.channel == 0) {  // a free slot
      for (int day = 0; day < 7; ++day) Leftover(Field::StepDay, slot, s.days[day], day);
      Leftover(Field::StepHour, slot, s.hour);
      Leftover(Field::StepMinute, slot, s.minute);
      Leftover(Field::StepAction, slot, s.action);
      return;
    }
    // A slot with only one of the two is neither used nor free: packing drops it.
    if (s.channel == 0) {
      Value(Field::StepChannel, slot, 0);
      return;
    }
    if (s.program == 0) {
      Value(Field::StepProgram, slot, 0);
      return;
    }
    Value(Field::StepProgram, slot, s.program);
    const bool channel = Value(Field::StepChannel, slot, s.channel);
    Value(Field::StepHour, slot, s.hour);
    Value(Field::StepMinute, slot, s.minute);
    for (int day = 0; day < 7; ++day) Value(Field::StepDay, slot, s.days[day], day);
    Holds(Rule::StepHasDay, slot, std::ranges::any_of(s.days, [](uint8_t d) { return d != 0; }));
    if (!channel) return;
    switch (ChannelKindOf(m_, s.channel)) {
      case kChannelTimeSignal:
        Value(Field::StepChime, slot, s.action);
        return;
      case kChannelKeep:
        Value(Field::StepKeepAction, slot, s.action);
        return;
      default:
        Holds(Rule::StepOnChannelInUse, slot, false);
        return;
    }
  }

  void SummerTime() {
    const SummerTimeRule& r = m_.summerTime;
    Value(Field::SummerTimeEnabled, 0, m_.summerTimeEnabled);
    struct Point {
      int month, week, weekday, hour;
    };
    const Point points[2] = {{r.startMonth, r.startWeek, r.startWeekday, r.startHour},
                             {r.endMonth, r.endWeek, r.endWeekday, r.endHour}};
    bool inRange = true;
    for (int i = 0; i < 2; ++i) {
      const Point& p = points[i];
      inRange &= Value(Field::SummerMonth, i, p.month);
      inRange &= Value(Field::SummerWeek, i, p.week);
      inRange &= Value(Field::SummerWeekday, i, p.weekday);
      Value(Field::SummerHour, i, p.hour);
    }
    // The page shows week and hour only beside a month: a rule switched off that shows no month
    // and no weekday is no rule at all.
    const bool showsNothing =
        r.startMonth == 0 && r.startWeekday == 0 && r.endMonth == 0 && r.endWeekday == 0;
    if (m_.summerTimeEnabled == 0 && showsNothing) return;
    bool complete = true;
    for (int i = 0; i < 2; ++i) {
      const Point& p = points[i];
      complete &= Holds(Rule::SummerTimeComplete, i, p.month != 0 && p.week != 0 && p.weekday != 0);
    }
    if (complete && inRange) {
      Holds(Rule::SummerTimeInOrder, 0,
            SummerTimeInOrder(r.startMonth, r.startWeek, r.endMonth, r.endWeek));
    }
  }

  const ScheduleModel& m_;
  std::vector<Breach> breaches_;
};

}  // namespace

std::vector<Breach> FindBreaches(const ScheduleModel& model) { return Walk(model).Run(); }

}  // namespace tavrin
