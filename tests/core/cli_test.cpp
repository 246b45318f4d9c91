#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include <sys/stat.h>

#include "CliRun.h"
#include "ScopedEnv.h"
#include "TempFolder.h"
#include "cli/Commands.h"
#include "cli/ModelJson.h"
#include "model/ImageLayout.h"
#include "model/ShiftJis.h"

namespace tavrin {
namespace {

using testing::Call;
using testing::Outcome;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

const std::string kSource = TAVRIN_SOURCE_DIR;
const std::string kShippedData = kSource + "/src/resources";
const std::string kNow = "--now=2026-12-08T09:00:00";

Outcome Main(const std::vector<std::string>& args) {
  static const Command kCommands[] = {{"dump", "d", RunDump}, {"pack", "p", RunPack}};
  std::ostringstream out, err;
  CliIo io{out, err};
  int code = Dispatch(kCommands, args, io);
  return {code, out.str(), err.str()};
}

// One schedule the editors could make, with `change` spliced into its JSON.
std::string ModelWith(const std::string& change) {
  return R"({"basicProgram":1,"channels":[{"kind":2}],)"
         R"("steps":[{"slot":3,"program":1,"channel":1,"days":[0,1,1,1,1,1,0],"hour":7,)"
         R"("minute":30,"action":1}])" +
         change + "}";
}

TEST(Cli, DispatchAndUsageErrors) {
  EXPECT_EQ(Main({}).code, kExitUsage);
  Outcome help = Main({"--help"});
  EXPECT_EQ(help.code, kExitOk);
  EXPECT_NE(help.out.find("dump"), std::string::npos);
  Outcome unknown = Main({"frobnicate"});
  EXPECT_EQ(unknown.code, kExitUsage);
  EXPECT_NE(unknown.err.find("unknown command \"frobnicate\""), std::string::npos);

  for (const char* command : {"dump", "pack"}) {
    Outcome commandHelp = Main({command, "--help"});
    EXPECT_EQ(commandHelp.code, kExitOk);
    EXPECT_EQ(commandHelp.out.rfind(std::string("usage: tavrin-cli ") + command, 0), 0u);
  }
  EXPECT_EQ(Main({"dump"}).code, kExitUsage);
  EXPECT_EQ(Main({"dump", "a.BIN", "b.BIN"}).code, kExitUsage);
  EXPECT_EQ(Main({"dump", "a.BIN", "--colour"}).code, kExitUsage);
  EXPECT_EQ(Main({"dump", "a.BIN", "--names"}).code, kExitUsage);
  Outcome badNow = Main({"dump", "a.BIN", "--now", "2026-13-01T00:00:00"});
  EXPECT_EQ(badNow.code, kExitUsage);
  EXPECT_NE(badNow.err.find("--now"), std::string::npos);
  EXPECT_EQ(Main({"pack", "model.json"}).code, kExitUsage);
  EXPECT_EQ(Main({"pack", "-o", "x.BIN"}).code, kExitUsage);
  EXPECT_EQ(Main({"pack", "m.json", "-o", "x.BIN", "--output=y.BIN"}).code, kExitUsage);
}

TEST(Cli, DumpFailuresSayWhyTheFileCouldNotBeUsed) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "plans.BIN");
  ASSERT_EQ(mkfifo((folder / "pipe.BIN").c_str(), 0600), 0);
  WriteBytes(folder / "other.BIN", std::string("KORVA VL3 V01.00VL4X") + std::string(100, '\0'));
  WriteBytes(folder / "tiny.BIN", "KORVA");
  WriteBytes(folder / "short.BIN", "KORVA VL3 V01.00VL3X");
  WriteBytes(folder / "short.TXT", "a name file of the wrong size");
  const std::string prefix = "tavrin-cli: ";
  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  const Case cases[] = {
      {{folder / "missing.BIN"}, prefix + folder / "missing.BIN does not exist\n"},
      {{folder / "plans.BIN"}, prefix + folder / "plans.BIN is a folder\n"},
      {{folder / "pipe.BIN"}, prefix + folder / "pipe.BIN is not a regular file\n"},
      {{folder / "other.BIN"},
       prefix + folder / "other.BIN は対象外のファイルです。 (its model tag is not VL3X)\n"},
      {{folder / "tiny.BIN"},
       prefix + folder / "tiny.BIN は対象外のファイルです。 (5 bytes, too "
                         "short for a settings file)\n"},
      {{folder / "short.BIN", "--names", folder / "none.TXT"},
       prefix + "warning: " + folder / "short.BIN has 20 bytes, a settings file 6594\n" + prefix +
           folder / "none.TXT does not exist\n"},
      {{folder / "short.BIN", "--names", folder / "short.TXT"},
       prefix + "warning: " + folder / "short.BIN has 20 bytes, a settings file 6594\n" + prefix +
           folder / "short.TXT has 29 bytes, a program-name file 1600\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--data-dir", kShippedData, kNow});
    Outcome outcome = Call(RunDump, args);
    EXPECT_EQ(outcome.code, kExitFailure) << c.args[0];
    EXPECT_EQ(outcome.err, c.err);
    EXPECT_EQ(outcome.out, "");
  }

  // The name file beside the settings file may be absent or odd; the program reads it as it can.
  Outcome beside = Call(RunDump, {folder / "short.BIN", "--data-dir", kShippedData, kNow});
  EXPECT_EQ(beside.code, kExitOk) << beside.err;
}

