// The next school year of a settings file, read with the years its grids hold, in the words
// tavrin-cli and the desktop program show.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "calendar/HolidayFile.h"
#include "calendar/PackImage.h"
#include "review/DiffTexts.h"
#include "review/NextYearReport.h"

namespace tavrin {
namespace {

struct Saved {
  SettingsImage image{};
  HolidayTable holidays{};
};

// `model` as a file saved in `year` saves it, with 29 April 2026 a public holiday.
std::unique_ptr<Saved> SavedIn(int year, ScheduleModel model) {
  auto saved = std::make_unique<Saved>();
  const std::string file = "[2026]\r\n04=29\r\n";
  ParseHolidayText(file.data(), file.size(), saved->holidays);
  RadioStation station;
  std::array<YearCalendar, 2> calendars{};
  PackImage(model, station, {YearsFromClock(year), &saved->holidays, true}, saved->image,
            calendars);
  return saved;
}

std::unique_ptr<ScheduleModel> School() {
  auto model = std::make_unique<ScheduleModel>();
  ClearModel(*model);
  model->basicProgram = 1;
  model->holidayEnabled = 1;
  model->holidayProgram = 9;
  // The same days and program in both years would be read back as one every-year entry.
  model->periods[0] = {2026, 3, 26, 4, 5, 4};   // spring holidays, whose April is there already
  model->periods[1] = {2026, 7, 21, 8, 31, 4};  // summer holidays
  model->periods[2] = {2027, 3, 25, 4, 5, 4};   // this school year's spring holidays
  model->periods[3] = {2027, 4, 20, 4, 22, 6};  // already planned for the next school year
  model->dates[0] = {2026, 4, 6, 7};            // opening day
  model->dates[1] = {2026, 4, 21, 5};           // a date on a planned period: no collision
  model->dates[2] = {2027, 4, 6, 8};            // already planned: the copy collides
  return model;
}

std::vector<std::string> Lines(const std::vector<Difference>& added) {
  std::vector<std::string> lines;
  for (const Difference& difference : added) lines.push_back(diff_text::Line(difference));
  return lines;
}

ImageContext NewYears(const Saved& saved, int year) {
  return {YearsFromClock(year), &saved.holidays, true};
}

// Saved in 2026 and made in 2027: the file still holds 2026, which the clock's years do not.
TEST(NextYearReport, AFileSavedLastYearGivesItsSchoolYearOneYearOn) {
  const auto saved = SavedIn(2026, *School());
  const Result<NextYearReport> report =
      NextSchoolYearOf(saved->image, NewYears(*saved, 2027), NextYearOptions());
  ASSERT_TRUE(report) << report.message();
  EXPECT_EQ(report->heading, "2026 年 4月～2027 年 3月 → 2027 年 4月～2028 年 3月");
  EXPECT_EQ(report->refusal, "");
  // 29 April 2026 ran the holiday program: it is no individual date to copy.
  EXPECT_EQ(Lines(report->added), (std::vector<std::string>{
                                      "[期間設定] 追加 2027 年 7月21日～8月31日: P4",
                                      "[期間設定] 追加 2028 年 3月25日～3月31日: P4",
                                      "[個別設定] 追加 2027 年 4月21日: P5",
                                  }));
  EXPECT_EQ(report->notes,
            (std::vector<std::string>{
                "[期間設定] 2026 年 4月1日～4月5日: P4 → 2027 年 4月1日～4月5日 は作りません"
                "（2027 年 3月25日～4月5日: P4 が有ります）",
                "[個別設定] 2026 年 4月6日: P7 → 2027 年 4月6日 は作りません"
                "（2027 年 4月6日: P8 と重なります）",
            }));
}

TEST(NextYearReport, NotesSayWhatMovedAndWhatTheNewYearsCannotHold) {
  auto model = std::make_unique<ScheduleModel>();
  ClearModel(*model);
  model->dates[0] = {2028, 2, 29, 2};
  model->dates[1] = {2027, 4, 6, 3};
  const auto saved = SavedIn(2027, *model);
  const struct {
    int now;
    std::vector<std::string> notes;
  } rows[] = {
      {2028,
       {"[個別設定] 2028 年 2月29日: P2 → 2029 年 2月28日（2月29日が無い年のため "
        "2月28日にします）"}},
      {2027,
       {"[個別設定] 2028 年 2月29日: P2 → 2029 年 2月28日 は作りません"
        "（新しいファイルが持つのは 2027 年・2028 年 の設定です）"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.now);
    const Result<NextYearReport> report =
        NextSchoolYearOf(saved->image, NewYears(*saved, row.now), NextYearOptions());
    ASSERT_TRUE(report) << report.message();
    EXPECT_EQ(report->notes, row.notes);
  }
}

TEST(NextYearReport, NoFirstMonthOrNoTimerYearIsRefused) {
  const auto saved = SavedIn(2026, *School());
  for (const int month : {0, 13}) {
    const Result<NextYearReport> report =
        NextSchoolYearOf(saved->image, NewYears(*saved, 2027), {month, NextYearBy::Date});
    EXPECT_EQ(report.message(), "最初の月 " + std::to_string(month) + " は 1～12 ではありません。");
  }

  SettingsImage image{};
  for (std::size_t grid : {layout::kPeriodGridCurrent, layout::kPeriodGridNext,
                           layout::kSpecialGridCurrent, layout::kSpecialGridNext})
    image[grid] = 101;  // 2101
  HolidayTable holidays{};
  const Result<NextYearReport> report =
      NextSchoolYearOf(image, {YearsFromClock(2027), &holidays, true}, NextYearOptions());
  EXPECT_EQ(report.message(),
            "設定ファイルの年間プログラムに、タイマの年（2000 年～2100 年）が有りません。");
  image[layout::kPeriodGridNext] =
      100;  // 2100: a year, but one whose next school year no file holds
  const Result<NextYearReport> last =
      NextSchoolYearOf(image, {YearsFromClock(2099), &holidays, true}, NextYearOptions());
  ASSERT_TRUE(last) << last.message();
  EXPECT_FALSE(last->refusal.empty());
}

}  // namespace
}  // namespace tavrin
