// Whole reports of realistic schedules against files checked line by line by hand. Every folder
// under golden/csv holds a schedule (model.json, as dump prints it), its data folder (data/: the
// holiday file and "Tavrin.ini", the defaults where one is missing), the clock and the report's
// title (report.json), and the report (expected.csv). A name file (names.TXT) takes the place of
// the model's names, as "--names" does: it holds what JSON cannot, a name cut inside a character.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "CsvFixture.h"
#include "GoldenCases.h"
#include "TempFolder.h"
#include "calendar/HolidayFile.h"
#include "cli/ModelJson.h"
#include "document/SettingsFiles.h"
#include "model/Clock.h"
#include "model/Dates.h"

namespace tavrin {
namespace {

using testing::CsvFixture;
using testing::GoldenCaseName;
using testing::GoldenFolders;
using testing::GoldenRoot;
using testing::ReadBytes;
using testing::SameAsGolden;

class GoldenCsv : public ::testing::TestWithParam<std::string> {
 protected:
  std::string Path(const std::string& name) const {
    return (GoldenRoot("csv") / GetParam() / name).string();
  }

  // Everything the report reads, from the folder's files alone.
  void Load(CsvFixture& f) const {
    Result<> model = ParseModelJson(ReadBytes(Path("model.json")), f.model, f.names);
    ASSERT_TRUE(model) << model.message();
    if (std::filesystem::exists(Path("names.TXT"))) {
      Result<> names = ReadNameFile(Path("names.TXT"), f.names);
      ASSERT_TRUE(names) << names.message();
    }
    const nlohmann::json report = nlohmann::json::parse(ReadBytes(Path("report.json")));
    const std::optional<LocalTime> now = ParseLocalTime(report.at("now").get<std::string>());
    ASSERT_TRUE(now) << report.at("now");
    f.now = *now;
    f.years = YearsFromClock(now->year);
    f.title = ToShiftJis(report.at("title").get<std::string>()).value();
    f.settings = IniSettings{};
    ReadSettingsIni(Path("data/Tavrin.ini"), f.settings);
    BuildChimeLists(f.settings);
    ASSERT_TRUE(LoadHolidayFile(Path("data/Tavrin-Holidays.ini"), f.holidays));
  }
};

TEST_P(GoldenCsv, ReportIsTheStoredOne) {
  CsvFixture f;
  ASSERT_NO_FATAL_FAILURE(Load(f));
  ASSERT_TRUE(f.Write());
  EXPECT_TRUE(SameAsGolden(f.output.bytes, "csv", GetParam(), "expected.csv"));
}

INSTANTIATE_TEST_SUITE_P(Folders, GoldenCsv, ::testing::ValuesIn(GoldenFolders("csv")),
                         GoldenCaseName);

}  // namespace
}  // namespace tavrin