TEST(Cli, EveryCommandAnswersHelpAndVersion) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--version"}, {"dump", "--version"}, {"pack", "--version"}, {"dump", "-h"}}) {
    Outcome outcome = Main(args);
    EXPECT_EQ(outcome.code, kExitOk);
    EXPECT_EQ(outcome.err, "");
    const bool help = args.back() == "-h";
    EXPECT_EQ(outcome.out.rfind(help ? "usage: tavrin-cli dump" : "tavrin-cli 1.06\n", 0), 0u)
        << outcome.out;
  }
  Outcome unknown = Main({"dump", "--colour"});
  EXPECT_EQ(unknown.err.rfind("tavrin-cli: unknown option --colour\n", 0), 0u);
}

TEST(Cli, WithoutAReadableHolidayFileTheCommandSaysSo) {
  TempFolder folder;
  const std::string warning = "tavrin-cli: warning: no holiday file (";
  const std::string tail = "): public holidays are ordinary days\n";
  Outcome none =
      Call(RunDump, {kSource + "/examples/school.BIN", "--data-dir", folder.path(), kNow});
  EXPECT_EQ(none.code, kExitOk);
  EXPECT_EQ(none.err, warning + folder / "Tavrin-Holidays.ini does not exist" + tail);

  WriteBytes(folder / "Tavrin-Holidays.ini", "[System]\r\nVersion=empty\r\n");
  Outcome empty =
      Call(RunDump, {kSource + "/examples/school.BIN", "--data-dir", folder.path(), kNow});
  EXPECT_EQ(empty.err, warning + folder / "Tavrin-Holidays.ini holds no year" + tail);

  Outcome shipped =
      Call(RunDump, {kSource + "/examples/school.BIN", "--data-dir", kShippedData, kNow});
  EXPECT_EQ(shipped.err, "");
}

TEST(Cli, TheDataFolderGetsTheShippedFilesAtTheFirstRun) {
  TempFolder folder;
  testing::ScopedEnv env;
  env.Set("TAVRIN_DATA_DIR", (folder / "data").c_str());
  std::ostringstream out, err;
  CliIo io{out, err, {folder / "nothing-here", kShippedData}};
  ASSERT_EQ(RunDump({kSource + "/examples/school.BIN", kNow}, io), kExitOk) << err.str();
  EXPECT_EQ(err.str(), "");
  EXPECT_EQ(ReadBytes(folder / "data/Tavrin-Holidays.ini"),
            ReadBytes(kShippedData + "/Tavrin-Holidays.ini"));
  EXPECT_EQ(ReadBytes(folder / "data/Tavrin.ini"), ReadBytes(kShippedData + "/Tavrin.ini"));
  // The school's public holidays stay holidays, not individual dates.
  EXPECT_EQ(
      out.str(),
      Call(RunDump, {kSource + "/examples/school.BIN", "--data-dir", kShippedData, kNow}).out);

  // An explicit --data-dir is the user's choice and stays as it is.
  std::ostringstream out2, err2;
  CliIo io2{out2, err2, {kShippedData}};
  std::filesystem::create_directory(folder / "mine");
  RunDump({kSource + "/examples/school.BIN", "--data-dir", folder / "mine", kNow}, io2);
  EXPECT_FALSE(std::filesystem::exists(folder / "mine/Tavrin-Holidays.ini"));
}

