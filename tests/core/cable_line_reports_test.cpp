// What the cable dialogs and the diagnostics window say about the line: the port searched or in
// use, ports the user may not open and how to be let in, a port that went away during a transfer,
// and the link error that a receive event brought.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>

#include "CableFakes.h"
#include "transfer/CableMessages.h"
#include "transfer/TransferMonitor.h"

namespace tavrin::testing {
namespace {

const std::vector<std::string> kPaths = {"/dev/ttyUSB0", "/dev/pts/7"};
constexpr char kLetIn[] =
    " を使用する権限がありません。\n"
    "次のコマンドでユーザーを dialout グループに追加し、ログインし直して下さい。\n"
    "sudo usermod -aG dialout $USER";
constexpr char kGone[] =
    "COM1 (/dev/ttyUSB0) が切断されました。\n"
    "USBケーブルを接続し直してから、もう一度実行して下さい。";

class RecordingDisplay : public TransferDisplay {
 public:
  std::vector<std::string> statuses;
  std::vector<std::string> ports;
  void ShowStatus(const std::string& text) override { statuses.push_back(text); }
  void ShowPort(const std::string& text) override { ports.push_back(text); }
  void ShowBytes(int) override {}
  void Finished() override {}
};

// A cable write as the dialog runs it, on a machine whose COM1 and COM2 are kPaths.
struct DialogBench {
  FakeSerial serial;
  FakeTimers timers;
  FakeDocument document;
  RecordingDisplay display;
  TransferMonitor monitor{display};
  CableLink link{serial, timers, document, monitor, OpenSourceFile, [] { return kPaths; }};

