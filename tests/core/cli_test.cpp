#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "CliRun.h"
#include "TempFolder.h"
#include "cli/Commands.h"
#include "cli/ModelJson.h"
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

TEST(Cli, DumpFailuresPrintTheProgramsMessage) {
  TempFolder folder;
  Outcome missing = Call(RunDump, {folder / "missing.BIN", "--data-dir", folder.path(), kNow});
  EXPECT_EQ(missing.code, kExitFailure);
  EXPECT_EQ(missing.err, folder / "missing.BIN" + " のオープンに失敗しました。\n");
  EXPECT_EQ(missing.out, "");

  WriteBytes(folder / "other.BIN", std::string("KORVA VL3 V01.00VL4X") + std::string(100, '\0'));
  Outcome foreign = Call(RunDump, {folder / "other.BIN", "--data-dir", folder.path(), kNow});
  EXPECT_EQ(foreign.code, kExitFailure);
  EXPECT_EQ(foreign.err, folder / "other.BIN" + " は対象外のファイルです。\n");

  // A name file asked for by name must exist; the one beside the settings file may be absent.
  WriteBytes(folder / "short.BIN", "KORVA VL3 V01.00VL3X");
  Outcome noNames = Call(RunDump, {folder / "short.BIN", "--data-dir", folder.path(), kNow});
  EXPECT_EQ(noNames.code, kExitOk) << noNames.err;
  EXPECT_EQ(noNames.err, "");
  Outcome namesMissing = Call(RunDump, {folder / "short.BIN", "--names", folder / "none.TXT",
                                        "--data-dir", folder.path(), kNow});
  EXPECT_EQ(namesMissing.code, kExitFailure);
  EXPECT_EQ(namesMissing.err, folder / "none.TXT" + " のオープンに失敗しました。\n");
}

TEST(Cli, PackWritesBothFilesAsASaveDoes) {
  TempFolder folder;
  WriteBytes(folder / "model.json", R"({"basicProgram":1,"names":{"1":"授業日"},
    "channels":[{"kind":2}],
    "steps":[{"slot":3,"program":1,"channel":1,"days":[0,1,1,1,1,1,0],"hour":7,"minute":30,"action":1}]})");
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

TEST(Cli, PackFailuresNameTheKeyOrThePathAndWriteNothing) {
  TempFolder folder;
  WriteBytes(folder / "bad.json", R"({"steps":[{"slot":0,"hour":256}]})");
  Outcome bad = Call(
      RunPack, {folder / "bad.json", "-o", folder / "x.BIN", "--data-dir", folder.path(), kNow});
  EXPECT_EQ(bad.code, kExitFailure);
  EXPECT_EQ(bad.err, folder / "bad.json" + ": steps[0].hour: 256 is outside 0..255\n");
  EXPECT_FALSE(std::filesystem::exists(folder / "x.BIN"));

  Outcome missing = Call(RunPack, {folder / "none.json", "-o", folder / "x.BIN", kNow});
  EXPECT_EQ(missing.code, kExitFailure);
  EXPECT_EQ(missing.err, folder / "none.json" + " のオープンに失敗しました。\n");

  WriteBytes(folder / "ok.json", "{}");
  Outcome noFolder = Call(RunPack, {folder / "ok.json", "-o", folder / "no/such/plan", "--data-dir",
                                    folder.path(), kNow});
  EXPECT_EQ(noFolder.code, kExitFailure);
  EXPECT_EQ(noFolder.err, folder / "no/such/plan.BIN" + " のオープンに失敗しました。\n");
}

TEST(Cli, PackWritesThePairWholeBesideTheRealFile) {
  TempFolder folder;
  WriteBytes(folder / "model.json", R"({"names":{"1":"A"}})");
  std::filesystem::create_directory(folder / "real");
  WriteBytes(folder / "real/plan.BIN", "old");
  std::filesystem::create_symlink(folder / "real/plan.BIN", folder / "link.BIN");
  Outcome linked = Call(RunPack, {folder / "model.json", "-o", folder / "link.BIN", "--data-dir",
                                  folder.path(), kNow});
  ASSERT_EQ(linked.code, kExitOk) << linked.err;
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.BIN"));
  EXPECT_EQ(ReadBytes(folder / "real/plan.BIN").size(), 6594u);
  EXPECT_EQ(ReadBytes(folder / "real/plan.TXT").substr(16, 1), "A");
  EXPECT_FALSE(std::filesystem::exists(folder / "link.TXT"));

  // A name file that cannot be written keeps the settings file from being replaced.
  std::filesystem::create_directory(folder / "other.TXT");
  WriteBytes(folder / "other.BIN", "old");
  Outcome blocked = Call(RunPack, {folder / "model.json", "-o", folder / "other.BIN", "--data-dir",
                                   folder.path(), kNow});
  EXPECT_EQ(blocked.code, kExitFailure);
  EXPECT_EQ(blocked.err, folder / "other.TXT" + " のオープンに失敗しました。\n");
  EXPECT_EQ(ReadBytes(folder / "other.BIN"), "old");
}

TEST(Cli, DataFolderAndClockDecideTheImage) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "data");
  // Without radio, with one holiday: 2026-12-09 (a Wednesday).
  WriteBytes(folder / "data/Tavrin.ini", "[System]\r\nRadioSet=OFF\r\n");
  WriteBytes(folder / "data/Tavrin-Holidays.ini", "[System]\r\nVersion=T\r\n[2026]\r\n12=9\r\n");
  WriteBytes(folder / "model.json",
             R"({"holidayEnabled":1,"holidayProgram":7,"radioFrequency":810,"radioStation":"X"})");
  Outcome run = Call(RunPack, {folder / "model.json", "-o", folder / "a.BIN", "--data-dir",
                               folder / "data", kNow});
  ASSERT_EQ(run.code, kExitOk) << run.err;
  std::string image = ReadBytes(folder / "a.BIN");
  ASSERT_EQ(image.size(), 6594u);
  EXPECT_EQ(image[layout::kRadioFrequency], 0);  // no radio: frequency and name zeroed
  EXPECT_EQ(image[layout::kRadioStation], 0);
  EXPECT_EQ(image[layout::kPeriodGridCurrent], 26);  // 2026 - 2000
  EXPECT_EQ(image[layout::kSpecialGridCurrent + layout::GridSlot(12, 9)], 7);

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