TEST(Cli, PackWritesBothFilesAsASaveDoes) {
  TempFolder folder;
  WriteBytes(folder / "model.json", ModelWith(R"(,"names":{"1":"授業日"})"));
  Outcome plain = Call(
      RunPack, {folder / "model.json", "-o", folder / "plan", "--data-dir", kShippedData, kNow});
  ASSERT_EQ(plain.code, kExitOk) << plain.err;
  EXPECT_EQ(ReadBytes(folder / "plan.BIN").size(), 6594u);
  std::string names = ReadBytes(folder / "plan.TXT");
  ASSERT_EQ(names.size(), 1600u);
  EXPECT_EQ(names.substr(16, 6), ToShiftJis("授業日").value());

  Outcome dat = Call(RunPack, {folder / "model.json", "-o", folder / "plan.dat", "--data-dir",
                               kShippedData, kNow});
  ASSERT_EQ(dat.code, kExitOk) << dat.err;
  EXPECT_EQ(ReadBytes(folder / "plan.dat"), ReadBytes(folder / "plan.BIN"));

  // The dump reads the name file beside the settings file and shows the unpacked model.
  Outcome dump = Call(RunDump, {folder / "plan.BIN", "--data-dir", kShippedData, kNow});
  ASSERT_EQ(dump.code, kExitOk) << dump.err;
  ScheduleModel model;
  ProgramNameTable table;
  ASSERT_TRUE(ParseModelJson(dump.out, model, table).ok());
  EXPECT_EQ(model.stepCount, 1);
  EXPECT_EQ(model.steps[0].hour, 7);  // packed into the first record
  EXPECT_EQ(model.steps[0].action, kKeepOn);
  EXPECT_EQ(model.radioFrequency, 825);  // the remembered station fills an empty one
  EXPECT_EQ(FieldText(model.radioStation.data(), 14), ToShiftJis("東京").value());
  EXPECT_EQ(FieldText(table.names[1].data(), 16), ToShiftJis("授業日").value());
}

TEST(Cli, PackRefusesWhatTheEditorsCannotMakeAndWritesNothing) {
  TempFolder folder;
  struct Case {
    std::string json;
    std::string err;  // after "tavrin-cli: <file>: "
  };
  const Case cases[] = {
      {R"({"steps":[{"slot":0,"hour":256}]})", "steps[0].hour: 256 is outside 0..255"},
      {ModelWith(R"(,"periods":[{"slot":4,"year":2027,"startMonth":13,"startDay":1,)"
                 R"("endMonth":12,"endDay":31,"program":1}])"),
       "periods[slot 4].startMonth: 13 is outside 1..12"},
      {ModelWith(R"(,"holidayEnabled":1,"holidayProgram":-1)"),
       "holidayProgram: -1 is outside 1..99"},
      {ModelWith(R"(,"dates":[{"slot":0,"year":2027,"month":1,"day":5,"program":150}])"),
       "dates[slot 0].program: 150 is outside 1..99"},
      {"{}", "基本設定のプログラム番号が指定されていません。"},
      {ModelWith(R"(,"dates":[{"slot":0,"year":2027,"month":1,"day":5,"program":7}])"),
       "年間プログラムで次のプログラム番号が登録されていません。\n\n( 7 )"},
      {R"({")" + std::string(100000, 'k') + R"(":1})", std::string(40, 'k') + "...: unknown key"},
  };
  for (const Case& c : cases) {
    WriteBytes(folder / "bad.json", c.json);
    Outcome bad = Call(
        RunPack, {folder / "bad.json", "-o", folder / "x.BIN", "--data-dir", kShippedData, kNow});
    EXPECT_EQ(bad.code, kExitFailure);
    EXPECT_EQ(bad.err, "tavrin-cli: " + folder / "bad.json: " + c.err + "\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "x.BIN"));
  }

  // --lenient packs what fits the fields, for tests of hostile images.
  WriteBytes(folder / "hostile.json", ModelWith(R"(,"holidayEnabled":1,"holidayProgram":-1)"));
  Outcome lenient = Call(RunPack, {folder / "hostile.json", "-o", folder / "x.BIN", "--lenient",
                                   "--data-dir", kShippedData, kNow});
  ASSERT_EQ(lenient.code, kExitOk) << lenient.err;
  EXPECT_EQ(static_cast<uint8_t>(ReadBytes(folder / "x.BIN")[layout::kHolidayProgram]), 255);
}

TEST(Cli, PackReadsOnlyABoundedRegularFileAndChecksTheOutputFirst) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "model.json");
  ASSERT_EQ(mkfifo((folder / "pipe.json").c_str(), 0600), 0);
  WriteBytes(folder / "ok.json", ModelWith(""));
  WriteBytes(folder / "huge.json", std::string(4 * 1024 * 1024 + 1, ' '));
  struct Case {
    std::string json;
    std::string output;
    std::string err;
  };
  const Case cases[] = {
      {folder / "none.json", folder / "x", folder / "none.json does not exist"},
      {folder / "model.json", folder / "x", folder / "model.json is a folder"},
      {folder / "pipe.json", folder / "x", folder / "pipe.json is not a regular file"},
      {"/dev/zero", folder / "x", "/dev/zero is not a regular file"},
      {folder / "huge.json", folder / "x", folder / "huge.json is larger than 4 MB"},
      {folder / "ok.json", folder / "no/such/plan",
       "the folder " + folder / "no/such does not exist"},
      {folder / "ok.json", folder / "model.json", folder / "model.json is a folder"},
  };
  for (const Case& c : cases) {
    Outcome outcome = Call(RunPack, {c.json, "-o", c.output, "--data-dir", kShippedData, kNow});
    EXPECT_EQ(outcome.code, kExitFailure) << c.json;
    EXPECT_EQ(outcome.err.rfind("tavrin-cli: " + c.err, 0), 0u) << outcome.err;
  }
}

