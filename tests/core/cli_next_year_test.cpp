// tavrin-cli next-year: the school example made into its next school year, read back as the timer
// reads it, and every input the command cannot use refused with nothing written.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "CliRun.h"
#include "OverflowingYear.h"
#include "TempFolder.h"
#include "cli/Commands.h"
#include "document/SettingsFiles.h"

namespace tavrin {
namespace {

using testing::Call;
using testing::Lines;
using testing::Outcome;
using testing::ReadBytes;
using testing::TempFolder;

namespace fs = std::filesystem;

const std::string kSource = TAVRIN_SOURCE_DIR;
const std::string kSchool = kSource + "/examples/school.BIN";  // saved in 2026
const std::string kData = "--data-dir=" + kSource + "/src/resources";
const std::string kMarch2027 = "--now=2027-03-01T09:00:00";

// What the timer runs on `date` by the settings file `path`, as agenda prints it.
std::string RunsOn(const std::string& path, const std::string& date) {
  const Outcome agenda = Call(RunAgenda, {path, "--from", date, "--to", date});
  EXPECT_EQ(agenda.code, 0) << agenda.err;
  const std::string line = agenda.out;
  const std::size_t events = line.find(",\"events\"");
  return line.substr(0, events);
}

TEST(CliNextYear, TheSchoolExampleGetsItsNextSchoolYear) {
  // Lines of agenda: the first day of the February week of program 3 and the individual date
  // of 19 March, a year on, each with its weekday (Sunday 0).
  const struct {
    const char* by;
    std::vector<std::string> lines;
    std::string period;
    std::string date;
  } rows[] = {
      {"date",
       {"[期間設定] 追加 2028 年 2月15日～2月19日: P3", "[個別設定] 追加 2028 年 3月19日: P3"},
       R"({"date":"2028-02-15","weekday":2,"program":3,"from":"period")",
       R"({"date":"2028-03-19","weekday":0,"program":3,"from":"special")"},
      // Monday 15 February and Friday 19 March 2027 keep their weekdays.
      {"weekday",
       {"[期間設定] 追加 2028 年 2月14日～2月18日: P3", "[個別設定] 追加 2028 年 3月17日: P3"},
       R"({"date":"2028-02-14","weekday":1,"program":3,"from":"period")",
       R"({"date":"2028-03-17","weekday":5,"program":3,"from":"special")"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.by);
    TempFolder folder;
    const Outcome made =
        Call(RunNextYear, {kSchool, "-o", folder / "next", "--by", row.by, kData, kMarch2027});
    ASSERT_EQ(made.code, 0) << made.err;
    EXPECT_EQ(made.err, "");
    EXPECT_EQ(Lines(made.out), row.lines);
    const std::string next = folder / "next.BIN";
    EXPECT_EQ(ReadBytes(folder / "next.TXT"), ReadBytes(kSource + "/examples/school.TXT"));
    EXPECT_EQ(RunsOn(next, row.period.substr(9, 10)), row.period);
    EXPECT_EQ(RunsOn(next, row.date.substr(9, 10)), row.date);
    // What the current school year still holds stays: the February week of 2027.
    EXPECT_EQ(RunsOn(next, "2027-02-15"),
              R"({"date":"2027-02-15","weekday":1,"program":3,"from":"period")");
  }
}

// Made in December, the new file holds 2026 and 2027: the copies into 2028 are said, not made.
TEST(CliNextYear, CopiesTheNewFileCannotHoldAreSaidOnStandardError) {
  TempFolder folder;
  const Outcome made =
      Call(RunNextYear, {kSchool, "-o", folder / "next.BIN", kData, "--now=2026-12-08T09:00:00"});
  EXPECT_EQ(made.code, 0) << made.err;
  EXPECT_EQ(made.out, "");
  EXPECT_EQ(Lines(made.err),
            (std::vector<std::string>{
                "tavrin-cli: [期間設定] 2027 年 2月15日～2月19日: P3 → 2028 年 2月15日～2月19日 "
                "は作りません（新しいファイルが持つのは 2026 年・2027 年 の設定です）",
                "tavrin-cli: [個別設定] 2027 年 3月19日: P3 → 2028 年 3月19日 "
                "は作りません（新しいファイルが持つのは 2026 年・2027 年 の設定です）",
            }));
  EXPECT_TRUE(fs::exists(folder / "next.BIN"));
}

std::string OverflowingFile(const TempFolder& folder) {
  const std::string path = folder / "full.BIN";
  EXPECT_TRUE(WriteSettingsFile(path, testing::OverflowingYearImage()).ok());
  return path;
}

TEST(CliNextYear, InputItCannotUseIsRefusedAndNothingIsWritten) {
  TempFolder folder;
  const std::string old = folder / "old.BIN";
  fs::copy_file(kSchool, old);
  testing::WriteBytes(folder / "short.BIN", ReadBytes(kSchool).substr(0, 6593));
  const std::string full = OverflowingFile(folder);
  const std::string out = folder / "new.BIN";
  const struct {
    const char* name;
    std::vector<std::string> args;
    std::string firstLine;
    std::string now = kMarch2027;
  } rows[] = {
      {"no output", {old}, "tavrin-cli: next-year takes one settings file and -o NEW.BIN"},
      {"two files",
       {old, old, "-o", out},
       "tavrin-cli: next-year takes one settings file and -o NEW.BIN"},
      {"month 0",
       {old, "-o", out, "--start-month", "0"},
       "tavrin-cli: --start-month \"0\" is no month 1..12"},
      {"month 13",
       {old, "-o", out, "--start-month", "13"},
       "tavrin-cli: --start-month \"13\" is no month 1..12"},
      {"month 4x",
       {old, "-o", out, "--start-month", "4x"},
       "tavrin-cli: --start-month \"4x\" is no month 1..12"},
      {"month -4",
       {old, "-o", out, "--start-month=-4"},
       "tavrin-cli: --start-month \"-4\" is no month 1..12"},
      {"by month",
       {old, "-o", out, "--by", "month"},
       "tavrin-cli: --by \"month\" is neither date nor weekday"},
      {"itself", {old, "-o", old}, "tavrin-cli: " + old + " is the settings file next-year reads"},
      {"itself without extension",
       {old, "-o", folder / "old"},
       "tavrin-cli: " + old + " is the settings file next-year reads"},
      {"a byte short",
       {folder / "short.BIN", "-o", out},
       "tavrin-cli: " + std::string(folder / "short.BIN") +
           " の大きさが 6594 バイトではありません（6593 バイト）。"},
      {"too full",
       {full, "-o", out},
       "tavrin-cli: 期間設定が 1 件、個別設定が 1 件足りないため、次の年度を作成できません"
       "（それぞれ 200 件までです）。"},
      {"too old",
       {old, "-o", out},
       "tavrin-cli: 元の年度 2026 年 4月～2027 年 3月 の次の年度 2027 年 4月～2028 年 3月 は、"
       "新しいファイルの年（2030 年・2031 年）に入らないため、次の年度を作成できません。",
       "--now=2030-01-01T00:00:00"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<std::string> args = row.args;
    args.push_back(kData);
    args.push_back(row.now);
    const Outcome outcome = Call(RunNextYear, args);
    EXPECT_EQ(outcome.code, 2);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(Lines(outcome.err).front(), row.firstLine);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_FALSE(fs::exists(folder / "new.TXT"));
    EXPECT_EQ(ReadBytes(old), ReadBytes(kSchool));
  }
}

}  // namespace
}  // namespace tavrin
