// What every command does with the files and values a hostile user gives it: the same fault is
// said in the same words by each command, nothing is read without bound, and values that cannot
// be right are refused with the value quoted.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "CableFakes.h"
#include "CliRun.h"
#include "ScopedEnv.h"
#include "TempFolder.h"
#include "cli/CableCommands.h"
#include "cli/Commands.h"
#include "cli/UsbCommands.h"
#include "model/ImageLayout.h"

namespace tavrin {
namespace {

using testing::Call;
using testing::Outcome;
using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

namespace fs = std::filesystem;

const std::string kSource = TAVRIN_SOURCE_DIR;
const std::string kSchool = kSource + "/examples/school.BIN";
const std::string kShippedData = kSource + "/src/resources";
const std::string kNow = "--now=2026-12-08T09:00:00";

// A schedule the editors could make.
const std::string kModel =
    R"({"basicProgram":1,"channels":[{"kind":2}],"steps":[{"slot":0,"program":1,"channel":1,)"
    R"("days":[0,1,1,1,1,1,0],"hour":7,"minute":30,"action":1}])";

std::string Model(const std::string& change) { return kModel + change + "}"; }

// cable-write with no serial device: what it refuses, it refuses before a port is looked for.
int CableWriteWithoutPort(const std::vector<std::string>& args, CliIo& io) {
  class NoPort : public CableEnvironment {
   public:
    SerialTransport& Serial() override { return serial_; }
    WindowTimers& Timers() override { return timers_; }
    void SetPortPaths(const std::vector<std::string>&) override {}
    std::vector<std::string> SystemPortPaths() override { return {}; }
    void SetHandlers(std::function<void()>, std::function<void(LinkTimer)>,
                     std::function<void()>) override {}
    void Run() override {}
    void Quit() override {}

   private:
    testing::FakeSerial serial_;
    testing::FakeTimers timers_;
  } none;
  return RunCableWrite(args, io, none);
}

// Names a user may give in place of a file, each with the words every command uses for it.
struct Fault {
  const char* name;
  std::string path;
  std::string words;
};

std::vector<Fault> Faults(const TempFolder& folder) {
  fs::create_directory(folder / "folder");
  EXPECT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
  const std::string tooLong = folder / std::string(300, 'x') + "/" + std::string(4000, 'y');
  return {
      {"missing", folder / "missing", folder / "missing does not exist"},
      {"folder", folder / "folder", folder / "folder is a folder"},
      {"fifo", folder / "fifo", folder / "fifo is not a regular file"},
      {"device", "/dev/zero", "/dev/zero is not a regular file"},
      {"path too long", tooLong, tooLong + ": the path is too long"},
  };
}

struct CommandRun {
  const char* command;
  std::function<Outcome(const std::string&)> run;
  int code;
};

TEST(CliInputs, EveryCommandSaysTheSameFaultOfASettingsFileInTheSameWords) {
  TempFolder folder;
  fs::create_directory(folder / "stick");
  const std::string data = "--data-dir=" + kShippedData;
  const CommandRun runs[] = {
      {"dump",
       [&](const std::string& p) {
         return Call(RunDump, {p, data, kNow});
       },
       1},
      {"export",
       [&](const std::string& p) {
         return Call(RunExport, {p, "-o", folder / "x.CSV", data, kNow});
       },
       1},
      {"agenda",
       [&](const std::string& p) {
         return Call(RunAgenda, {p, data});
       },
       2},
      {"check",
       [&](const std::string& p) {
         return Call(RunCheck, {p, data, kNow});
       },
       2},
      {"usb-write",
       [&](const std::string& p) {
         return Call(RunUsbWrite, {p, "--drive", folder / "stick", data, kNow});
       },
       1},
      {"next-year",
       [&](const std::string& p) {
         return Call(RunNextYear, {p, "-o", folder / "x.BIN", data, kNow});
       },
       2},
  };
  for (const Fault& fault : Faults(folder)) {
    for (const CommandRun& run : runs) {
      SCOPED_TRACE(std::string(run.command) + ", " + fault.name);
      const Outcome outcome = run.run(fault.path);
      EXPECT_EQ(outcome.code, run.code);
      EXPECT_EQ(outcome.err.substr(0, outcome.err.find('\n') + 1),
                "tavrin-cli: " + fault.words + "\n");
    }
  }
  EXPECT_FALSE(fs::exists(folder / "x.CSV"));
  EXPECT_FALSE(fs::exists(folder / "x.BIN"));
  EXPECT_TRUE(fs::is_empty(folder / "stick"));
}

// Every command that takes --names checks the name file the same way: it must be a regular file
// of exactly one name table, and the option must name one.
TEST(CliInputs, EveryCommandChecksANameFileTheSameWay) {
  TempFolder folder;
  WriteBytes(folder / "EMPTY.TXT", "");
  WriteBytes(folder / "SHORT.TXT", std::string(1599, 'n'));
  std::vector<Fault> faults = Faults(folder);
  faults.push_back({"empty file", folder / "EMPTY.TXT",
                    folder / "EMPTY.TXT has 0 bytes, a program-name file 1600"});
  faults.push_back({"a byte short", folder / "SHORT.TXT",
                    folder / "SHORT.TXT has 1599 bytes, a program-name file 1600"});
  WriteBytes(folder / "model.json", Model(""));
  const std::string data = "--data-dir=" + kShippedData;
  const CommandRun runs[] = {
      {"dump",
       [&](const std::string& n) {
         return Call(RunDump, {kSchool, "--names", n, data, kNow});
       },
       1},
      {"export",
       [&](const std::string& n) {
         return Call(RunExport, {kSchool, "--names", n, "-o", folder / "x.CSV", data, kNow});
       },
       1},
      {"check settings file",
       [&](const std::string& n) {
         return Call(RunCheck, {kSchool, "--names", n, data, kNow});
       },
       2},
      {"check model",
       [&](const std::string& n) {
         return Call(RunCheck, {folder / "model.json", "--names", n, data, kNow});
       },
       2},
      {"agenda --ics",
       [&](const std::string& n) {
         return Call(RunAgenda, {kSchool, "--ics", folder / "x.ics", "--names", n, data, kNow});
       },
       2},
  };
  for (const CommandRun& run : runs) {
    for (const Fault& fault : faults) {
      SCOPED_TRACE(std::string(run.command) + ", " + fault.name);
      const Outcome outcome = run.run(fault.path);
      EXPECT_EQ(outcome.code, run.code);
      EXPECT_EQ(outcome.err, "tavrin-cli: " + fault.words + "\n");
      EXPECT_EQ(outcome.out, "");
    }
    // "--names=" names no file: a wrong command line, said before anything is read.
    SCOPED_TRACE(run.command);
    const Outcome empty = run.run("");
    EXPECT_EQ(empty.code, 2);
    EXPECT_EQ(empty.err.rfind("tavrin-cli: --names needs a value\nusage: ", 0), 0u) << empty.err;
  }
  EXPECT_FALSE(fs::exists(folder / "x.CSV"));
  EXPECT_FALSE(fs::exists(folder / "x.ics"));
}

// The name file beside a settings file may be missing (no names, as the program opens it), but
// what stands there must be one: every command that reads it says so in the same words, and of one
// of another size it warns.
TEST(CliInputs, EveryCommandChecksTheNameFileBesideASettingsFile) {
  TempFolder folder;
  fs::copy_file(kSchool, folder / "plan.BIN");
  const std::string names = folder / "plan.TXT";
  const std::string data = "--data-dir=" + kShippedData;
  const CommandRun runs[] = {
      {"dump",
       [&](const std::string& s) {
         return Call(RunDump, {s, data, kNow});
       },
       1},
      {"export",
       [&](const std::string& s) {
         return Call(RunExport, {s, "-o", folder / "x.CSV", data, kNow});
       },
       1},
      {"check",
       [&](const std::string& s) {
         return Call(RunCheck, {s, data, kNow});
       },
       2},
      {"diff",
       [&](const std::string& s) {
         return Call(RunDiff, {kSchool, s, data, kNow});
       },
       2},
      {"agenda --ics",
       [&](const std::string& s) {
         return Call(RunAgenda, {s, "--ics", folder / "x.ics", data, kNow});
       },
       2},
      {"next-year",
       [&](const std::string& s) {
         return Call(RunNextYear, {s, "-o", folder / "x.BIN", data, kNow});
       },
       2},
  };
  const struct {
    const char* name;
    std::function<void()> make;
    bool refused;  // else the command runs, with `words` as a warning
    std::string words;
  } besides[] = {
      {"fifo", [&] { ASSERT_EQ(mkfifo(names.c_str(), 0600), 0); }, true,
       names + " is not a regular file"},
      {"folder", [&] { fs::create_directory(names); }, true, names + " is a folder"},
      {"a byte short", [&] { WriteBytes(names, std::string(1599, 'n')); }, false,
       "warning: " + names + " has 1599 bytes, a program-name file 1600"},
  };
  for (const auto& beside : besides) {
    fs::remove_all(names);
    beside.make();
    for (const CommandRun& run : runs) {
      SCOPED_TRACE(std::string(run.command) + ", " + beside.name);
      const Outcome outcome = run.run(folder / "plan.BIN");
      if (beside.refused) {
        EXPECT_EQ(outcome.code, run.code);
      } else {
        EXPECT_NE(outcome.code, run.code);
      }
      EXPECT_NE(outcome.err.find("tavrin-cli: " + beside.words + "\n"), std::string::npos)
          << outcome.err;
      fs::remove(folder / "x.CSV");
      fs::remove(folder / "x.ics");
      fs::remove(folder / "x.BIN");
      fs::remove(folder / "x.TXT");
    }
  }
}

// One rule for every command that writes a file from files it reads: the output is never one of
// them, by identity (a link, "..", a hard link, the name file beside, the data folder's files).
// The command refuses with a non-zero status and the file stays as it was.
TEST(CliInputs, NoCommandWritesOverAFileItReads) {
  TempFolder folder;
  const std::string bin = folder / "plan.BIN";
  const std::string txt = folder / "plan.TXT";
  const std::string json = folder / "model.json";
  const std::string dataDir = folder / "data";
  fs::create_directories(folder / "sub");
  fs::create_directories(folder / "stick");
  fs::create_directories(dataDir);
  fs::copy_file(kSchool, bin);
  WriteBytes(txt, std::string(1600, 'n'));
  WriteBytes(json, Model(""));
  fs::copy_file(kShippedData + "/Tavrin.ini", dataDir + "/Tavrin.ini");
  fs::copy_file(kShippedData + "/Tavrin-Holidays.ini", dataDir + "/Tavrin-Holidays.ini");
  fs::create_symlink(bin, folder / "link.BIN");
  fs::create_hard_link(bin, folder / "hard.CSV");
  fs::create_symlink(json, folder / "out.TXT");  // the name file pack would write
  const std::string stickFile = folder / "stick/VL-3400.BIN";
  fs::copy_file(kSchool, stickFile);
  const std::string data = "--data-dir=" + dataDir;
  const struct {
    const char* name;
    CommandFunction command;
    std::vector<std::string> args;
    std::string kept;  // the input that must stay as it was
  } rows[] = {
      {"export -o the settings file", RunExport, {bin, "-o", bin, data, kNow}, bin},
      {"export -o the name file beside", RunExport, {bin, "-o", txt, data, kNow}, txt},
      {"export -o a link to it", RunExport, {bin, "-o", folder / "link.BIN", data, kNow}, bin},
      {"export -o through ..", RunExport, {bin, "-o", folder / "sub/../plan.BIN", data, kNow}, bin},
      {"export -o a hard link", RunExport, {bin, "-o", folder / "hard.CSV", data, kNow}, bin},
      {"export -o --names", RunExport, {bin, "--names", txt, "-o", txt, data, kNow}, txt},
      {"export -o Tavrin.ini",
       RunExport,
       {bin, "-o", dataDir + "/Tavrin.ini", data, kNow},
       dataDir + "/Tavrin.ini"},
      {"pack -o the model", RunPack, {json, "-o", json, data, kNow}, json},
      {"pack: the name file is the model",
       RunPack,
       {json, "-o", folder / "out.BIN", data, kNow},
       json},
      {"pack -o the holiday file",
       RunPack,
       {json, "-o", dataDir + "/Tavrin-Holidays.ini", data, kNow},
       dataDir + "/Tavrin-Holidays.ini"},
      {"agenda --ics the settings file", RunAgenda, {bin, "--ics", bin, data, kNow}, bin},
      {"agenda --ics the name file beside", RunAgenda, {bin, "--ics", txt, data, kNow}, txt},
      {"next-year -o the name file beside", RunNextYear, {bin, "-o", txt, data, kNow}, txt},
      {"next-year -o the holiday file",
       RunNextYear,
       {bin, "-o", dataDir + "/Tavrin-Holidays.ini", data, kNow},
       dataDir + "/Tavrin-Holidays.ini"},
      {"usb-read onto the stick's file",
       RunUsbRead,
       {stickFile, "--drive", folder / "stick", data, kNow},
       stickFile},
      {"cable-write --trace the settings file",
       CableWriteWithoutPort,
       {bin, "--trace", bin, data, kNow},
       bin},
      {"cable-write --trace a link to it",
       CableWriteWithoutPort,
       {bin, "--trace", folder / "link.BIN", data, kNow},
       bin},
      {"usb-write of the stick's file",
       RunUsbWrite,
       {stickFile, "--drive", folder / "stick", data, kNow},
       stickFile},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string before = ReadBytes(row.kept);
    const Outcome outcome = Call(row.command, row.args);
    EXPECT_NE(outcome.code, 0);
    EXPECT_NE(outcome.err.find(" is the same file as the input "), std::string::npos)
        << outcome.err;
    EXPECT_EQ(ReadBytes(row.kept), before);
    EXPECT_FALSE(fs::is_symlink(row.kept));
  }
  EXPECT_TRUE(fs::is_symlink(folder / "link.BIN"));
  EXPECT_TRUE(fs::is_symlink(folder / "out.TXT"));
  EXPECT_FALSE(fs::exists(folder / "out.BIN"));
  EXPECT_FALSE(fs::exists(folder / "stick/backups"));
  // A file not there yet is no input, whatever it is called.
  EXPECT_EQ(Call(RunExport, {bin, "-o", folder / "sub/../new.CSV", data, kNow}).code, 0);
}

// A model JSON goes through the one bounded reader whichever command reads it: a huge one is
// refused before it is read, in the same words.
TEST(CliInputs, EveryCommandReadsAModelThroughTheOneBoundedReader) {
  TempFolder folder;
  std::vector<Fault> faults = Faults(folder);
  WriteBytes(folder / "huge.json", "{}");
  fs::resize_file(folder / "huge.json", 5ull << 30);  // sparse
  faults.push_back({"5 GB", folder / "huge.json", folder / "huge.json is larger than 4 MB"});
  const std::string data = "--data-dir=" + kShippedData;
  const CommandRun runs[] = {
      {"pack",
       [&](const std::string& m) {
         return Call(RunPack, {m, "-o", folder / "x.BIN", data, kNow});
       },
       1},
      {"check",
       [&](const std::string& m) {
         return Call(RunCheck, {m, data, kNow});
       },
       2},
  };
  for (const Fault& fault : faults) {
    if (std::string(fault.name) == "device") continue;  // no ".json": check reads it as a .BIN
    for (const CommandRun& run : runs) {
      SCOPED_TRACE(std::string(run.command) + ", " + fault.name);
      std::string path = fault.path;
      const auto start = std::chrono::steady_clock::now();
      const Outcome outcome = run.run(path);
      EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
      EXPECT_EQ(outcome.code, run.code);
      EXPECT_EQ(outcome.err, "tavrin-cli: " + fault.words + "\n");
    }
  }
  EXPECT_FALSE(fs::exists(folder / "x.BIN"));
}

// An output named as a folder is refused as export refuses it; nothing hidden is written into it.
TEST(CliInputs, PackRefusesAnOutputThatNamesAFolder) {
  TempFolder folder;
  WriteBytes(folder / "model.json", Model(""));
  fs::create_directory(folder / "plans");
  const std::string tooLong = folder / std::string(300, 'x') + "/" + std::string(4000, 'y');
  const struct {
    std::string output;
    std::string words;
  } cases[] = {
      {folder / "plans", folder / "plans is a folder"},
      {folder / "plans/", folder / "plans/ is a folder"},
      {folder / "plans/.", folder / "plans/. is a folder"},
      {"/tmp/..", "/tmp/.. is a folder"},
      {folder / "gone/", "the folder " + folder / "gone does not exist"},
      {tooLong, tooLong + ": the path is too long"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.output);
    const Outcome outcome =
        Call(RunPack, {folder / "model.json", "-o", c.output, "--data-dir=" + kShippedData, kNow});
    EXPECT_EQ(outcome.code, kExitFailure);
    EXPECT_EQ(outcome.err, "tavrin-cli: " + c.words + "\n");
    EXPECT_TRUE(fs::is_empty(folder / "plans"));
  }
  const Outcome exported =
      Call(RunExport, {kSchool, "-o", tooLong, "--data-dir=" + kShippedData, kNow});
  EXPECT_EQ(exported.err, "tavrin-cli: " + tooLong + ": the path is too long\n");
}

// Strict pack writes only what the program and the timer open; --lenient may keep another tag,
// and says what that file will meet.
TEST(CliInputs, StrictPackRequiresTheTimersModelTag) {
  TempFolder folder;
  const struct {
    const char* tag;
    bool strictWrites;
  } cases[] = {{"ABCD", false}, {"", false}, {"VL3", false}, {"vl3x", true}, {"VL3X", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tag);
    WriteBytes(folder / "model.json", Model(std::string(R"(,"modelTag":")") + c.tag + "\""));
    const std::string why =
        folder / "model.json" + ": modelTag: \"" + c.tag + "\" is not the timer's tag VL3X";
    for (bool lenient : {false, true}) {
      SCOPED_TRACE(lenient ? "lenient" : "strict");
      fs::remove(folder / "x.BIN");
      std::vector<std::string> args = {folder / "model.json", "-o", folder / "x.BIN",
                                       "--data-dir=" + kShippedData, kNow};
      if (lenient) args.push_back("--lenient");
      const Outcome outcome = Call(RunPack, args);
      if (c.strictWrites) {
        EXPECT_EQ(outcome.code, kExitOk) << outcome.err;
        EXPECT_EQ(outcome.err, "");
      } else if (lenient) {
        EXPECT_EQ(outcome.code, kExitOk);
        EXPECT_EQ(outcome.err, "tavrin-cli: warning: " + why + "; the program will not open " +
                                   folder / "x.BIN" + "\n");
      } else {
        EXPECT_EQ(outcome.code, kExitFailure);
        EXPECT_EQ(outcome.err, "tavrin-cli: " + why + "\n");
      }
      EXPECT_EQ(fs::exists(folder / "x.BIN"), c.strictWrites || lenient);
    }
  }
}

// A clock that is no real time is refused, from the command line or from TAVRIN_NOW, with the
// value as given.
TEST(CliInputs, ImpossibleTimesAreRefusedWithTheValueQuoted) {
  const struct {
    const char* time;
    bool real;
  } cases[] = {
      {"2026-02-30T00:00:00", false}, {"0000-01-01T00:00:00", false},
      {"2100-02-29T00:00:00", false}, {"2026-04-31T00:00:00", false},
      {"2026-12-08T24:00:00", false}, {"2026-12-08", false},
      {"2024-02-29T12:00:00", true},  {"2000-02-29T23:59:59", true},
  };
  const std::string data = "--data-dir=" + kShippedData;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.time);
    const Outcome option = Call(RunCheck, {kSchool, data, std::string("--now=") + c.time});
    testing::ScopedEnv env;
    env.Set("TAVRIN_NOW", c.time);
    const Outcome variable = Call(RunDump, {kSchool, data});
    // The agenda does not use the clock, but a value given is still checked.
    const Outcome agenda = Call(RunAgenda, {kSchool, std::string("--now=") + c.time});
    if (c.real) {
      EXPECT_EQ(option.code, kExitFailure);  // the school's findings
      EXPECT_EQ(agenda.code, kExitOk);
      EXPECT_EQ(variable.code, kExitOk) << variable.err;
      continue;
    }
    EXPECT_EQ(option.code, kExitUsage);
    EXPECT_EQ(
        option.err.rfind(std::string("tavrin-cli: --now: expected YYYY-MM-DDTHH:MM:SS, got \"") +
                             c.time + "\"\n",
                         0),
        0u)
        << option.err;
    EXPECT_EQ(variable.code, kExitUsage);
    EXPECT_EQ(variable.err.rfind(
                  std::string("tavrin-cli: TAVRIN_NOW: expected YYYY-MM-DDTHH:MM:SS, got \"") +
                      c.time + "\"\n",
                  0),
              0u)
        << variable.err;
    EXPECT_EQ(variable.out, "");
  }
}

