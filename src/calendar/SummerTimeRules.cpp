#include "calendar/SummerTimeRules.h"

#include <array>
#include <cstdint>

#include "model/ScheduleTexts.h"
#include "model/TimerLimits.h"

namespace tavrin::summer {
namespace {

// The page's columns are the rule's fields, and say the editor's words for them.
constexpr std::array<const char*, kCols> kItems = {
    RecordOf(Field::SummerMonth).label, RecordOf(Field::SummerWeek).label,
    RecordOf(Field::SummerWeekday).label, RecordOf(Field::SummerHour).label};

const std::array<std::string, kCols>& Lists() {
  static const std::array<std::string, kCols> lists = [] {
    std::string weekdays;
    for (const char* day : texts::kWeekdays) {
      weekdays += (weekdays.empty() ? "" : "|") + std::string(day) + texts::kWeekdaySuffix;
    }
    return std::array<std::string, kCols>{MonthList(), JoinList(texts::kWeeks), weekdays,
                                          HourList()};
  }();
  return lists;
}

const std::string& List(int col) { return Lists()[static_cast<std::size_t>(col)]; }

std::string WithItem(const std::string& pattern, const std::string& item) {
  return FormatMessage(pattern, item);
}

void FillRow(TextTable& table, int row, uint8_t month, uint8_t week, uint8_t weekday,
             uint8_t hour) {
  table.at(row, kMonthCol) = ListItem(List(kMonthCol), month);
  if (month != 0) {
    table.at(row, kWeekCol) = ListItem(List(kWeekCol), week);
    table.at(row, kHourCol) = ListItem(List(kHourCol), hour + 1);
  }
  table.at(row, kWeekdayCol) = ListItem(List(kWeekdayCol), weekday);
}

uint8_t StoredValue(const TextTable& table, int row, int col) {
  if (col == kHourCol) {
    int hour = ReadCellNumber(table.at(row, col)).value_or(0);
    return static_cast<uint8_t>(limits::kHour.Holds(hour) ? hour : 0);
  }
  return static_cast<uint8_t>(ListPosition(List(col), table.at(row, col)));
}

}  // namespace

grid::CellList ColumnChoices(int col) {
  const std::string& list = Lists().at(static_cast<std::size_t>(col));
  return col == kWeekdayCol ? TextChoices(list) : NumberChoices(list);
}
const char* ColumnItem(int col) { return kItems.at(static_cast<std::size_t>(col)); }

TextTable Fill(const SummerTimeRule& rule) {
  TextTable table(kRows, kCols);
  FillRow(table, 0, rule.startMonth, rule.startWeek, rule.startWeekday, rule.startHour);
  FillRow(table, 1, rule.endMonth, rule.endWeek, rule.endWeekday, rule.endHour);
  return table;
}

Verdict Check(bool enabled, const TextTable& table) {
  if (!enabled && table.AllEmpty()) return {};
  static constexpr std::array<const char*, kRows> kMissing = {"開始の＜%s＞の指定が有りません。",
                                                              "終了の＜%s＞の指定が有りません。"};
  for (int row = 0; row < kRows; ++row)
    for (int col = 0; col < kCols; ++col)
      if (table.at(row, col).empty())
        return Verdict({row, col}, WithItem(kMissing[row], kItems[col]));

  int startMonth = ListPosition(List(kMonthCol), table.at(0, kMonthCol));
  int endMonth = ListPosition(List(kMonthCol), table.at(1, kMonthCol));
  int startWeek = ListPosition(List(kWeekCol), table.at(0, kWeekCol));
  int endWeek = ListPosition(List(kWeekCol), table.at(1, kWeekCol));
  if (limits::SummerTimeInOrder(startMonth, startWeek, endMonth, endWeek)) return {};
  return Verdict({1, endMonth < startMonth ? kMonthCol : kWeekCol},
                 WithItem("＜%s＞の指定が不正です。", "開始と終了"));
}

bool Validate(bool enabled, const TextTable& table, MessageSink& sink, CellPos& cursor) {
  return ShowVerdict(Check(enabled, table), sink, kCaption, cursor);
}

void Store(bool enabled, const TextTable& table, ScheduleModel& model) {
  model.summerTimeEnabled = enabled ? 1 : 0;
  SummerTimeRule& rule = model.summerTime;
  rule.startMonth = StoredValue(table, 0, kMonthCol);
  rule.startWeek = StoredValue(table, 0, kWeekCol);
  rule.startWeekday = StoredValue(table, 0, kWeekdayCol);
  rule.startHour = StoredValue(table, 0, kHourCol);
  rule.endMonth = StoredValue(table, 1, kMonthCol);
  rule.endWeek = StoredValue(table, 1, kWeekCol);
  rule.endWeekday = StoredValue(table, 1, kWeekdayCol);
  rule.endHour = StoredValue(table, 1, kHourCol);
}

}  // namespace tavrin::summer
