// Every transfer ends: a timer that falls silent after connecting, a line whose writes fail, a
// flood of data during the search and a large frame cut in two all come to a result.
#include <gtest/gtest.h>

#include "CableFakes.h"

namespace tavrin::testing {
namespace {

const std::string kImageFile = std::string(TAVRIN_GOLDEN_DIR) + "/cable/image.BIN";
const ProgressReports kSendFailed = {{Progress::Failed, "シリアル通信送信異常"}};
// A timer that carried the transfer no further for 30 s: what happened and what to do.
const ProgressReports kStalled = {
    {Progress::Failed,
     "年間プログラムタイマから 30 秒間、転送の続きが届きませんでした。\n"
     "年間プログラムタイマの表示とケーブルの接続を確かめてから、もう一度実行して下さい。"}};

// The reports that end a transfer, without the progress before them.
ProgressReports Endings(const ProgressReports& reports) {
  ProgressReports endings;
  for (const auto& report : reports) {
    if (report.first == Progress::Succeeded || report.first == Progress::Failed) {
      endings.push_back(report);
    }
  }
  return endings;
}

void ExpectEndedAs(const ProgressReports& ending, LinkBench& bench, const std::string& what) {
  EXPECT_EQ(Endings(bench.observer.progress), ending) << what;
  EXPECT_FALSE(bench.serial.open) << what;
  EXPECT_TRUE(bench.timers.running.empty()) << what;
}

TEST(CableLiveness, ATimerSilentForThirtySecondsAfterConnectingEndsTheTransfer) {
  const struct {
    TransferMode mode;
    std::vector<Bytes> frames;  // what the timer sends before it falls silent
  } cases[] = {
      {TransferMode::Write, {}},
      {TransferMode::Write, {B("OR"), Bytes{'R', 0, 100}}},
      {TransferMode::Write, {B("OR"), B("C")}},
      {TransferMode::Read, {B("OW"), Bytes{'W', 0, 1, 0x55}}},
      {TransferMode::Read, {B("OW"), B("C")}},
  };
  for (const auto& c : cases) {
    LinkBench bench(c.mode);
    bench.document.path = kImageFile;
    bench.Connect();
    for (const Bytes& frame : c.frames) bench.Exchange(frame);
    const std::string what = std::to_string(c.frames.size()) + " frames";
    bench.timers.Advance(29999, bench.link);
    EXPECT_TRUE(Endings(bench.observer.progress).empty()) << what;
    bench.timers.Advance(1, bench.link);
    ExpectEndedAs(kStalled, bench, what);
    if (c.mode == TransferMode::Read) {
      EXPECT_EQ(bench.document.calls.back(), "UpdateTitle");
      EXPECT_TRUE(bench.document.untitled);
    }
  }
}

// Only a frame that takes the transfer further than it was gives the timer another 30 s. A timer
// that repeats itself, or floods frames the program does not know, is ended like a silent one.
TEST(CableLiveness, OnlyFramesThatCarryTheTransferOnGiveTheTimerMoreTime) {
  const struct {
    const char* name;
    TransferMode mode;
    std::vector<Bytes> before;  // exchanged once, right after the identification
    Bytes repeated;             // then sent 9, 18 and 27 s later
    bool progress;              // whether each one carries the transfer on
  } cases[] = {
      {"mode frames", TransferMode::Write, {}, B("MAC"), false},
      {"unknown frames", TransferMode::Write, {B("OR")}, B("X0123456789"), false},
      {"identification again", TransferMode::Read, {}, B("QVL-3400"), false},
      {"open again", TransferMode::Read, {B("OW")}, B("OW"), false},
      {"reads past the end",
       TransferMode::Write,
       {B("OR"), Bytes{'R', 0x10, 0}, Bytes{'R', 0x10, 0}},
       Bytes{'R', 0, 8},
       false},
      {"data past the image",
       TransferMode::Read,
       {B("OW"),
        [] {
          Bytes whole{'W', 6594 >> 8, 6594 & 0xFF};
          whole.resize(3 + 6594, 0x11);
          return whole;
        }()},
       Bytes{'W', 0, 1, 0x22},
       false},
      {"reads of the file", TransferMode::Write, {B("OR")}, Bytes{'R', 0, 8}, true},
      {"data of the image", TransferMode::Read, {B("OW")}, Bytes{'W', 0, 1, 0x22}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LinkBench bench(c.mode);
    bench.document.path = kImageFile;
    bench.Connect();
    for (const Bytes& frame : c.before) bench.Exchange(frame);
    for (int i = 0; i < 3; ++i) {
      bench.timers.Advance(9000, bench.link);
      ASSERT_TRUE(Endings(bench.observer.progress).empty()) << i;
      bench.Exchange(c.repeated);
    }
    bench.timers.Advance(2999, bench.link);
    EXPECT_TRUE(Endings(bench.observer.progress).empty());
    bench.timers.Advance(1, bench.link);  // 30 s after the frames before the repeats
    if (c.progress) {
      EXPECT_TRUE(Endings(bench.observer.progress).empty());
      bench.timers.Advance(26999, bench.link);
      EXPECT_TRUE(Endings(bench.observer.progress).empty());
      bench.timers.Advance(1, bench.link);  // 30 s after the last repeat
    }
    ExpectEndedAs(kStalled, bench, c.name);
  }
  // The finish comes one second after the 'E' frame, however long the timer then stays silent.
  LinkBench ended;
  ended.document.path = kImageFile;
  ended.Connect();
  ended.Exchange(B("OR"));
  ended.Exchange(B("C"));
  ended.Exchange(B("E1"));
  ended.timers.Advance(60000, ended.link);
  EXPECT_EQ(Endings(ended.observer.progress), (ProgressReports{{Progress::Failed, ""}}));
}

// A timer that identifies itself again after its 'E' frame and then closes resets the link, which
// stops the finish; the no-progress limit still ends the transfer, once.
TEST(CableLiveness, AFinishStoppedByAClosingTimerIsLeftToTheLimit) {
  LinkBench bench;
  bench.document.path = kImageFile;
  bench.Connect();
  bench.Exchange(B("OR"));
  bench.Exchange(Bytes{'R', 0, 100});
  bench.Exchange(B("C"));
  bench.Exchange(B("E0"));
  bench.Exchange(B("QVL-3400"));
  bench.Exchange(B("C"));
  EXPECT_FALSE(bench.timers.Running(LinkTimer::Finish));
  bench.timers.Advance(60000, bench.link);
  ExpectEndedAs(kStalled, bench, "after the close");
}

TEST(CableLiveness, AWriteThatFailsEndsAConnectedTransferAtOnce) {
  const struct {
    const char* when;
    std::vector<Bytes> before;  // exchanged while the line still works
    Bytes failing;              // the frame whose answers cannot be written
  } cases[] = {
      {"identification", {}, B("QVL-3400")},
      {"open", {B("QVL-3400")}, B("OW")},
      {"data", {B("QVL-3400"), B("OW")}, Bytes{'W', 0, 1, 0x55}},
      {"close", {B("QVL-3400"), B("OW")}, B("C")},
  };
  for (const auto& c : cases) {
    LinkBench bench(TransferMode::Read);
    bench.Search();
    for (const Bytes& frame : c.before) bench.Exchange(frame);
    bench.serial.writesFail = true;
    bench.ReceiveFrame(c.failing);
    ExpectEndedAs(kSendFailed, bench, c.when);
    EXPECT_EQ(bench.serial.TakeWire(), Bytes{}) << c.when;
  }
}

TEST(CableLiveness, AWriteThatFailsBeforeConnectingLeavesTheSearchToItsLimit) {
  LinkBench bench;
  bench.serial.openable = {1, 2};
  bench.Search();
  bench.serial.writesFail = true;
  bench.ReceiveFrame(B("MAC"));
  EXPECT_TRUE(bench.observer.progress.empty());
  EXPECT_EQ(bench.observer.last.statusLine, "シリアル通信送信異常");
  bench.timers.Advance(700, bench.link);
  EXPECT_EQ(bench.serial.port, 2);
  bench.timers.Advance(30000, bench.link);
  EXPECT_EQ(bench.link.Phase(), SearchPhase::Ended);
  EXPECT_FALSE(bench.serial.open);
}

TEST(CableLiveness, AFloodDuringTheSearchKeepsItsTimeLimit) {
  LinkBench bench;
  bench.Search();
  Bytes flood{kDLE, kSTX};
  flood.resize(2 + 9000, 'A');
  for (std::size_t at = 0; at < flood.size(); at += 1000) {
    bench.Receive(Bytes(flood.begin() + at, flood.begin() + std::min(at + 1000, flood.size())));
  }
  EXPECT_EQ(bench.observer.last.statusLine, "シリアル通信受信異常");
  EXPECT_TRUE(bench.timers.Running(LinkTimer::SearchLimit));
  EXPECT_TRUE(bench.timers.Running(LinkTimer::PortListen));
  bench.timers.Advance(30000, bench.link);
  EXPECT_EQ(bench.link.Phase(), SearchPhase::Ended);
  EXPECT_FALSE(bench.link.DeviceIdentified());
  EXPECT_FALSE(bench.serial.open);
}

TEST(CableLiveness, AWholeImageFrameCutInTwoIsDroppedAndTheSilenceEndsTheRead) {
  LinkBench bench(TransferMode::Read);
  bench.Connect();
  bench.Exchange(B("OW"));
  Bytes data{'W', 6594 >> 8, 6594 & 0xFF};
  for (int i = 0; i < 6594; ++i) data.push_back(static_cast<uint8_t>(i * 7 + i / 256));
  const Bytes wire = Wire(data);
  const std::size_t half = wire.size() / 2;
  bench.Receive(Bytes(wire.begin(), wire.begin() + half));
  bench.timers.Advance(300, bench.link);
  EXPECT_EQ(bench.link.State(), LinkState::Idle);
  // The rest is noise now: each ENQ in it is answered NAK and nothing is stored.
  bench.Receive(Bytes(wire.begin() + half, wire.end()));
  const Bytes answers = bench.serial.TakeWire();
  ASSERT_FALSE(answers.empty());
  EXPECT_EQ(std::count(answers.begin(), answers.end(), kNAK), std::ssize(answers));
  EXPECT_EQ(bench.link.BytesTransferred(), 0);
  bench.timers.Advance(30000, bench.link);
  ExpectEndedAs(kStalled, bench, "cut frame");
}

}  // namespace
}  // namespace tavrin::testing
