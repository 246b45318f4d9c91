// tavrin-cli cable-write and cable-read against a scripted timer behind a fake port: the command
// line, the port list, and what a read that fails leaves behind.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>

#include "CableFakes.h"
#include "TempFolder.h"
#include "WithoutPermissionOverride.h"
#include "cli/CableCommands.h"
#include "cli/UsbCommands.h"
#include "transfer/ByteTrace.h"

namespace tavrin::testing {
namespace {

constexpr char kOptions[] =
    "  --port DEV     a device to search, COM1 first; repeat for more (default: the system's\n"
    "                 serial ports, or $TAVRIN_PORTS)\n"
    "  --baud SPEED   9600, 19200 (default) or 38400 bit/s\n"
    "  --wait SECONDS without --port, wait up to SECONDS for a serial device to appear\n"
    "  --trace FILE   record every byte sent and received\n"
    "  --data-dir DIR the data folder, whose backups/ keeps every image carried (default:\n"
    "                 $TAVRIN_DATA_DIR or the data folder)\n"
    "  --now TIME     the clock that names the backups, YYYY-MM-DDTHH:MM:SS\n";
const std::string kReadUsage =
    std::string(
        "usage: tavrin-cli cable-read OUT.BIN [--port DEV]... [--baud SPEED] "
        "[--wait SECONDS] [--trace FILE]\n"
        "       [--data-dir DIR] [--now TIME]\n"
        "Receives the timer's settings (Fn-13) into OUT.BIN.\n") +
    kOptions;
const std::string kWriteUsage =
    std::string(
        "usage: tavrin-cli cable-write FILE.BIN [--port DEV]... [--baud SPEED] "
        "[--wait SECONDS] [--trace FILE]\n"
        "       [--data-dir DIR] [--now TIME]\n"
        "Serves a saved settings file to the timer set to Fn-11.\n") +
    kOptions;

// The port, the timers and the event loop, with the timer's side played by `timer` inside Run.
class ScriptedEnvironment : public CableEnvironment {
 public:
  FakeSerial serial;
  FakeTimers timers;
  std::vector<std::string> systemPorts = {"/dev/ttyUSB0"};
  std::set<std::string> denied;  // devices that exist but that the user may not open
  std::vector<std::vector<std::string>> portLists;  // every list the command set
  std::function<void(ScriptedEnvironment&)> timer;

  SerialControl& Serial() override { return serial; }
  WindowTimers& Timers() override { return timers; }
  void SetPortPaths(const std::vector<std::string>& paths) override {
    portLists.push_back(paths);
    serial.openable.clear();
    serial.refused.clear();
    for (std::size_t i = 0; i < paths.size(); ++i) {
      const int port = static_cast<int>(i) + 1;
      if (denied.count(paths[i])) {
        serial.refused[port] = Denied();
      } else {
        serial.openable.insert(port);
      }
    }
  }
  std::vector<std::string> SystemPortPaths() override { return systemPorts; }
  void SetHandlers(std::function<void()> onComm, std::function<void(LinkTimer)> onTimer,
                   std::function<void()>) override {
    onComm_ = std::move(onComm);
    onTimer_ = std::move(onTimer);
  }
  void Run() override {
    quit_ = false;
    if (timer) timer(*this);
    Wait(60000);
  }
  void Quit() override { quit_ = true; }

  // The timer sends a frame and acknowledges the answer; true when the program replied.
  bool Command(const Bytes& frame) {
    Deliver(Wire(frame));
    const Bytes wire = serial.TakeWire();
    Deliver({kACK});
    return wire.size() > 1;
  }
  void Wait(long ms) {
    if (!quit_)
      timers.Advance(ms, [&](LinkTimer id) {
        if (!quit_) onTimer_(id);
      });
  }

 private:
  void Deliver(Bytes bytes) {
    serial.pendingInput = std::move(bytes);
    serial.event = CommEventCode::Receive;
    onComm_();
  }

