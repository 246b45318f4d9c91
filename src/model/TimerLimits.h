// The values a schedule may hold, declared once: the range of every field and the rules that join
// fields, as the timer runs them and the editors produce them. The editors' lists offer these
// ranges and their checks accept them, strict packing refuses a schedule that breaks one, and the
// schedule check reports every breach; they differ only in their words and in how hard they take
// a breach.
#pragma once

#include <cstddef>
#include <iterator>
#include <vector>

#include "model/Dates.h"
#include "model/IniSettings.h"
#include "model/ScheduleModel.h"
#include "model/ScheduleTexts.h"

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

// Every field a limit applies to, in the order of kFields.
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
  StepChime,       // the action of a step on a time-signal channel
  StepKeepAction,  // the action of a step on a keep channel
  StepAction,      // the action byte of a free slot, which holds none
  SummerTimeEnabled,
  SummerMonth,
  SummerWeek,
  SummerWeekday,
  SummerHour,
  Count,  // not a field: how many there are
};

// What 0 in a field means.
enum class Zero {
  Value,    // a value like any other, judged by the range
  Unset,    // not set, which the field may be
  Missing,  // not set, which the field must not be: the schedule lacks it
};

// How a field is numbered: alone ("basicProgram"), per channel ("channels[0].kind"), per slot of
// its table ("steps[slot 3].hour"), per slot and weekday ("steps[slot 3].days[1]") or per point of
// the summer-time rule ("summerTime.startMonth").
enum class FieldIndex { None, Channel, Slot, SlotDay, Point };

// The editor page that shows a field.
enum class FieldPage { Basic, Holiday, Period, Date, Channel, Step, SummerTime };

// One field, declared once: where the model's JSON keeps it, what the editor calls it and the
// values it takes. Strict packing's messages, the schedule check's findings and the editors'
// words about the summer-time rule read it here.
struct FieldRecord {
  Field field;
  FieldPage page;
  FieldIndex index;
  const char* table;  // the JSON's table or record that holds it ("steps"); "" at the top
  const char* key;    // its JSON key ("hour"); a summer-time point's follows "start" or "end"
  const char* label;  // the editor's word; a step's day follows the weekday's name ("月曜日")
  Range range;        // the values it takes when set: a day's is narrowed to its month, a year's
                      // widened by kEveryYear
  Zero zero;
};