// A JSON fault quotes the start of the offending token, however long the token is.
TEST(CliInputs, JsonFaultsQuoteOnlyTheStartOfTheToken) {
  TempFolder folder;
  const std::string string3mb = std::string(3 * 1024 * 1024, 's');
  const std::string number3mb = std::string(3 * 1024 * 1024, '9');
  const struct {
    const char* name;
    std::string json;
    std::string shown;  // what the message quotes of the token
  } cases[] = {
      {"unterminated text", R"({"idText":")" + string3mb, "\"" + std::string(39, 's') + "..."},
      {"number too large", R"({"basicProgram":)" + number3mb + "}", std::string(40, '9') + "..."},
      {"bad escape", R"({"idText":")" + string3mb + R"(\q"})", "\"" + std::string(39, 's') + "..."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WriteBytes(folder / "bad.json", c.json);
    const Outcome outcome =
        Call(RunCheck, {folder / "bad.json", "--data-dir=" + kShippedData, kNow});
    EXPECT_EQ(outcome.code, kExitUsage);
    EXPECT_LT(outcome.err.size(), 400u) << outcome.err.substr(0, 400);
    EXPECT_NE(outcome.err.find("not valid JSON: "), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("'" + c.shown + "'"), std::string::npos) << outcome.err;
  }
}