TEST(Cli, PackWritesThePairWholeBesideTheRealFile) {
  TempFolder folder;
  WriteBytes(folder / "model.json", R"({"names":{"1":"A"}})");
  std::filesystem::create_directory(folder / "real");
  WriteBytes(folder / "real/plan.BIN", "old");
  std::filesystem::create_symlink(folder / "real/plan.BIN", folder / "link.BIN");
  // Lenient: the model is no schedule the program would save, only names to place.
  const std::string data = std::string(TAVRIN_SOURCE_DIR) + "/src/resources";
  Outcome linked = Call(RunPack, {folder / "model.json", "-o", folder / "link.BIN", "--lenient",
                                  "--data-dir", data, kNow});
  ASSERT_EQ(linked.code, kExitOk) << linked.err;
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.BIN"));
  EXPECT_EQ(ReadBytes(folder / "real/plan.BIN").size(), 6594u);
  EXPECT_EQ(ReadBytes(folder / "real/plan.TXT").substr(16, 1), "A");
  EXPECT_FALSE(std::filesystem::exists(folder / "link.TXT"));

  // A name file that cannot be written keeps the settings file from being replaced.
  std::filesystem::create_directory(folder / "other.TXT");
  WriteBytes(folder / "other.BIN", "old");
  Outcome blocked = Call(RunPack, {folder / "model.json", "-o", folder / "other.BIN", "--lenient",
                                   "--data-dir", data, kNow});
  EXPECT_EQ(blocked.code, kExitFailure);
  EXPECT_EQ(blocked.err, "tavrin-cli: " + folder / "other.TXT" + " のオープンに失敗しました。\n\n" +
                             folder / "other.TXT" + " はフォルダーです。\n");
  EXPECT_EQ(ReadBytes(folder / "other.BIN"), "old");
}

TEST(Cli, DataFolderAndClockDecideTheImage) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "data");
  // Without radio, with one holiday: 2026-12-09 (a Wednesday).
  WriteBytes(folder / "data/Tavrin.ini", "[System]\r\nRadioSet=OFF\r\n");
  WriteBytes(folder / "data/Tavrin-Holidays.ini", "[System]\r\nVersion=T\r\n[2026]\r\n12=9\r\n");
  WriteBytes(folder / "model.json",
             ModelWith(R"(,"holidayEnabled":1,"holidayProgram":1,"radioFrequency":810,)"
                       R"("radioStation":"X")"));
  Outcome run = Call(RunPack, {folder / "model.json", "-o", folder / "a.BIN", "--data-dir",
                               folder / "data", kNow});
  ASSERT_EQ(run.code, kExitOk) << run.err;
  std::string image = ReadBytes(folder / "a.BIN");
  ASSERT_EQ(image.size(), 6594u);
  EXPECT_EQ(image[layout::kRadioFrequency], 0);  // no radio: frequency and name zeroed
  EXPECT_EQ(image[layout::kRadioStation], 0);
  EXPECT_EQ(image[layout::kPeriodGridCurrent], 26);  // 2026 - 2000
  EXPECT_EQ(image[layout::kSpecialGridCurrent + layout::GridSlot(12, 9)], 1);

  // The clock's year is clamped to 2000..2099; TAVRIN_NOW stands in for --now.
  setenv("TAVRIN_NOW", "1999-05-01T00:00:00", 1);
  run =
      Call(RunPack, {folder / "model.json", "-o", folder / "b.BIN", "--data-dir", folder / "data"});
  unsetenv("TAVRIN_NOW");
  ASSERT_EQ(run.code, kExitOk) << run.err;
  image = ReadBytes(folder / "b.BIN");
  EXPECT_EQ(image[layout::kPeriodGridCurrent], 0);
  EXPECT_EQ(image[layout::kPeriodGridNext], 1);
  EXPECT_EQ(image[layout::kSpecialGridCurrent + layout::GridSlot(12, 9)], 0);
}

}  // namespace
}  // namespace tavrin