inline constexpr FieldRecord kFields[] = {
    {Field::BasicProgram, FieldPage::Basic, FieldIndex::None, "", "basicProgram", "プログラム番号",
     limits::kProgram, Zero::Unset},
    {Field::HolidayEnabled, FieldPage::Holiday, FieldIndex::None, "", "holidayEnabled",
     "祭日設定を実施する", limits::kSwitch, Zero::Value},
    // Unset while the holiday setting is off.
    {Field::HolidayProgram, FieldPage::Holiday, FieldIndex::None, "", "holidayProgram",
     "プログラム番号", limits::kProgram, Zero::Missing},
    {Field::LeapStartProgram, FieldPage::Period, FieldIndex::None, "", "leapStartProgram",
     "2/29 に始まる毎年の期間のプログラム番号", limits::kProgram, Zero::Unset},
    {Field::LeapEndProgram, FieldPage::Period, FieldIndex::None, "", "leapEndProgram",
     "2/29 に終わる毎年の期間のプログラム番号", limits::kProgram, Zero::Unset},
    // Year 0 marks an empty slot.
    {Field::PeriodYear, FieldPage::Period, FieldIndex::Slot, "periods", "year", "開始年",
     limits::kYear, Zero::Value},
    {Field::PeriodProgram, FieldPage::Period, FieldIndex::Slot, "periods", "program",
     "プログラム番号", limits::kProgram, Zero::Missing},
    {Field::PeriodStartMonth, FieldPage::Period, FieldIndex::Slot, "periods", "startMonth",
     "開始月", limits::kMonth, Zero::Value},
    {Field::PeriodStartDay, FieldPage::Period, FieldIndex::Slot, "periods", "startDay", "開始日",
     limits::kGridDay, Zero::Value},
    {Field::PeriodEndMonth, FieldPage::Period, FieldIndex::Slot, "periods", "endMonth", "終了月",
     limits::kMonth, Zero::Value},
    {Field::PeriodEndDay, FieldPage::Period, FieldIndex::Slot, "periods", "endDay", "終了日",
     limits::kGridDay, Zero::Value},
    {Field::DateYear, FieldPage::Date, FieldIndex::Slot, "dates", "year", "実施年", limits::kYear,
     Zero::Value},
    {Field::DateProgram, FieldPage::Date, FieldIndex::Slot, "dates", "program", "プログラム番号",
     limits::kProgram, Zero::Missing},
    {Field::DateMonth, FieldPage::Date, FieldIndex::Slot, "dates", "month", "実施月",
     limits::kMonth, Zero::Value},
    {Field::DateDay, FieldPage::Date, FieldIndex::Slot, "dates", "day", "実施日", limits::kGridDay,
     Zero::Value},
    {Field::ChannelKind, FieldPage::Channel, FieldIndex::Channel, "channels", "kind", "タイプ",
     limits::kChannelKind, Zero::Value},
    {Field::SignalMinutes, FieldPage::Channel, FieldIndex::Channel, "channels", "signalMinutes",
     "報時（分）", limits::kSignalMinutes, Zero::Value},
    {Field::SignalSeconds, FieldPage::Channel, FieldIndex::Channel, "channels", "signalSeconds",
     "報時（秒）", limits::kSignalSeconds, Zero::Value},
    {Field::RiseTime, FieldPage::Channel, FieldIndex::Channel, "channels", "riseTime",
     "立ち上り時間", limits::kRiseTime, Zero::Value},
    {Field::StepCount, FieldPage::Step, FieldIndex::None, "", "stepCount", "ステップ数",
     limits::kUsedSteps, Zero::Value},
    {Field::StepProgram, FieldPage::Step, FieldIndex::Slot, "steps", "program", "プログラム番号",
     limits::kProgram, Zero::Missing},
    {Field::StepChannel, FieldPage::Step, FieldIndex::Slot, "steps", "channel", "チャンネル番号",
     limits::kChannel, Zero::Missing},
    {Field::StepHour, FieldPage::Step, FieldIndex::Slot, "steps", "hour", "時刻（時）",
     limits::kHour, Zero::Value},
    {Field::StepMinute, FieldPage::Step, FieldIndex::Slot, "steps", "minute", "時刻（分）",
     limits::kMinute, Zero::Value},
    {Field::StepDay, FieldPage::Step, FieldIndex::SlotDay, "steps", "days", texts::kWeekdaySuffix,
     limits::kSwitch, Zero::Value},
    {Field::StepChime, FieldPage::Step, FieldIndex::Slot, "steps", "action", "チャイム",
     limits::kChimeCode, Zero::Value},
    {Field::StepKeepAction, FieldPage::Step, FieldIndex::Slot, "steps", "action", "ON / OFF",
     limits::kKeepAction, Zero::Missing},
    {Field::StepAction,
     FieldPage::Step,
     FieldIndex::Slot,
     "steps",
     "action",
     "動作",
     {0, 0},
     Zero::Value},
    {Field::SummerTimeEnabled, FieldPage::SummerTime, FieldIndex::None, "", "summerTimeEnabled",
     "サマータイムを実施する", limits::kSwitch, Zero::Value},
    {Field::SummerMonth, FieldPage::SummerTime, FieldIndex::Point, "summerTime", "Month", "月",
     limits::kMonth, Zero::Unset},
    {Field::SummerWeek, FieldPage::SummerTime, FieldIndex::Point, "summerTime", "Week", "第何週",
     limits::kWeek, Zero::Unset},
    {Field::SummerWeekday, FieldPage::SummerTime, FieldIndex::Point, "summerTime", "Weekday",
     "曜日", limits::kWeekday, Zero::Unset},
    {Field::SummerHour, FieldPage::SummerTime, FieldIndex::Point, "summerTime", "Hour", "実施時刻",
     limits::kHour, Zero::Value},
};

namespace limits {
constexpr bool FieldsInEnumOrder() {
  for (std::size_t i = 0; i < std::size(kFields); ++i) {
    if (static_cast<std::size_t>(kFields[i].field) != i) return false;
  }
  return true;
}
}  // namespace limits
// A field added to the enum and not here, or listed out of order, would be looked up past the
// table's end or under another field's name.
static_assert(std::size(kFields) == static_cast<std::size_t>(Field::Count));
static_assert(limits::FieldsInEnumOrder());

constexpr const FieldRecord& RecordOf(Field field) {
  return kFields[static_cast<std::size_t>(field)];
}

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
  // Outside: the values a set field takes there (the field's own, or a day's in its month)
  Range range{0, 0};
  bool mayBeUnset = false;  // Outside: 0 is accepted as well, meaning "not set"

  // The values the field accepts, 0 included where it means "not set".
  Range Accepted() const { return mayBeUnset ? Range{0, range.high} : range; }
};

// Every breach of `model`: the annual settings (basic, holiday, periods, dates), then channels,
// steps and summer time, each in table order. Empty for a schedule the editors could have made.
std::vector<Breach> FindBreaches(const ScheduleModel& model);

}  // namespace tavrin
