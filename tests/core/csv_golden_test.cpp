// Whole reports of realistic schedules against files checked line by line by hand.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "CsvFixture.h"

namespace tavrin {
namespace {

using testing::CsvFixture;
using testing::MakeStep;

std::string Sjis(const std::string& utf8) { return ToShiftJis(utf8).value(); }

void SetHolidays(HolidayTable& table, int year, const std::vector<std::pair<int, int>>& monthDays) {
  const int k = table.yearCount++;
  table.years[k] = static_cast<int16_t>(year);
  std::array<int, 12> used{};
  for (auto [month, day] : monthDays) {
    table.days[k][month - 1][used[month - 1]++] = static_cast<uint8_t>(day);
  }
}

// The school and the office keep the same holidays in 2026.
const std::vector<std::pair<int, int>> kHolidays2026 = {
    {1, 1}, {1, 12}, {2, 11}, {2, 23}, {3, 20}, {4, 29}, {5, 3},   {5, 4},  {5, 5},
    {5, 6}, {7, 20}, {8, 11}, {9, 21}, {9, 22}, {9, 23}, {10, 12}, {11, 3}, {11, 23}};

// A school: bells on weekdays and Saturdays, a keep output for the hall lights, a holiday
// program, a summer break every year and a winter break across the turn of the year.
void BuildSchool(CsvFixture& f) {
  f.now = {2025, 4, 1, 8, 5, 9};
  f.years = {2025, 2026};
  f.title = "school.CSV";
  ScheduleModel& m = f.model;
  m.channels[0] = {kChannelTimeSignal, 0, 10, 1};
  m.channels[1] = {kChannelKeep, 0, 0, 0};
  m.channels[2] = {kChannelTimeSignal, 1, 0, 0};
  f.SetName(1, "WEEKDAY");
  f.SetName(2, "SATURDAY");
  f.SetName(3, Sjis("休日"));
  f.SetName(5, "SPARE");
  // Out of order on purpose: the report sorts them.
  m.steps[0] = MakeStep(2, 2, "0000001", 12, 0, kKeepOff);
  m.steps[1] = MakeStep(2, 2, "0000001", 9, 0, kKeepOn);
  m.steps[2] = MakeStep(2, 1, "0000001", 9, 0, 3);
  m.steps[3] = MakeStep(1, 1, "0111110", 15, 30, 1);
  m.steps[4] = MakeStep(1, 1, "0111110", 12, 15, 2);
  m.steps[5] = MakeStep(1, 1, "0111110", 8, 30, 1);
  m.steps[6] = MakeStep(1, 2, "0111110", 8, 15, kKeepOn);
  m.steps[7] = MakeStep(1, 2, "0111110", 17, 0, kKeepOff);
  m.steps[9] = MakeStep(3, 3, "1000000", 7, 30, 3);
  m.steps[10] = MakeStep(3, 3, "1000000", 7, 0, 1);
  m.stepCount = 10;
  m.basicProgram = 1;
  m.periods[0] = {kEveryYear, 7, 21, 8, 31, 3};
  m.periods[2] = {2025, 12, 25, 12, 31, 3};
  m.periods[3] = {2026, 1, 1, 1, 7, 3};
  m.periods[4] = {2024, 3, 1, 3, 5, 2};
  m.holidayEnabled = 1;
  m.holidayProgram = 3;
  m.dates[0] = {2025, 11, 3, 2};
  m.dates[1] = {kEveryYear, 3, 31, 2};
  m.dates[5] = {2026, 2, 14, 2};
  m.summerTimeEnabled = 1;
  m.summerTime = {3, 2, 1, 2, 11, 1, 1, 2};
  m.radioFrequency = 825;
  std::memcpy(m.radioStation.data(), Sjis("東京").data(), 4);
  SetHolidays(f.holidays, 2025,
              {{1, 1},
               {1, 13},
               {2, 11},
               {2, 23},
               {2, 24},
               {3, 20},
               {4, 29},
               {5, 3},
               {5, 4},
               {5, 5},
               {5, 6},
               {7, 21},
               {8, 11},
               {9, 15},
               {9, 23},
               {10, 13},
               {11, 3},
               {11, 23},
               {11, 24}});
  SetHolidays(f.holidays, 2026, kHolidays2026);
}

// An office without the radio: night lighting on a keep channel, two chimes of its own,
// holidays not in force, and the report taken on the last second of the year.
void BuildOffice(CsvFixture& f) {
  f.now = {2026, 12, 31, 23, 59, 58};
  f.years = {2026, 2027};
  f.title = "office.csv";
  f.settings.mode = 2;
  f.settings.chimeCount = 2;
  f.settings.chimes = {};
  f.settings.chimes[0].code = 1;
  f.settings.chimes[1].code = 2;
  std::memcpy(f.settings.chimes[0].name.data(), Sjis("始業").data(), 4);
  std::memcpy(f.settings.chimes[1].name.data(), Sjis("終業").data(), 4);
  ScheduleModel& m = f.model;
  m.channels[3] = {kChannelKeep, 0, 0, 0};
  m.channels[7] = {kChannelTimeSignal, 0, 3, 3};
  f.SetName(10, "OFFICE");
  f.SetName(11, "NIGHT SHIFT ABC" + Sjis("夜"));  // the last character does not fit
  m.steps[0] = MakeStep(10, 4, "1111111", 22, 0, kKeepOn);
  m.steps[1] = MakeStep(10, 4, "1111111", 6, 0, kKeepOff);
  m.steps[2] = MakeStep(10, 8, "0111110", 8, 50, 1);
  m.steps[3] = MakeStep(10, 8, "0111110", 12, 0, 12);
  m.steps[4] = MakeStep(11, 4, "1000000", 9, 0, kKeepOff);
  m.steps[5] = MakeStep(11, 4, "1000000", 9, 0, kKeepOn);
  m.steps[6] = MakeStep(12, 3, "1000000", 5, 0, 1);  // a channel no longer in use
  m.basicProgram = 10;
  m.holidayProgram = 11;
  m.periods[0] = {kEveryYear, 12, 29, 1, 3, 11};
  m.periods[1] = {2027, 2, 1, 2, 29, 11};
  m.dates[0] = {kEveryYear, 2, 29, 11};
  SetHolidays(f.holidays, 2026, kHolidays2026);
  SetHolidays(f.holidays, 2027,
              {{1, 1},
               {1, 11},
               {2, 11},
               {2, 23},
               {3, 21},
               {3, 22},
               {4, 29},
               {5, 3},
               {5, 4},
               {5, 5},
               {7, 19},
               {8, 11},
               {9, 20},
               {9, 23},
               {10, 11},
               {11, 3},
               {11, 23}});
}

void ExpectGolden(CsvFixture& f, const std::string& name) {
  ASSERT_TRUE(f.Write());
  const std::string path = std::string(TAVRIN_GOLDEN_DIR) + "/csv/" + name + "/expected.csv";
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << path;
  const std::string expected(std::istreambuf_iterator<char>(in), {});
  if (f.output.bytes == expected) return;
  std::ofstream(name + ".actual.csv", std::ios::binary) << f.output.bytes;
  std::vector<std::string> actual = f.Lines();
  f.output.bytes = expected;
  std::vector<std::string> wanted = f.Lines();
  for (std::size_t i = 0; i < std::max(actual.size(), wanted.size()); ++i) {
    const std::string a = i < actual.size() ? actual[i] : "<none>";
    const std::string w = i < wanted.size() ? wanted[i] : "<none>";
    if (a != w) {
      ADD_FAILURE() << name << " line " << i + 1 << "\n  expected: " << w << "\n  actual:   " << a;
      return;
    }
  }
  ADD_FAILURE() << name << ": same lines, different bytes";
}

TEST(CsvGolden, SchoolWithRadio) {
  CsvFixture f;
  BuildSchool(f);
  ExpectGolden(f, "school");
}

TEST(CsvGolden, OfficeWithoutRadio) {
  CsvFixture f;
  BuildOffice(f);
  ExpectGolden(f, "office");
}

}  // namespace
}  // namespace tavrin
