// The school example (examples/school.json) as a clean schedule to plant faults in, with the
// shipped holiday file and the example's clock.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "calendar/HolidayFile.h"
#include "cli/ModelJson.h"
#include "review/ScheduleCheck.h"

namespace tavrin::testing {

inline constexpr YearPair kSchoolYears{2026, 2027};

// Program 1 "授業日" (basic): CH1 chimes from slot 1 to 15, CH2 ON at 7:30 (slot 0), OFF at 18:00
// (slot 16); program 2 the holiday program; 3 and 4 in periods and dates. CH3..8 are not in use,
// step slots from 31 free; periods in slots 0..4 (slot 4 of 2027), dates in slots 0..2.
struct School {
  ScheduleModel model;
  ProgramNameTable names;
  HolidayTable holidays;

  School() {
    const std::string source = TAVRIN_SOURCE_DIR;
    const Result<> read = ParseModelJson(ReadBytes(source + "/examples/school.json"), model, names);
    EXPECT_TRUE(read.ok()) << read.message();
    EXPECT_TRUE(LoadHolidayFile(source + "/src/resources/Tavrin-Holidays.ini", holidays));
  }
  std::vector<Finding> Check() const {
    return CheckSchedule({model, names, holidays, kSchoolYears});
  }
};

}  // namespace tavrin::testing