// The data folder's files are read only as far as a real one reaches; the rest is said to be
// ignored, and what was read still counts.
TEST(CliInputs, DataFolderFilesAreReadOnlyAsFarAsARealOneReaches) {
  TempFolder folder;
  fs::copy_file(kShippedData + "/Tavrin-Holidays.ini", folder / "Tavrin-Holidays.ini");
  WriteBytes(folder / "Tavrin.ini", "[System]\r\nRadioSet=OFF\r\n");
  const Outcome plain = Call(RunDump, {kSchool, "--data-dir", folder.path(), kNow});
  ASSERT_EQ(plain.code, kExitOk) << plain.err;
  ASSERT_EQ(plain.err, "");
  for (const char* name : {"Tavrin-Holidays.ini", "Tavrin.ini"}) {
    fs::resize_file(folder / name, 5ull << 30);  // sparse: 5 GB of zeros after the text
  }
  const auto start = std::chrono::steady_clock::now();
  const Outcome huge = Call(RunDump, {kSchool, "--data-dir", folder.path(), kNow});
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(huge.code, kExitOk);
  EXPECT_EQ(huge.out, plain.out);
  EXPECT_EQ(huge.err, "tavrin-cli: warning: only the first 256 KB of " +
                          folder / "Tavrin-Holidays.ini" + " were read; the rest was ignored\n" +
                          "tavrin-cli: warning: only the first 256 KB of " + folder / "Tavrin.ini" +
                          " were read; the rest was ignored\n");
}

