// The values a schedule may hold, declared once: the range of every field and the rules that join
// fields, as the timer runs them and the editors produce them. The editors' lists offer these
// ranges and their checks accept them, strict packing refuses a schedule that breaks one, and the
// schedule check reports every breach; they differ only in their words and in how hard they take
// a breach.
#pragma once

#include <vector>

#include "model/Dates.h"
#include "model/IniSettings.h"
#include "model/ScheduleModel.h"

namespace tavrin {

struct Range {
  int low;
  int high;
  constexpr bool Holds(long long value) const { return value >= low && value <= high; }
};

namespace limits {

inline constexpr Range kProgram{1, kMaxProgram};
inline constexpr Range kSwitch{0, 1};  // the holiday and summer-time switches, a step's day flags
inline constexpr Range kChannelKind{kChannelUnused, kChannelKeep};
inline constexpr Range kChannel{1, kChannelCount};
inline constexpr Range kSignalMinutes{0, 60};
inline constexpr Range kSignalSeconds{0, 59};
inline constexpr Range kSignalLength{1, 3600};  // seconds a time signal sounds
inline constexpr Range kRiseTime{0, 3};
inline constexpr Range kUsedSteps{0, kStepCount};
inline constexpr Range kHour{0, 23};
inline constexpr Range kMinute{0, 59};
inline constexpr Range kKeepAction{kKeepOn, kKeepOff};
inline constexpr Range kChimeCode{0, kHighestChimeCode};  // 0 sounds no chime
inline constexpr Range kYear{kFirstYear, kLastYear};      // besides kEveryYear
inline constexpr Range kMonth{1, 12};
inline constexpr Range kGridDay{1, kGridDays};  // what a day list offers, before the month is known
inline constexpr Range kWeek{1, 5};             // 5: the last such weekday of the month
inline constexpr Range kWeekday{1, 7};          // Sunday first
// FM broadcast 76.0..90.0 MHz, and the television sound channels 1..3.
inline constexpr Range kBroadcast{760, 900};
inline constexpr Range kTelevision{901, 903};

// The days of `month` in `year`; 29 February in years divisible by 4 and in kEveryYear.
Range Days(int year, int month);
// A period runs forward within the year: it ends on the day it starts or later.
bool PeriodInOrder(int startMonth, int startDay, int endMonth, int endDay);
// Summer time ends after it starts within the year: in a later month, or in a later week of the
// same month.
bool SummerTimeInOrder(int startMonth, int startWeek, int endMonth, int endWeek);

}  // namespace limits

// Every field a limit applies to.
enum class Field {
  BasicProgram,
  HolidayEnabled,
  HolidayProgram,
  LeapStartProgram,
  LeapEndProgram,
  PeriodYear,
  PeriodProgram,
  PeriodStartMonth,
  PeriodStartDay,
  PeriodEndMonth,
  PeriodEndDay,
  DateYear,
  DateProgram,
  DateMonth,
  DateDay,
  ChannelKind,
  SignalMinutes,
  SignalSeconds,
  RiseTime,
  StepCount,
  StepProgram,
  StepChannel,
  StepHour,
  StepMinute,
  StepDay,
  StepAction,
  SummerTimeEnabled,
  SummerMonth,
  SummerWeek,
  SummerWeekday,
  SummerHour,
};

// The rules that join fields.
enum class Rule {
  SignalLength,        // a time-signal channel sounds for kSignalLength seconds
  StepHasDay,          // a step in use fires on at least one weekday
  StepOnChannelInUse,  // a step in use is on a time-signal or keep channel
  PeriodInOrder,
  SummerTimeComplete,  // both points have month, week and weekday, unless the rule is off and
                       // shows nothing
  SummerTimeInOrder,
};

struct Breach {
  enum class Kind {
    Outside,   // a value outside its field's range
    Leftover,  // a value where the record holds none: in an empty slot, or in the signal fields
               // of a channel that gives no time signal
    Broken,    // a rule
  };
  Kind kind = Kind::Outside;
  Field field = Field::BasicProgram;  // Outside and Leftover
  Rule rule = Rule::SignalLength;     // Broken
  // The table slot of a period, date or step; the channel index 0..7; the summer-time point (0
  // start, 1 end); 0 for a single field.
  int slot = 0;
  int day = 0;  // StepDay: the weekday, Sunday 0
  // Outside and Leftover: the value; SignalLength: the signal's length in seconds.
  long long value = 0;
  Range range{0, 0};        // Outside: the values a set field takes
  bool mayBeUnset = false;  // Outside: 0 is accepted as well, meaning "not set"

  // The values the field accepts, 0 included where it means "not set".
  Range Accepted() const { return mayBeUnset ? Range{0, range.high} : range; }
};

// Every breach of `model`: the annual settings (basic, holiday, periods, dates), then channels,
// steps and summer time, each in table order. Empty for a schedule the editors could have made.
std::vector<Breach> FindBreaches(const ScheduleModel& model);

}  // namespace tavrin