  DialogBench() {
    monitor.Attach(link);
    link.BeginTransfer(TransferMode::Write);
  }
  // The dialog's start: the search, or the status that there is nothing to search.
  void Open() {
    monitor.Show(status_text::kWaiting);
    if (!link.CountPorts()) return monitor.ShowNoPort();
    link.StartSearch();
  }
};

TEST(CableLineReports, TheDialogNamesThePortsItSearchesAndThoseTheUserMayNotOpen) {
  const std::string searching =
      "COM2 (/dev/pts/7) で年間プログラムタイマを探しています（最長 30 秒）。";
  const std::string searchedInVain = "COM2 (/dev/pts/7) を 30 秒間探しました。";
  const PortLock minicom{"/var/lock/LCK..ttyUSB0", 4242, true, "minicom -D /dev/ttyUSB0", ""};
  const PortLock alices{"/var/lock/LCK..ttyUSB0", 4242, true, "minicom", "alice"};
  const PortLock ended{"/var/lock/LCK..ttyUSB0", 4242, false, "", "alice"};
  const PortLock unread{"/var/lock/LCK..pts_7", 0, false, "", "alice"};
  const PortRefusal locked(PortOpenError::Locked);
  const struct {
    const char* what;
    std::set<int> openable;
    std::map<int, PortRefusal> refused;
    bool timerAnswers;
    std::vector<std::string> statuses, ports;
  } cases[] = {
      {"no port", {}, {}, false, {"接続待ち", "ポートが存在しません。"}, {}},
      {"a port the user may not open",
       {},
       {{1, Denied()}},
       false,
       {"接続待ち", std::string("COM1 (/dev/ttyUSB0)") + kLetIn},
       {}},
      {"two of them",
       {},
       {{1, Denied()}, {2, Denied()}},
       false,
       {"接続待ち", std::string("COM1 (/dev/ttyUSB0)、COM2 (/dev/pts/7)") + kLetIn},
       {}},
      {"two groups that let the user in",
       {},
       {{1, Denied("uucp")}, {2, Denied()}},
       false,
       {"接続待ち",
        "COM1 (/dev/ttyUSB0) を使用する権限がありません。\n"
        "次のコマンドでユーザーを uucp グループに追加し、ログインし直して下さい。\n"
        "sudo usermod -aG uucp $USER\n"
        "COM2 (/dev/pts/7) を使用する権限がありません。\n"
        "次のコマンドでユーザーを dialout グループに追加し、ログインし直して下さい。\n"
        "sudo usermod -aG dialout $USER"},
       {}},
      {"no group lets the user in",
       {},
       {{1, Denied("")}},
       false,
       {"接続待ち",
        "COM1 (/dev/ttyUSB0) を使用する権限がありません。\n"
        "管理者に、このポートを使用する権限を依頼して下さい。"},
       {}},
      {"a port held by a program that runs",
       {},
       {{1, {PortOpenError::Locked, {}, minicom}}},
       false,
       {"接続待ち",
        "COM1 (/dev/ttyUSB0) は他のプログラムが使用中です（プロセス 4242 minicom -D "
        "/dev/ttyUSB0）。\nそのプログラムを終了してから、もう一度実行して下さい。"},
       {}},
      {"another user's program holds one, the user may not open the other",
       {},
       {{1, {PortOpenError::Locked, {}, alices}}, {2, Denied()}},
       false,
       {"接続待ち", std::string("COM2 (/dev/pts/7)") + kLetIn +
                        "\nCOM1 (/dev/ttyUSB0) は他のプログラムが使用中です（プロセス 4242 "
                        "minicom、ユーザー alice）。\nそのプログラムを終了してから、もう一度実行"
                        "して下さい。"},
       {}},
      {"a lock left by a process that ended",
       {},
       {{1, {PortOpenError::Locked, {}, ended}}},
       false,
       {"接続待ち",
        "COM1 (/dev/ttyUSB0) は、終了したプロセス 4242 のロックファイルで使用中のままです"
        "（/var/lock/LCK..ttyUSB0、ユーザー alice のファイル）。\n次のコマンドでロックファイル"
        "を削除してから、もう一度実行して下さい。\nsudo rm /var/lock/LCK..ttyUSB0"},
       {}},
      // The port that opens is searched in vain; the ones refused are the reason.
      {"a lock that names no process, beside a port searched in vain",
       {1},
       {{2, {PortOpenError::Locked, {}, unread}}},
       false,
       {"接続待ち",
        "接続するポートが見つかりません。\n"
        "COM2 (/dev/pts/7) はロックファイルで使用中になっています（/var/lock/LCK..pts_7、"
        "ユーザー alice のファイル）。\nこのポートを使うプログラムが動いていなければ、次のコマ"
        "ンドでロックファイルを削除してから、もう一度実行して下さい。\n"
        "sudo rm /var/lock/LCK..pts_7"},
       {"COM1 (/dev/ttyUSB0) で年間プログラムタイマを探しています（最長 30 秒）。",
        "COM1 (/dev/ttyUSB0) を 30 秒間探しました。"}},
      {"a port searched in vain beside one the user may not open",
       {2},
       {{1, Denied()}},
       false,
       {"接続待ち", std::string("接続するポートが見つかりません。\nCOM1 (/dev/ttyUSB0)") + kLetIn},
       {searching, searchedInVain}},
      {"a port searched in vain",
       {2},
       {},
       false,
       {"接続待ち", "接続するポートが見つかりません。"},
       {searching, searchedInVain}},
      {"the timer found beside a port refused",
       {2},
       {{1, Denied()}},
       true,
       {"接続待ち", "接続完了"},
       {searching, "COM2 (/dev/pts/7) で通信しています。"}},
      // A refusal of another kind (no device, no serial line) is no reason to name.
      {"a port that is none",
       {},
       {{1, PortRefusal(PortOpenError::Other)}},
       false,
       {"接続待ち", "ポートが存在しません。"},
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DialogBench bench;
    bench.serial.openable = c.openable;
    bench.serial.refused = c.refused;
    bench.Open();
    if (c.timerAnswers) {
      bench.link.OnReceive(Wire(B("QVL-3400")));
    } else {
      bench.timers.Advance(30000, bench.link);
    }
    EXPECT_EQ(bench.display.statuses, c.statuses);
    EXPECT_EQ(bench.display.ports, c.ports);
  }
}

TEST(CableLineReports, APortThatWentAwayEndsTheTransferSayingWhatToDo) {
  const struct {
    const char* what;
    bool portCloses;
    bool frameArrives;  // else a line error event
    std::optional<std::string> detail;
  } cases[] = {
      {"the control closed the port on a line error", true, false, kGone},
      {"a line error on a port that stays open", false, false, std::nullopt},
      {"the answer to a frame found the port closed", true, true, kGone},
  };
  for (const auto& c : cases) {
    LinkBench bench(TransferMode::Write, OpenSourceFile, [] { return kPaths; });
    bench.Connect();
    if (c.portCloses) bench.serial.open = false;
    if (c.frameArrives) {
      bench.ReceiveFrame(B("MAC"));
    } else {
      bench.serial.event = CommEventCode::CdTimeout;
      bench.link.OnComm();
    }
    if (c.detail) {
      EXPECT_EQ(bench.observer.progress.back(), std::make_pair(Progress::Failed, *c.detail))
          << c.what;
    } else {
      EXPECT_TRUE(bench.observer.progress.empty()) << c.what;
    }
  }
  // A line that still stands but takes nothing keeps its own failure.
  LinkBench refusing(TransferMode::Write, OpenSourceFile, [] { return kPaths; });
  refusing.Connect();
  refusing.serial.writesFail = true;
  refusing.ReceiveFrame(B("MAC"));
  EXPECT_EQ(refusing.observer.progress.back(),
            std::make_pair(Progress::Failed, std::string("シリアル通信送信異常")));
}

TEST(CableLineReports, ALinkErrorOutlastsTheReceiveEventThatBroughtIt) {
  Bytes big(kLinkBufferSize + 1, 'A');
  big[0] = 'M';
  // The frame in three events, as a serial line delivers it; the third passes the frame buffer.
  const Bytes wire = Wire(big);
  std::vector<Bytes> overflow = {{kACK}};
  for (std::size_t at = 0; at < wire.size(); at += 4096) {
    overflow.emplace_back(wire.begin() + at, wire.begin() + std::min(at + 4096, wire.size()));
  }
  const struct {
    const char* what;
    std::vector<Bytes> events;  // after the reply to an 'M' frame
    std::string statusLine;
  } cases[] = {
      {"overflow", overflow, "シリアル通信受信異常"},
      {"third NAK", {{kNAK}, {kNAK}, {kNAK}}, "シリアル通信送信異常"},
      {"an answer taken", {{kACK}}, "データを受信中です"},
  };
  for (const auto& c : cases) {
    LinkBench bench;
    bench.Connect();
    bench.ReceiveFrame(B("M"));
    for (const Bytes& bytes : c.events) {
      bench.serial.event = CommEventCode::Receive;
      bench.serial.pendingInput = bytes;
      bench.link.OnComm();
    }
    EXPECT_EQ(bench.observer.last.statusLine, c.statusLine) << c.what;
  }
}

TEST(CableLineReports, TheDiagnosticsConnectSaysWhyThePortDidNotOpen) {
  const struct {
    const char* what;
    std::optional<PortRefusal> refusal;  // none: the port opens
    std::string statusLine;
  } cases[] = {
      {"opens", std::nullopt, ""},
      {"no such port", PortRefusal(PortOpenError::Other), ""},
      {"the user may not", Denied(), "ポートを使用する権限がありません（dialout グループ）"},
      {"uucp lets the user in", Denied("uucp"),
       "ポートを使用する権限がありません（uucp グループ）"},
      {"no group lets the user in", Denied(""), "ポートを使用する権限がありません"},
      {"held by a program",
       PortRefusal(PortOpenError::Locked, {},
                   {"/var/lock/LCK..ttyS1", 77, true, "cu -l ttyS1", "bob"}),
       "ポートは他のプログラムが使用中です（プロセス 77 cu -l ttyS1、ユーザー bob）"},
      {"a lock left behind",
       PortRefusal(PortOpenError::Locked, {}, {"/var/lock/LCK..ttyS1", 77, false, "", "bob"}),
       "ポートはロックファイルで使用中です（/var/lock/LCK..ttyS1）"},
  };
  for (const auto& c : cases) {
    LinkBench bench;
    bench.serial.openable = c.refusal ? std::set<int>{} : std::set<int>{2};
    if (c.refusal) bench.serial.refused[2] = *c.refusal;
    bench.link.SetPort(2);
    EXPECT_EQ(bench.link.OpenLink(), !c.refusal) << c.what;
    EXPECT_EQ(bench.observer.last.statusLine, c.statusLine) << c.what;
  }
}

}  // namespace
}  // namespace tavrin::testing