// A chime line of "Tavrin.ini" numbered where no step can sound it is said to be ignored, by
// line, by every command that reads the file.
TEST(CliInputs, ChimeLinesNumberedOutsideTheCodesAreSaidToBeIgnored) {
  TempFolder folder;
  fs::copy_file(kShippedData + "/Tavrin-Holidays.ini", folder / "Tavrin-Holidays.ini");
  WriteBytes(folder / "Tavrin.ini",
             "[System]\r\nRadioSet=OFF\r\n[Chime]\r\n1=a\r\n16=b\r\n0=c\r\n");
  const std::string said = "tavrin-cli: warning: " + folder / "Tavrin.ini" +
                           " line 5: a chime numbered outside 1..15 was ignored: 16=b\n" +
                           "tavrin-cli: warning: " + folder / "Tavrin.ini" +
                           " line 6: a chime numbered outside 1..15 was ignored: 0=c\n";
  const std::string data = "--data-dir=" + folder.path();
  const struct {
    const char* name;
    Outcome outcome;
  } cases[] = {
      {"dump", Call(RunDump, {kSchool, data, kNow})},
      {"check", Call(RunCheck, {kSchool, data, kNow})},
      {"agenda --ics", Call(RunAgenda, {kSchool, data, kNow, "--from=2026-12-08", "--to=2026-12-08",
                                        "--ics", folder / "out.ics"})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NE(c.outcome.err.find(said), std::string::npos) << c.outcome.err;
  }
}

}  // namespace
}  // namespace tavrin