  std::function<void()> onComm_;
  std::function<void(LinkTimer)> onTimer_;
  bool quit_ = false;
};

struct Outcome {
  int code;
  std::string out;
  std::string err;
};

Outcome Call(int (*command)(const std::vector<std::string>&, CliIo&, CableEnvironment&),
             const std::vector<std::string>& args, ScriptedEnvironment& environment) {
  std::ostringstream out, err;
  CliIo io{out, err};
  const int code = command(args, io, environment);
  return {code, out.str(), err.str()};
}

// A command with no port to drive: the USB commands.
Outcome Call(int (*command)(const std::vector<std::string>&, CliIo&),
             const std::vector<std::string>& args) {
  std::ostringstream out, err;
  CliIo io{out, err};
  const int code = command(args, io);
  return {code, out.str(), err.str()};
}

Bytes Pattern6594() {
  Bytes image(6594);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 7 + i / 256);
  std::copy_n("VL3X", 4, image.begin() + 16);
  return image;
}

// A timer in Fn-13 that sends the first `bytes` of `image` and then falls silent.
std::function<void(ScriptedEnvironment&)> StallingTimer(const Bytes& image, std::size_t bytes) {
  return [image, bytes](ScriptedEnvironment& env) {
    env.Command(B("QVL-3400"));
    env.Command(B("OW"));
    Bytes data{'W', static_cast<uint8_t>(bytes >> 8), static_cast<uint8_t>(bytes & 0xFF)};
    data.insert(data.end(), image.begin(), image.begin() + static_cast<std::ptrdiff_t>(bytes));
    env.Command(data);
  };
}

// A timer in Fn-13 that sends `image` in one frame.
std::function<void(ScriptedEnvironment&)> SendingTimer(const Bytes& image) {
  return [image](ScriptedEnvironment& env) {
    StallingTimer(image, image.size())(env);
    env.Command(B("C"));
    env.Command(B("E0"));
  };
}

// The failure detail of a transfer the timer carried no further for 30 s.
const std::string kStalled =
    "年間プログラムタイマから 30 秒間、転送の続きが届きませんでした。\n"
    "年間プログラムタイマの表示とケーブルの接続を確かめてから、もう一度実行して下さい。";

// A timer in Fn-11 that reads the whole file in one request.
std::function<void(ScriptedEnvironment&)> ReadingTimer() {
  return [](ScriptedEnvironment& env) {
    env.Command(B("QVL-3400"));
    env.Command(B("OR"));
    env.Command(Bytes{'R', 0x19, 0xC2});
    env.Command(B("C"));
    env.Command(B("E0"));
  };
}

TEST(CableCommands, AnswerHelpAndRefuseBadCommandLinesWithTheirUsage) {
  const struct {
    std::vector<std::string> args;
    int code;
    std::string out;
    std::string err;
  } cases[] = {
      {{"--help"}, 0, kReadUsage, ""},
      {{"-h"}, 0, kReadUsage, ""},
      {{}, 2, "", "tavrin-cli: the file is missing\n" + kReadUsage},
      {{"a.BIN", "b.BIN"}, 2, "", "tavrin-cli: one file only\n" + kReadUsage},
      {{"a.BIN", "--baud", "1200"},
       2,
       "",
       "tavrin-cli: the speed must be 9600, 19200 or 38400\n" + kReadUsage},
      {{"a.BIN", "--port"}, 2, "", "tavrin-cli: --port needs a value\n" + kReadUsage},
      {{"a.BIN", "--colour"}, 2, "", "tavrin-cli: unknown option --colour\n" + kReadUsage},
  };
  for (const auto& c : cases) {
    ScriptedEnvironment environment;
    const Outcome outcome = Call(RunCableRead, c.args, environment);
    EXPECT_EQ(outcome.code, c.code) << c.err;
    EXPECT_EQ(outcome.out, c.out);
    EXPECT_EQ(outcome.err, c.err);
    EXPECT_TRUE(environment.portLists.empty());
  }
  std::vector<std::string> seventeen = {"a.BIN"};
  for (int i = 0; i < 17; ++i) seventeen.insert(seventeen.end(), {"--port", "/dev/null"});
  ScriptedEnvironment environment;
  EXPECT_EQ(Call(RunCableWrite, seventeen, environment).err,
            std::string("tavrin-cli: at most 16 ports\n") + kWriteUsage);
  EXPECT_EQ(Call(RunCableWrite, {"--help"}, environment).out, kWriteUsage);
}

TEST(CableCommands, EachCommandTakesThePortListWhenItStarts) {
  ScriptedEnvironment environment;
  environment.systemPorts = {};
  TempFolder folder;
  const std::string out = folder.path() + "/out.BIN";
  const Outcome none = Call(RunCableRead, {out}, environment);
  EXPECT_EQ(none.code, 1);
  EXPECT_NE(none.out.find("ポートが存在しません。\n"), std::string::npos);
  // The adapter is plugged in now: the next command finds it.
  environment.systemPorts = {"/dev/ttyUSB0"};
  const Bytes image = Pattern6594();
  environment.timer = SendingTimer(image);
  EXPECT_EQ(Call(RunCableRead, {out}, environment).code, 0);
  environment.timer = SendingTimer(image);
  EXPECT_EQ(Call(RunCableRead, {out, "--port", "/dev/a", "--port=/dev/b"}, environment).code, 0);
  EXPECT_EQ(environment.portLists,
            (std::vector<std::vector<std::string>>{{}, {"/dev/ttyUSB0"}, {"/dev/a", "/dev/b"}}));
}

TEST(CableCommands, APortTheUserMayNotOpenIsNamedWithTheWayIn) {
  ScriptedEnvironment environment;
  environment.denied = {"/dev/ttyUSB0"};
  TempFolder folder;
  const Outcome outcome = Call(RunCableRead, {folder / "out.BIN"}, environment);
  EXPECT_EQ(outcome.code, 1);
  const std::string said =
      "  COM1 /dev/ttyUSB0\n"
      "COM1 (/dev/ttyUSB0) を使用する権限がありません。\n"
      "次のコマンドでユーザーを dialout グループに追加し、ログインし直して下さい。\n"
      "sudo usermod -aG dialout $USER\n";
  ASSERT_GE(outcome.out.size(), said.size()) << outcome.out;
  EXPECT_EQ(outcome.out.substr(outcome.out.size() - said.size()), said);
  EXPECT_FALSE(std::filesystem::exists(folder / "out.BIN"));
}

// "通信完了" is said only once a transfer ended well; a failure says why on standard error, and
// OUT.BIN is written only after a good read.
TEST(CableCommands, OnlyATransferThatEndedWellSaysDone) {
  const Bytes image = Pattern6594();
  Bytes foreign = image;
  std::copy_n("XL3V", 4, foreign.begin() + 16);
  const std::string readFailed =
      "tavrin-cli: 年間プログラムタイマからのデータの読み込みに失敗しました。\n\n";
  const struct {
    const char* what;
    bool write;
    std::function<void(ScriptedEnvironment&)> timer;
    int code;
    std::string lastLine;
    std::string err;
  } cases[] = {
      {"a whole image read", false, SendingTimer(image), 0,
       "年間プログラムタイマからのデータの読み込みが正常に終了しました。\n", ""},
      {"an image open would refuse", false, SendingTimer(foreign), 1, "通信失敗\n",
       readFailed + "対象外のデータです。\n"},
      {"a timer silent after 1024 of 6594 bytes", false, StallingTimer(image, 1024), 1,
       "通信失敗\n", readFailed + kStalled + "\n"},
      {"a timer that reads nothing after the open", true,
       [](ScriptedEnvironment& env) {
         env.Command(B("QVL-3400"));
         env.Command(B("OR"));
       },
       1, "通信失敗\n",
       "tavrin-cli: \"plan.BIN\" の書き込みに失敗しました。\n\n" + kStalled + "\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedEnvironment environment;
    environment.timer = c.timer;
    TempFolder folder;
    WriteBytes(folder / "plan.BIN", std::string(image.begin(), image.end()));
    const std::string file = folder / (c.write ? "plan.BIN" : "out.BIN");
    const Outcome outcome = Call(c.write ? RunCableWrite : RunCableRead, {file}, environment);
    EXPECT_EQ(outcome.code, c.code);
    ASSERT_GE(outcome.out.size(), c.lastLine.size());
    EXPECT_EQ(outcome.out.substr(outcome.out.size() - c.lastLine.size()), c.lastLine);
    EXPECT_EQ(outcome.out.find("通信完了") != std::string::npos, c.code == 0) << outcome.out;
    EXPECT_EQ(outcome.err, c.err);
    if (!c.write) {
      EXPECT_EQ(ReadBytes(file), c.code == 0 ? std::string(image.begin(), image.end()) : "");
    }
  }
}

// What crossed the line before the timer fell silent, and nothing after: no reply is left
// unanswered and nothing is sent into the silence.
TEST(CableCommands, AStalledReadIsTracedByteForByte) {
  TempFolder folder;
  ScriptedEnvironment environment;
  environment.timer = StallingTimer(Pattern6594(), 1024);
  ASSERT_EQ(
      Call(RunCableRead, {folder / "out.BIN", "--trace", folder / "trace.txt"}, environment).code,
      1);
  Bytes data{'W', 1024 >> 8, 1024 & 0xFF};
  const Bytes image = Pattern6594();
  data.insert(data.end(), image.begin(), image.begin() + 1024);
  const std::vector<std::pair<std::string, Bytes>> expected = {
      {"rx", Wire(B("QVL-3400"))}, {"tx", {kACK}}, {"tx", Wire(B("Q0"))}, {"rx", {kACK}},
      {"rx", Wire(B("OW"))},       {"tx", {kACK}}, {"tx", Wire(B("O0"))}, {"rx", {kACK}},
      {"rx", Wire(data)},          {"tx", {kACK}}, {"tx", Wire(B("W0"))}, {"rx", {kACK}},
  };
  std::vector<std::pair<std::string, Bytes>> traced;
  for (const TraceLine& line : ReadByteTrace(folder / "trace.txt")) {
    traced.emplace_back(line.direction, line.bytes);
  }
  EXPECT_EQ(traced, expected);
}

TEST(CableCommands, TransfersLeaveTheirTraceAndTheImageCarriedBesideTheBackups) {
  TempFolder folder;
  const std::string data = folder / "data";
  const std::vector<std::string> records = {"--data-dir", data, "--now", "2026-04-01T09:00:00"};
  const Bytes image = Pattern6594();
  ScriptedEnvironment environment;
  environment.timer = SendingTimer(image);
  std::vector<std::string> args = {folder / "got.BIN"};
  args.insert(args.end(), records.begin(), records.end());
  ASSERT_EQ(Call(RunCableRead, args, environment).code, 0);
  EXPECT_EQ(ReadBytes(data + "/backups/20260401-090000-cable-read.BIN"),
            std::string(image.begin(), image.end()));
  const std::vector<TraceLine> trace = ReadByteTrace(data + "/backups/last-transfer.trace");
  ASSERT_FALSE(trace.empty());
  EXPECT_EQ(trace.front().direction, "rx");
  EXPECT_EQ(trace.front().bytes, Wire(B("QVL-3400")));

  environment.timer = ReadingTimer();
  args[0] = folder / "got.BIN";
  const Outcome written = Call(RunCableWrite, args, environment);
  EXPECT_EQ(written.code, 0) << written.err;
  EXPECT_EQ(ReadBytes(data + "/backups/20260401-090000-cable-write.BIN"),
            std::string(image.begin(), image.end()));
  EXPECT_EQ(ReadByteTrace(data + "/backups/last-transfer.trace").front().bytes,
            Wire(B("QVL-3400")));

  // Records that cannot be kept are said; the transfer still succeeds.
  WriteBytes(folder / "file", "not a folder");
  environment.timer = SendingTimer(image);
  const Outcome unkept =
      Call(RunCableRead,
           {folder / "again.BIN", "--data-dir", folder / "file", "--now", "2026-04-01T09:00:00"},
           environment);
  EXPECT_EQ(unkept.code, 0);
  const std::string problem =
      "tavrin-cli: " + folder / "file" + "/backups のオープンに失敗しました。\n";
  EXPECT_EQ(unkept.err, problem + problem);
}

// Both read commands check OUT.BIN before the timer or the stick is asked for anything, the
// user's rights deciding: root writes past a mode of 555 or 444, a user not past 555.
TEST(ReadCommands, TheOutputIsCheckedBeforeTheTimerOrTheStickIsAsked) {
  TempFolder folder, stick, data;
  const Bytes image = Pattern6594();
  const std::string imageText(image.begin(), image.end());
  WriteBytes(stick / "VL-3400.BIN", imageText);
  WriteBytes(folder / "file", "a file");
  std::filesystem::create_directory(folder / "shut");
  std::filesystem::create_directory(folder / "open");
  const struct {
    const char* what;
    std::string out;
    bool asUser;      // without the capabilities that let root past every mode
    std::string err;  // empty: the read goes ahead and writes OUT.BIN
  } cases[] = {
      {"no folder", folder / "gone/out.BIN", false,
       "the folder " + folder / "gone" + " does not exist"},
      {"a file for the folder", folder / "file/out.BIN", false,
       folder / "file" + " is not a folder"},
      {"a folder for the file", folder / "open", false, folder / "open" + " is a folder"},
      {"a folder shut to the user", folder / "shut/out.BIN", true,
       "cannot write " + folder / "shut/out.BIN" + ": permission denied"},
      {"a folder shut by its mode alone", folder / "shut/out.BIN", false, ""},
      {"a file shut by its mode alone", folder / "open/kept.BIN", false, ""},
  };
  for (const auto& c : cases) {
    for (const bool cable : {true, false}) {
      SCOPED_TRACE(std::string(c.what) + (cable ? ", cable-read" : ", usb-read"));
      std::filesystem::remove_all(data.path() + "/backups");
      std::filesystem::remove(folder / "shut/out.BIN");
      WriteBytes(folder / "open/kept.BIN", "old");
      ASSERT_EQ(chmod((folder / "open/kept.BIN").c_str(), 0444), 0);
      ASSERT_EQ(chmod((folder / "shut").c_str(), 0555), 0);
      ScriptedEnvironment environment;
      environment.timer = SendingTimer(image);
      const std::vector<std::string> args = {c.out, "--data-dir", data.path()};
      Outcome outcome;
      {
        std::optional<WithoutPermissionOverride> user;
        if (c.asUser) user.emplace();
        if (cable) {
          outcome = Call(RunCableRead, args, environment);
        } else {
          std::vector<std::string> usb = args;
          usb.insert(usb.end(), {"--drive", stick.path()});
          outcome = Call(RunUsbRead, usb);
        }
      }
      if (c.err.empty()) {
        EXPECT_EQ(outcome.code, 0) << outcome.err;
        EXPECT_EQ(ReadBytes(c.out), imageText);
        continue;
      }
      EXPECT_EQ(outcome.code, 1);
      EXPECT_EQ(outcome.err, "tavrin-cli: " + c.err + "\n");
      EXPECT_TRUE(environment.portLists.empty());
      EXPECT_FALSE(std::filesystem::exists(data.path() + "/backups"));
    }
  }
  EXPECT_EQ(ReadBytes(folder / "file"), "a file");
}

// The trace replaces its file when the command ends, so it may never be a file the command works
// on, and it must be a file: a FIFO would hold the command before the timer is looked for.
TEST(CableCommands, ATraceGoesOnlyToARegularFileThatIsNotTheCommandsOwn) {
  TempFolder folder;
  const std::string data = folder / "data";
  const std::string plan = folder / "plan.BIN";
  const Bytes image = Pattern6594();
  WriteBytes(plan, std::string(image.begin(), image.end()));
  WriteBytes(folder / "old.BIN", "old contents");
  std::filesystem::create_symlink(plan, folder / "link.BIN");
  std::filesystem::create_directories(data + "/backups");
  WriteBytes(data + "/backups/last-transfer.trace", "the last trace");
  std::filesystem::create_directory(folder / "folder");
  ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
  const struct {
    bool write;
    std::string file;
    std::string trace;
    int code;
    std::string err;  // its first line
  } cases[] = {
      {true, plan, plan, 2, "--trace " + plan + " is the settings file of this command"},
      {true, plan, folder / "link.BIN", 2,
       "--trace " + folder / "link.BIN" + " is the settings file of this command"},
      {false, folder / "old.BIN", folder / "old.BIN", 2,
       "--trace " + folder / "old.BIN" + " is the settings file of this command"},
      {false, folder / "new.BIN", folder / "folder/../new.BIN", 2,
       "--trace " + folder / "folder/../new.BIN" + " is the settings file of this command"},
      {false, folder / "new.BIN", data + "/backups/last-transfer.trace", 2,
       "--trace " + data + "/backups/last-transfer.trace is the trace the data folder keeps"},
      {false, folder / "new.BIN", folder / "fifo", 1, folder / "fifo is not a regular file"},
      {true, plan, folder / "folder", 1, folder / "folder is a folder"},
      {true, plan, folder / "gone/trace.txt", 1, "the folder " + folder / "gone does not exist"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.trace);
    ScriptedEnvironment environment;
    const Outcome outcome =
        Call(c.write ? RunCableWrite : RunCableRead,
             {c.file, "--trace", c.trace, "--data-dir", data, "--now", "2026-04-01T09:00:00"},
             environment);
    EXPECT_EQ(outcome.code, c.code);
    EXPECT_EQ(outcome.err.substr(0, outcome.err.find('\n')), "tavrin-cli: " + c.err);
    EXPECT_TRUE(environment.portLists.empty());
  }
  EXPECT_EQ(ReadBytes(plan), std::string(image.begin(), image.end()));
  EXPECT_EQ(ReadBytes(folder / "old.BIN"), "old contents");
  EXPECT_FALSE(std::filesystem::exists(folder / "new.BIN"));
  EXPECT_EQ(ReadBytes(data + "/backups/last-transfer.trace"), "the last trace");

  // Another file is kept as it was until the transfer ends, then holds the trace.
  WriteBytes(folder / "trace.txt", "an earlier trace");
  ScriptedEnvironment environment;
  std::string duringTransfer;
  environment.timer = [&](ScriptedEnvironment& env) {
    ReadingTimer()(env);
    duringTransfer = ReadBytes(folder / "trace.txt");
  };
  const Outcome traced =
      Call(RunCableWrite, {plan, "--trace", folder / "trace.txt", "--data-dir", data}, environment);
  EXPECT_EQ(traced.code, 0) << traced.err;
  EXPECT_EQ(duringTransfer, "an earlier trace");
  EXPECT_EQ(ReadByteTrace(folder / "trace.txt").front().bytes, Wire(B("QVL-3400")));
}

// The kept trace is the last exchange with a timer: a command that found no port, or no timer
// on the ports it searched, leaves it as it was.
TEST(CableRecords, ACommandThatExchangedNoByteKeepsTheLastTrace) {
  TempFolder folder;
  const std::string data = folder / "data";
  const std::string kept = data + "/backups/last-transfer.trace";
  std::filesystem::create_directories(data + "/backups");
  WriteBytes(kept, "the last real trace");
  const std::vector<std::string> args = {folder / "out.BIN", "--data-dir", data};

  ScriptedEnvironment noPort;
  noPort.systemPorts = {};
  EXPECT_EQ(Call(RunCableRead, args, noPort).code, 1);
  EXPECT_EQ(ReadBytes(kept), "the last real trace");

  ScriptedEnvironment noTimer;  // a port, searched for 30 s with nothing on it
  EXPECT_EQ(Call(RunCableRead, args, noTimer).code, 1);
  EXPECT_EQ(ReadBytes(kept), "the last real trace");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(data + "/backups"), {}), 1);

  ScriptedEnvironment timer;
  timer.timer = SendingTimer(Pattern6594());
  EXPECT_EQ(Call(RunCableRead, args, timer).code, 0);
  EXPECT_EQ(ReadByteTrace(kept).front().bytes, Wire(B("QVL-3400")));
}

}  // namespace
}  // namespace tavrin::testing
