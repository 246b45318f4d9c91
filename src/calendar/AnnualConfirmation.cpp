#include "calendar/AnnualConfirmation.h"

#include <algorithm>

#include "editors/WeeklyGroups.h"

namespace tavrin::confirm {
namespace {

// "%d年%d月%d日", as the messages name a day.
std::string DateText(int year, int month, int day) {
  return std::to_string(year) + "年" + std::to_string(month) + "月" + std::to_string(day) + "日";
}

// The value of a program cell known to be valid or empty; 0 when empty.
int ProgramValue(std::string_view text) {
  int value = 0;
  for (char c : text) value = std::min(value * 10 + (c - '0'), 1000);
  return value;
}

// What a day runs when no individual setting is added: its program, else the basic program.
int RunProgram(const DayCell& day, int basicProgram) {
  return day.program != 0 ? day.program : basicProgram;
}

const char* SourceName(uint8_t source) {
  switch (source) {
    case kSourceIndividual:
      return "個別設定";
    case kSourceHoliday:
      return "祭日設定";
    default:
      return "期間設定";
  }
}

CellPos ProgramCellOf(const MonthCalendar& month, int day) {
  CellPos cell = DayCellOf(month, day);
  ++cell.row;
  return cell;
}

}  // namespace

uint32_t SourceColour(uint8_t source) {
  switch (source) {
    case kSourceIndividual:
      return kIndividualText;
    case kSourceHoliday:
      return kHolidayText;
    default:
      return kPeriodText;
  }
}

uint32_t ColumnBackground(int weekday) {
  if (weekday == 0) return kSundayBack;
  return weekday == 6 ? kSaturdayBack : kWeekdayBack;
}

MonthSheet LayOutMonth(const MonthCalendar& month, int basicProgram) {
  MonthSheet sheet;  // every cell takes its member defaults
  for (int row = 0; row < kSheetRows; ++row)
    for (int col = 0; col < kSheetCols; ++col) {
      SheetCell& cell = sheet[row][col];
      if (row % 2 == 0)
        cell.back = ColumnBackground(col);
      else
        cell.bold = true;
    }
  for (int day = 1; day <= month.dayCount; ++day) {
    const DayCell& source = month.cells[day - 1];
    const CellPos at = DayCellOf(month, day);
    SheetCell& dayCell = sheet[at.row][at.col];
    dayCell.text = std::to_string(day);
    if (source.holiday != 0) dayCell.back = kSundayBack;
    SheetCell& programCell = sheet[at.row + 1][at.col];
    if (source.program != 0) {
      programCell.text = std::to_string(source.program);
      programCell.fore = SourceColour(source.source);
    } else if (basicProgram != 0) {
      programCell.text = std::to_string(basicProgram);
      programCell.fore = kBasicText;
      programCell.bold = false;
    }
  }
  return sheet;
}

CellPos DayCellOf(const MonthCalendar& month, int day) {
  const DayCell& cell = month.cells[day - 1];
  return {2 * (cell.weekRow - 1), cell.weekday};
}

std::optional<int> DayOfProgramCell(const MonthCalendar& month, CellPos cell) {
  if (cell.row % 2 == 0) return std::nullopt;
  for (int day = 1; day <= month.dayCount; ++day)
    if (ProgramCellOf(month, day) == cell) return day;
  return std::nullopt;
}

bool ValidProgramText(std::string_view text) {
  if (text.empty() ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  const int value = ProgramValue(text);
  return value >= 1 && value <= kMaxProgram;
}

std::string SlotsFullMessage(int year, int month, int day) {
  return "個別設定が" + std::to_string(kDateCount) + "件に達しているため、" +
         DateText(year, month, day) + " のプログラム番号を登録できません。";
}

std::string InvalidProgramMessage(int year, int month, int day) {
  return DateText(year, month, day) + " のプログラム番号の指定が不正です。";
}

SheetCell EditedProgramCell(std::string_view typed, std::string_view before, const DayCell& opened,
                            int basicProgram) {
  SheetCell cell;
  cell.bold = true;
  cell.text = typed;
  const int ran = RunProgram(opened, basicProgram);
  if (cell.text.empty() && ValidProgramText(before)) cell.text = before;
  if (cell.text.empty() && ran != 0) cell.text = std::to_string(ran);
  const int value = ProgramValue(cell.text);
  if (value != ran) {
    cell.fore = kIndividualText;
  } else if (opened.program == 0 && ran != 0) {
    cell.fore = kBasicText;
    cell.bold = false;
  } else {
    cell.fore = SourceColour(opened.source);
  }
  return cell;
}

std::string ProgramTip(std::string_view text, const DayCell& day, int basicProgram,
                       const ProgramNameTable& names) {
  if (!ValidProgramText(text)) return {};
  const int value = ProgramValue(text);
  const char* from = "個別設定";  // what a new value becomes when the month is stored
  if (value == day.program) from = SourceName(day.source);
  if (day.program == 0 && value == basicProgram) from = "基本設定";
  return ProgramChoice(names, value) + "（" + from + "）";
}

Session::Session(std::array<YearCalendar, 2>& calendars, ScheduleModel& model,
                 const YearPair& years, int month)
    : calendars_(calendars),
      model_(model),
      years_(years),
      openedCalendars_(calendars),
      openedDates_(model.dates),
      year_(years.currentYear),
      month_(std::clamp(month, 1, 12)) {}

YearCalendar& Session::CalendarOf(int year) {
  return calendars_[year == years_.currentYear ? 0 : 1];
}

const YearCalendar& Session::CalendarOf(int year) const {
  return calendars_[year == years_.currentYear ? 0 : 1];
}

const MonthCalendar& Session::Shown() const { return CalendarOf(year_).months[month_ - 1]; }

const MonthCalendar& Session::Opened() const {
  return openedCalendars_[year_ == years_.currentYear ? 0 : 1].months[month_ - 1];
}

void Session::Show(int year, int month) {
  year_ = std::clamp(year, int{years_.currentYear}, int{years_.nextYear});
  month_ = std::clamp(month, 1, 12);
}

Verdict Session::CheckMonth(const std::vector<std::string>& programTexts) const {
  const MonthCalendar& shown = Shown();
  for (int day = 1; day <= shown.dayCount && day <= static_cast<int>(programTexts.size()); ++day) {
    const std::string& text = programTexts[day - 1];
    if (!text.empty() && !ValidProgramText(text))
      return Verdict(ProgramCellOf(shown, day), InvalidProgramMessage(year_, month_, day));
  }
  return {};
}

Verdict Session::ApplyMonth(const std::vector<std::string>& programTexts) {
  MonthCalendar& shown = CalendarOf(year_).months[month_ - 1];
  for (int day = 1; day <= shown.dayCount && day <= static_cast<int>(programTexts.size()); ++day) {
    const int value = ProgramValue(programTexts[day - 1]);
    DayCell& cell = shown.cells[day - 1];
    if (value == 0 || value == RunProgram(cell, model_.basicProgram)) continue;
    if (!RecordIndividualSetting(model_, year_, month_, day, value))
      return Verdict(ProgramCellOf(shown, day), SlotsFullMessage(year_, month_, day));
    cell.program = static_cast<uint8_t>(value);
    cell.source = kSourceIndividual;
  }
  return {};
}

void Session::Restore() {
  calendars_ = openedCalendars_;
  model_.dates = openedDates_;
}

}  // namespace tavrin::confirm
