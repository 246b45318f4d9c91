// The annual confirmation's rules: one month of the resolved calendar as a 12 x 7 sheet (a day row
// and a program row per week, Sunday first), the colours of its sources, the check of a typed
// program, and the overwriting of single days, which become individual settings of the model.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/YearCalendar.h"
#include "editors/GridText.h"
#include "editors/Verdict.h"
#include "model/Dates.h"
#include "model/ScheduleModel.h"

namespace tavrin::confirm {

inline constexpr char kCaption[] = "年間プログラムの確認";
inline constexpr int kSheetRows = 12;  // six weeks of a day row and a program row
inline constexpr int kSheetCols = 7;   // Sunday first

// Windows RGB values (0x00BBGGRR).
constexpr uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) {
  return red | (green << 8) | (blue << 16);
}
inline constexpr uint32_t kPeriodText = Rgb(0, 0, 0);
inline constexpr uint32_t kHolidayText = Rgb(255, 0, 0);
inline constexpr uint32_t kIndividualText = Rgb(0, 0, 255);
// A day no setting claims runs the basic program: shown in grey, not bold, so that every day
// names what runs and the settings stand out.
inline constexpr uint32_t kBasicText = Rgb(128, 128, 128);
inline constexpr uint32_t kSundayBack = Rgb(255, 204, 255);
inline constexpr uint32_t kWeekdayBack = Rgb(255, 255, 153);
inline constexpr uint32_t kSaturdayBack = Rgb(204, 255, 255);
inline constexpr uint32_t kProgramBack = Rgb(255, 255, 255);

// The text colour of a day's program by the setting that gave it.
uint32_t SourceColour(uint8_t source);
// The background of a weekday's column: its header and the day cells.
uint32_t ColumnBackground(int weekday);

struct SheetCell {
  std::string text;
  uint32_t back = kProgramBack;
  uint32_t fore = kPeriodText;
  bool bold = false;
};
using MonthSheet = std::array<std::array<SheetCell, kSheetCols>, kSheetRows>;

// Every day cell in its column's background (a holiday in Sunday's) with its number, and below
// it, in bold and its source's colour, the program a setting gives the day; a day without one
// shows `basicProgram` (0: none) in the basic colour.
MonthSheet LayOutMonth(const MonthCalendar& month, int basicProgram);
// The sheet cell of day `day`'s number; its program cell is the row below.
CellPos DayCellOf(const MonthCalendar& month, int day);
// The day whose program cell is `cell`; nothing for a day row or a cell without a day.
std::optional<int> DayOfProgramCell(const MonthCalendar& month, CellPos cell);

// A program typed into a day: digits only, 1..99. Leading zeros are digits; a long run of digits
// is out of range, never wrapped into it.
bool ValidProgramText(std::string_view text);
// "%d年%d月%d日 のプログラム番号の指定が不正です。"
std::string InvalidProgramMessage(int year, int month, int day);
// The day could not become an individual setting: all 200 slots hold other dates.
std::string SlotsFullMessage(int year, int month, int day);

// The program cell after an edit of a day: an emptied cell shows the text it had when that was
// a program, else what the day ran before the dialog opened (its program or the basic one, or
// nothing). A value unchanged from then keeps that look, any other is blue; all bold but the
// basic program. `typed` is valid or empty.
SheetCell EditedProgramCell(std::string_view typed, std::string_view before, const DayCell& opened,
                            int basicProgram);
// The tip of a program cell showing `text` over `day`: the program with its name and the setting
// it comes from, or will come from once stored ("5 朝の日課（期間設定）"); empty for no program.
std::string ProgramTip(std::string_view text, const DayCell& day, int basicProgram,
                       const ProgramNameTable& names);

// One opening of the confirmation over the view's two calendars and the working model. It keeps
// the calendars and the individual settings as they were at the start, for Cancel.
class Session {
 public:
  Session(std::array<YearCalendar, 2>& calendars, ScheduleModel& model, const YearPair& years,
          int month);

  int year() const { return year_; }
  int month() const { return month_; }
  const YearPair& years() const { return years_; }
  const ScheduleModel& model() const { return model_; }
  int basicProgram() const { return model_.basicProgram; }
  // The shown month, live and as it was when the dialog opened.
  const MonthCalendar& Shown() const;
  const MonthCalendar& Opened() const;

  // Shows another month; the year is clamped to the two image years, the month to 1..12.
  void Show(int year, int month);

  // `programTexts` holds the program cell of every day of the shown month, day 1 first. Every
  // non-empty one must be a valid program.
  Verdict CheckMonth(const std::vector<std::string>& programTexts) const;
  // Every day whose program differs from what it runs (its calendar program, else the basic
  // program) gets it as an individual setting. When all
  // 200 individual slots are taken the day stays as it was, and the verdict says so and names its
  // program cell; the days before it are kept.
  Verdict ApplyMonth(const std::vector<std::string>& programTexts);
  // Cancel and the close box: the calendars and the individual settings as they were at the
  // start.
  void Restore();

 private:
  YearCalendar& CalendarOf(int year);
  const YearCalendar& CalendarOf(int year) const;

  std::array<YearCalendar, 2>& calendars_;
  ScheduleModel& model_;
  YearPair years_;
  std::array<YearCalendar, 2> openedCalendars_;
  std::array<DateEntry, kDateCount> openedDates_;
  int year_;
  int month_;
};

}  // namespace tavrin::confirm
