// What the cable dialogs and the diagnostics window say about the line: the port searched or in
// use, ports the user may not open and how to be let in, a port that went away during a transfer,
// and the link error that a receive event brought.
#include <gtest/gtest.h>

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
  const struct {
    std::set<int> openable, denied;
    bool timerAnswers;
    std::vector<std::string> statuses, ports;
  } cases[] = {
      {{}, {}, false, {"接続待ち", "ポートが存在しません。"}, {}},
      {{}, {1}, false, {"接続待ち", std::string("COM1 (/dev/ttyUSB0)") + kLetIn}, {}},
      {{},
       {1, 2},
       false,
       {"接続待ち", std::string("COM1 (/dev/ttyUSB0)、COM2 (/dev/pts/7)") + kLetIn},
       {}},
      // The port that opens is searched in vain; the one the user may not open is the reason.
      {{2},
       {1},
       false,
       {"接続待ち", std::string("接続するポートが見つかりません。\nCOM1 (/dev/ttyUSB0)") + kLetIn},
       {searching, "COM2 (/dev/pts/7) を 30 秒間探しました。"}},
      {{2},
       {},
       false,
       {"接続待ち", "接続するポートが見つかりません。"},
       {searching, "COM2 (/dev/pts/7) を 30 秒間探しました。"}},
      {{2},
       {1},
       true,
       {"接続待ち", "接続完了"},
       {searching, "COM2 (/dev/pts/7) で通信しています。"}},
  };
  for (const auto& c : cases) {
    DialogBench bench;
    bench.serial.openable = c.openable;
    bench.serial.denied = c.denied;
    bench.Open();
    if (c.timerAnswers) {
      bench.link.OnReceive(Wire(B("QVL-3400")));
    } else {
      bench.timers.Advance(30000, bench.link);
    }
    EXPECT_EQ(bench.display.statuses, c.statuses) << c.openable.size() << c.denied.size();
    EXPECT_EQ(bench.display.ports, c.ports) << c.openable.size() << c.denied.size();
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

TEST(CableLineReports, TheDiagnosticsConnectSaysWhenThePortIsClosedToTheUser) {
  LinkBench bench;
  bench.serial.openable = {};
  bench.link.SetPort(2);
  EXPECT_FALSE(bench.link.OpenLink());
  EXPECT_EQ(bench.observer.last.statusLine, "");
  bench.serial.denied = {2};
  EXPECT_FALSE(bench.link.OpenLink());
  EXPECT_EQ(bench.observer.last.statusLine, "ポートを使用する権限がありません（dialout グループ）");
}

}  // namespace
}  // namespace tavrin::testing
