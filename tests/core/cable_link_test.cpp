#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "cable_fakes.h"
#include "transfer/CableMessages.h"

namespace tavrin::testing {
namespace {

namespace fs = std::filesystem;

Bytes Pattern(std::size_t size) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>((i * 7 + i / 256) & 0xFF);
  return bytes;
}

class TempFile {
 public:
  explicit TempFile(const Bytes& content) {
    path_ = (fs::temp_directory_path() /
             ("tavrin-cable-" + std::to_string(::getpid()) + "-" + std::to_string(next_++)))
                .string();
    std::ofstream(path_, std::ios::binary)
        .write(reinterpret_cast<const char*>(content.data()),
               static_cast<std::streamsize>(content.size()));
  }
  ~TempFile() { fs::remove(path_); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  static inline int next_ = 0;
};

Bytes ReadRequest(int n) {
  return {'R', static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(n & 0xFF)};
}

Bytes ReadReply(const Bytes& data) {
  Bytes reply{'R', '0', static_cast<uint8_t>(data.size() >> 8),
              static_cast<uint8_t>(data.size() & 0xFF)};
  // Appended byte by byte: GCC 12 at -O3 misreads a range insert here as an overread.
  std::copy(data.begin(), data.end(), std::back_inserter(reply));
  return reply;
}

Bytes DataFrame(const Bytes& data, std::size_t announced) {
  Bytes frame{'W', static_cast<uint8_t>(announced >> 8), static_cast<uint8_t>(announced & 0xFF)};
  std::copy(data.begin(), data.end(), std::back_inserter(frame));
  return frame;
}

// ---- byte machine

TEST(CableLinkWire, GoodFrameIsAcknowledgedThenAnswered) {
  LinkBench bench;
  bench.link.CountPorts();
  bench.link.StartSearch();
  ASSERT_TRUE(bench.serial.open);
  EXPECT_EQ(bench.Exchange(B("QVL-3400")), AckAndReply(B("Q0")));
  EXPECT_EQ(bench.link.LinkState(), link::kIdle);
  // A data byte equal to DLE arrives doubled, counts once and is stored once.
  EXPECT_EQ(bench.Exchange(Bytes{'Q', 0x10, 'V', 'L', '-', '3', '4', '0', '0'}),
            AckAndReply(B("Q0")));
}

TEST(CableLinkWire, EnqIsAnsweredWithTheLastAnswerForOnlyTwelveHundredMilliseconds) {
  LinkBench bench;
  bench.link.CountPorts();
  bench.link.StartSearch();
  // Nothing received yet: the answer byte is 0, which puts nothing on the wire, but counts.
  bench.Receive({kENQ});
  EXPECT_EQ(bench.serial.TakeWire(), Bytes{});
  EXPECT_EQ(bench.serial.outputs.size(), 0u);
  EXPECT_EQ(bench.observer.last.sendRequests, "1");

  bench.Exchange(B("QVL-3400"));
  bench.timers.Advance(1199, bench.link);
  bench.Receive({kENQ});
  EXPECT_EQ(bench.serial.TakeWire(), Bytes{kACK});
  EXPECT_EQ(bench.observer.last.response, "ACK");
  bench.timers.Advance(2, bench.link);
  bench.Receive({kENQ});
  EXPECT_EQ(bench.serial.TakeWire(), Bytes{kNAK});
  EXPECT_EQ(bench.observer.last.response, "NAK");
}

TEST(CableLinkWire, NakResendsTheSameFrameTwiceThenGivesUp) {
  LinkBench bench;
  bench.Connect();
  bench.ReceiveFrame(B("M"));
  const Bytes first = bench.serial.TakeWire();
  ASSERT_EQ(first, AckAndReply(B("MA2")));
  const Bytes reply(first.begin() + 1, first.end());
  bench.Receive({kNAK});
  EXPECT_EQ(bench.serial.TakeWire(), reply);
  bench.Receive({kNAK});
  EXPECT_EQ(bench.serial.TakeWire(), reply);
  bench.Receive({kNAK});
  EXPECT_EQ(bench.serial.TakeWire(), Bytes{});
  EXPECT_EQ(bench.link.LinkState(), link::kIdle);
  EXPECT_EQ(bench.observer.last.statusLine, "シリアル通信送信異常");
}

TEST(CableLinkWire, SilenceAfterAReplyBringsTwoEnqsThenASendFailure) {
  LinkBench bench;
  bench.Connect();
  bench.ReceiveFrame(B("M"));
  bench.serial.TakeWire();
  bench.timers.Advance(1399, bench.link);
  EXPECT_EQ(bench.serial.TakeWire(), Bytes{});
  bench.timers.Advance(1, bench.link);
  EXPECT_EQ(bench.serial.TakeWire(), Bytes{kENQ});
  bench.timers.Advance(1400, bench.link);
  EXPECT_EQ(bench.serial.TakeWire(), Bytes{kENQ});
  EXPECT_EQ(bench.link.LinkState(), link::kAwaitAnswer);
  bench.timers.Advance(1400, bench.link);
  EXPECT_EQ(bench.serial.TakeWire(), Bytes{});
  EXPECT_EQ(bench.link.LinkState(), link::kIdle);
  EXPECT_EQ(bench.observer.last.statusLine, "シリアル通信送信異常");
  // An ENQ answered ACK ends the wait: the timer got the reply after all.
  bench.ReceiveFrame(B("M"));
  bench.serial.TakeWire();
  bench.timers.Advance(1400, bench.link);
  bench.Receive({kACK});
  EXPECT_EQ(bench.link.LinkState(), link::kIdle);
  EXPECT_FALSE(bench.timers.Running(timer::kReplyAnswer));
}

TEST(CableLinkWire, StalledOrDamagedFramesAreDroppedAndTheNextOneCounts) {
  LinkBench bench;
  bench.Connect();
  const Bytes wire = Wire(B("MAC"));
  bench.Receive(Bytes(wire.begin(), wire.begin() + 4));
  EXPECT_EQ(bench.link.LinkState(), link::kData);
  bench.timers.Advance(199, bench.link);
  EXPECT_EQ(bench.link.LinkState(), link::kData);
  bench.timers.Advance(1, bench.link);
  EXPECT_EQ(bench.link.LinkState(), link::kIdle);
  // The rest of the stalled frame is line noise now: no reply to it.
  bench.Receive(Bytes(wire.begin() + 4, wire.end()));
  EXPECT_EQ(bench.serial.TakeWire(), Bytes{});

  Bytes damaged = Wire(B("MAC"));
  damaged.back() ^= 0x55;
  bench.Receive(damaged);
  EXPECT_EQ(bench.serial.TakeWire(), Bytes{kNAK});
  EXPECT_EQ(bench.Exchange(B("MAC")), AckAndReply(B("MA0")));

  // DLE then anything but STX is not a frame start.
  bench.Receive({kDLE, 'x'});
  EXPECT_EQ(bench.link.LinkState(), link::kIdle);
  bench.Receive({kDLE});
  bench.timers.Advance(200, bench.link);
  EXPECT_EQ(bench.link.LinkState(), link::kIdle);
}

TEST(CableLinkWire, MoreThanTheFrameBufferHoldsIsAReceiveFailureUntilReset) {
  LinkBench bench;
  bench.Connect();
  Bytes big(kLinkBufferSize + 1, 'A');
  big[0] = 'M';
  const Bytes wire = Wire(big);
  for (std::size_t at = 0; at < wire.size(); at += 4096) {
    bench.Receive(Bytes(wire.begin() + at, wire.begin() + std::min(at + 4096, wire.size())));
  }
  EXPECT_EQ(bench.serial.TakeWire(), Bytes{});
  EXPECT_EQ(bench.link.LinkState(), link::kIdle);
  EXPECT_EQ(bench.observer.last.statusLine, "シリアル通信受信異常");
  EXPECT_TRUE(bench.timers.running.empty());
  bench.ReceiveFrame(B("MAC"));
  EXPECT_EQ(bench.serial.TakeWire(), Bytes{});
  bench.link.ResetLink();
  EXPECT_EQ(bench.Exchange(B("MAC")), AckAndReply(B("MA0")));
}

TEST(CableLinkWire, ReceiveEventLargerThanTheInputBufferIsDropped) {
  LinkBench bench;
  bench.Connect();
  Bytes flood(kLinkBufferSize + 1, 0x00);
  bench.Receive(flood);
  EXPECT_EQ(bench.observer.last.receiveBytes, std::to_string(flood.size()));
  EXPECT_EQ(bench.serial.TakeWire(), Bytes{});
  EXPECT_EQ(bench.Exchange(B("MAC")), AckAndReply(B("MA0")));
}

TEST(CableLinkWire, WithoutADialogFramesAreAcknowledgedButNotInterpreted) {
  LinkBench bench(transfer::kNone);
  bench.link.SetPort(1);
  ASSERT_TRUE(bench.link.OpenLink());
  EXPECT_EQ(bench.Exchange(B("QVL-3400")), Bytes{kACK});
  EXPECT_EQ(bench.Exchange(B("MAC")), Bytes{kACK});
}

// ---- handlers

TEST(CableLinkHandlers, AnUnidentifiedTimerGetsZ1ForEverythingButQueryAndMode) {
  LinkBench bench;
  bench.link.CountPorts();
  bench.link.StartSearch();
  for (const char* frame : {"OR", "R\x00\x10", "W\x00\x00", "C", "E0"}) {
    EXPECT_EQ(bench.Exchange(B(frame)), AckAndReply(B("Z1"))) << frame;
  }
  EXPECT_EQ(bench.Exchange(B("MAC")), AckAndReply(B("MA0")));
  EXPECT_EQ(bench.Exchange(B("MAB")), AckAndReply(B("MA2")));
  // No handler, no reply.
  EXPECT_EQ(bench.Exchange(B("X")), Bytes{kACK});
  EXPECT_FALSE(bench.timers.Running(timer::kFinish));
}

TEST(CableLinkHandlers, QueryFindsTheModelNameAnywhereBeforeTheFirstNul) {
  LinkBench bench;
  bench.link.CountPorts();
  bench.link.StartSearch();
  EXPECT_EQ(bench.Exchange(Bytes{'Q', 'x', 0, 'V', 'L', '-', '3', '4', '0', '0'}),
            AckAndReply(B("Q1")));
  EXPECT_FALSE(bench.link.DeviceIdentified());
  EXPECT_EQ(bench.Exchange(B("Qtimer VL-3400 v2")), AckAndReply(B("Q0")));
  EXPECT_TRUE(bench.link.DeviceIdentified());
  EXPECT_EQ(bench.link.SearchPhase(), search::kEnded);
  EXPECT_EQ(SearchStatusText(bench.link.SearchPhase(), true), "接続完了");
  // Once identified, a query without the name is not answered.
  EXPECT_EQ(bench.Exchange(B("Qother")), Bytes{kACK});
  EXPECT_TRUE(bench.link.DeviceIdentified());
  EXPECT_EQ(bench.Exchange(B("QVL-3400")), AckAndReply(B("Q0")));
}

TEST(CableLinkHandlers, OpenChecksTheDirectionTheFileAndOpensOnlyOnce) {
  LinkBench bench;
  bench.Connect();
  EXPECT_EQ(bench.Exchange(B("OW")), AckAndReply(B("O2")));
  EXPECT_EQ(bench.Exchange(B("O")), AckAndReply(B("O2")));
  // The document's file is missing.
  EXPECT_EQ(bench.Exchange(B("OR")), AckAndReply(B("O2")));
  EXPECT_EQ(bench.Exchange(B("R\x00\x10")), AckAndReply(B("R1")));
  TempFile file(Pattern(100));
  bench.document.path = file.path();
  EXPECT_EQ(bench.Exchange(B("OR")), AckAndReply(B("O0")));
  EXPECT_EQ(bench.observer.last.filePath, file.path());
  EXPECT_EQ(bench.observer.last.openMode, "R");
  EXPECT_EQ(bench.Exchange(B("OR")), AckAndReply(B("O1")));
  // Kind 0 comes before kind 1 for a write.
  ASSERT_GE(bench.observer.progress.size(), 2u);
  EXPECT_EQ(bench.observer.progress[0].first, progress::kCommunicating);
  EXPECT_EQ(bench.observer.progress[1].first, progress::kConnected);
  // A folder is no settings file.
  LinkBench other;
  other.Connect();
  other.document.path = fs::temp_directory_path().string();
  EXPECT_EQ(other.Exchange(B("OR")), AckAndReply(B("O2")));
}

TEST(CableLinkHandlers, ReadRequestsServeTheFileInPiecesAndStopAtItsEnd) {
  LinkBench bench;
  bench.Connect();
  const Bytes content = Pattern(300);
  TempFile file(content);
  bench.document.path = file.path();
  bench.Exchange(B("OR"));
  EXPECT_EQ(bench.Exchange(ReadRequest(256)),
            AckAndReply(ReadReply(Bytes(content.begin(), content.begin() + 256))));
  EXPECT_EQ(bench.Exchange(ReadRequest(256)),
            AckAndReply(ReadReply(Bytes(content.begin() + 256, content.end()))));
  EXPECT_EQ(bench.Exchange(ReadRequest(256)), AckAndReply(ReadReply({})));
  EXPECT_EQ(bench.link.BytesTransferred(), 300);
  EXPECT_EQ(bench.observer.last.byteCount, "300");
  EXPECT_EQ(bench.Exchange(B("R\x01")), AckAndReply(B("R1")));
}

TEST(CableLinkHandlers, ReadRequestsThatCannotFitTheBuffersAreRefusedWithoutLosingBytes) {
  LinkBench bench;
  bench.Connect();
  // All DLEs: 4094 of them double to more than the send buffer holds.
  TempFile file(Bytes(6594, kDLE));
  bench.document.path = file.path();
  bench.Exchange(B("OR"));
  EXPECT_EQ(bench.Exchange(ReadRequest(8189)), AckAndReply(B("R1")));
  EXPECT_EQ(bench.Exchange(ReadRequest(4094)), AckAndReply(B("R1")));
  EXPECT_EQ(bench.link.BytesTransferred(), 0);
  EXPECT_EQ(bench.Exchange(ReadRequest(10)), AckAndReply(ReadReply(Bytes(10, kDLE))));
  EXPECT_EQ(bench.link.BytesTransferred(), 10);
}

TEST(CableLinkHandlers, ReadAndCloseErrorsOfTheFileAreStatusOne) {
  struct FailingFile : SourceFile {
    std::optional<std::size_t> Read(uint8_t*, std::size_t) override { return std::nullopt; }
    bool Seek(std::size_t) override { return true; }
    bool Close() override { return false; }
  };
  FakeSerial serial;
  serial.openable = {1};
  FakeTimers timers;
  FakeDocument document;
  FakeObserver observer;
  CableLink link(serial, timers, document, observer,
                 [](const std::string&) { return std::make_unique<FailingFile>(); });
  link.BeginTransfer(transfer::kWrite);
  link.CountPorts();
  link.StartSearch();
  auto exchange = [&](const Bytes& data) {
    link.OnReceive(Wire(data));
    Bytes wire = serial.TakeWire();
    link.OnReceive(Bytes{kACK});
    return wire;
  };
  exchange(B("QVL-3400"));
  EXPECT_EQ(exchange(B("OR")), AckAndReply(B("O0")));
  EXPECT_EQ(exchange(ReadRequest(16)), AckAndReply(B("R1")));
  EXPECT_EQ(exchange(B("C")), AckAndReply(B("C1")));
  EXPECT_EQ(exchange(B("C")), AckAndReply(B("C2")));
}

TEST(CableLinkHandlers, DataFramesFillTheImageAndCountBeyondItsEnd) {
  LinkBench bench(transfer::kRead);
  bench.Connect();
  EXPECT_EQ(bench.Exchange(DataFrame(Pattern(4), 4)), AckAndReply(B("W1")));
  EXPECT_EQ(bench.Exchange(B("OR")), AckAndReply(B("O2")));
  EXPECT_EQ(bench.Exchange(B("OW")), AckAndReply(B("O0")));
  EXPECT_EQ(bench.document.calls, (std::vector<std::string>{"NewDocument", "Refresh"}));
  EXPECT_EQ(bench.observer.last.openMode, "W");
  const Bytes image = Pattern(6594);
  EXPECT_EQ(bench.Exchange(DataFrame(Bytes(image.begin(), image.begin() + 6590), 6590)),
            AckAndReply(B("W0")));
  Bytes tail(image.begin() + 6590, image.end());
  tail.push_back(0xEE);
  tail.push_back(0xEF);
  EXPECT_EQ(bench.Exchange(DataFrame(tail, tail.size())), AckAndReply(B("W0")));
  EXPECT_EQ(bench.link.BytesTransferred(), 6596);
  EXPECT_TRUE(std::equal(image.begin(), image.end(), bench.document.image.begin()));
  EXPECT_EQ(bench.Exchange(B("W\x00")), AckAndReply(B("W1")));
}

TEST(CableLinkHandlers, DataFrameAnnouncingMoreThanItCarriesStoresAndCountsNothing) {
  LinkBench bench(transfer::kRead);
  bench.Connect();
  bench.Exchange(B("OW"));
  const SettingsImage before = bench.document.image;
  EXPECT_EQ(bench.Exchange(DataFrame(Pattern(10), 11)), AckAndReply(B("W1")));
  EXPECT_EQ(bench.link.BytesTransferred(), 0);
  EXPECT_EQ(bench.document.image, before);
  // Fewer announced than carried: only the announced bytes count.
  EXPECT_EQ(bench.Exchange(DataFrame(Pattern(10), 3)), AckAndReply(B("W0")));
  EXPECT_EQ(bench.link.BytesTransferred(), 3);
}

TEST(CableLinkHandlers, CloseAndEndAnswerByTheTransferState) {
  LinkBench read(transfer::kRead);
  read.Connect();
  EXPECT_EQ(read.Exchange(B("C")), AckAndReply(B("C1")));
  read.Exchange(B("OW"));
  EXPECT_EQ(read.Exchange(B("C")), AckAndReply(B("C0")));
  EXPECT_FALSE(read.timers.Running(timer::kReplyAnswer));
  EXPECT_EQ(read.Exchange(B("E2")), AckAndReply(B("E1")));
  EXPECT_TRUE(read.timers.Running(timer::kFinish));
  // After 'E' the timer counts as unidentified again.
  EXPECT_EQ(read.Exchange(B("E0")), AckAndReply(B("Z1")));

  LinkBench write;
  write.Connect();
  EXPECT_EQ(write.Exchange(B("C")), AckAndReply(B("C2")));
  EXPECT_EQ(write.Exchange(B("E1")), AckAndReply(B("E0")));
  EXPECT_FALSE(write.link.TransferSucceeded());
  EXPECT_EQ(write.link.FailureDetail(), "");
}

// ---- whole transfers

TEST(CableLinkTransfer, WriteServesTheWholeFileAndSucceedsOneSecondAfterTheEnd) {
  const Bytes content = Pattern(6594);
  TempFile file(content);
  LinkBench bench;
  bench.document.path = file.path();
  bench.Connect();
  bench.Exchange(B("OR"));
  Bytes served;
  for (;;) {
    const Bytes wire = bench.Exchange(ReadRequest(1000));
    FrameReader reader;
    for (uint8_t b : Bytes(wire.begin() + 1, wire.end())) reader.Feed(b);
    const Bytes& reply = reader.Data();
    ASSERT_GE(reply.size(), 4u);
    if (reply.size() == 4) break;
    served.insert(served.end(), reply.begin() + 4, reply.end());
  }
  EXPECT_EQ(served, content);
  EXPECT_EQ(bench.Exchange(B("C")), AckAndReply(B("C0")));
  EXPECT_EQ(bench.Exchange(B("E0")), AckAndReply(B("E0")));
  EXPECT_TRUE(bench.link.TransferSucceeded());
  bench.observer.progress.clear();
  bench.timers.Advance(999, bench.link);
  EXPECT_TRUE(bench.serial.open);
  bench.timers.Advance(1, bench.link);
  EXPECT_FALSE(bench.serial.open);
  EXPECT_EQ(bench.observer.progress,
            (std::vector<std::pair<int, std::string>>{{progress::kSucceeded, ""}}));
  EXPECT_TRUE(bench.timers.running.empty());
  EXPECT_TRUE(bench.document.calls.empty());
  EXPECT_EQ(bench.observer.last.byteCount, "");
  EXPECT_EQ(bench.observer.last.receiveEvents, "");
}

void RunRead(LinkBench& bench, const Bytes& image, std::size_t chunk, char result) {
  bench.Connect();
  bench.Exchange(B("OW"));
  for (std::size_t at = 0; at < image.size(); at += chunk) {
    const std::size_t n = std::min(chunk, image.size() - at);
    ASSERT_EQ(bench.Exchange(DataFrame(Bytes(image.begin() + at, image.begin() + at + n), n)),
              AckAndReply(B("W0")));
  }
  bench.Exchange(B("C"));
  bench.Exchange(Bytes{'E', static_cast<uint8_t>(result)});
  bench.document.calls.clear();
  bench.observer.progress.clear();
  bench.timers.Advance(1000, bench.link);
}

TEST(CableLinkTransfer, ReadLoadsTheReceivedImageAndMarksTheDocumentModified) {
  LinkBench bench(transfer::kRead);
  const Bytes image = Pattern(6594);
  RunRead(bench, image, 512, '0');
  EXPECT_TRUE(std::equal(image.begin(), image.end(), bench.document.refreshed.begin()));
  EXPECT_EQ(bench.document.calls,
            (std::vector<std::string>{"Refresh", "InitImage", "SetModified", "UpdateTitle"}));
  EXPECT_EQ(bench.observer.progress,
            (std::vector<std::pair<int, std::string>>{{progress::kSucceeded, ""}}));
  EXPECT_TRUE(bench.document.untitled);
  EXPECT_FALSE(bench.serial.open);
}

TEST(CableLinkTransfer, ReadOfTheWrongLengthFailsWithTheLengthError) {
  for (std::size_t size : {6593u, 6595u}) {
    LinkBench bench(transfer::kRead);
    RunRead(bench, Pattern(size), 700, '0');
    EXPECT_EQ(bench.document.calls,
              (std::vector<std::string>{"NewDocument", "Refresh", "UpdateTitle"}));
    EXPECT_EQ(bench.observer.progress,
              (std::vector<std::pair<int, std::string>>{{progress::kFailed, "データ長エラー"}}));
    EXPECT_EQ(CableReadFailure("データ長エラー"),
              "年間プログラムタイマからのデータの読み込みに失敗しました。\n\nデータ長エラー");
  }
  LinkBench refused(transfer::kRead);
  RunRead(refused, Pattern(6594), 6594, '1');
  EXPECT_EQ(refused.observer.progress,
            (std::vector<std::pair<int, std::string>>{{progress::kFailed, ""}}));
}

TEST(CableLinkTransfer, CancellingAReadAfterConnectingLeavesANewDocument) {
  LinkBench bench(transfer::kRead);
  bench.Connect();
  bench.Exchange(B("OW"));
  bench.Exchange(DataFrame(Pattern(100), 100));
  bench.document.calls.clear();
  bench.link.EndTransfer(1);
  EXPECT_EQ(bench.document.calls, (std::vector<std::string>{"NewDocument", "Refresh"}));
  EXPECT_FALSE(bench.serial.open);
  EXPECT_TRUE(bench.timers.running.empty());
  EXPECT_EQ(bench.link.TransferMode(), transfer::kNone);
}

// ---- port search

TEST(CablePortSearch, CyclesTheOpenablePortsAndEndsAfterThirtySeconds) {
  LinkBench bench;
  bench.serial.openable = {3, 5};
  ASSERT_TRUE(bench.link.CountPorts());
  EXPECT_FALSE(bench.serial.open);
  bench.link.StartSearch();
  EXPECT_EQ(bench.serial.port, 3);
  EXPECT_TRUE(bench.serial.open);
  EXPECT_EQ(bench.link.SearchPhase(), search::kListening);
  EXPECT_EQ(SearchStatusText(bench.link.SearchPhase(), false), "接続待ち");
  bench.timers.Advance(700, bench.link);
  EXPECT_EQ(bench.serial.port, 5);
  bench.timers.Advance(700, bench.link);
  EXPECT_EQ(bench.serial.port, 3);
  bench.timers.Advance(30000 - 1400 - 1, bench.link);
  EXPECT_NE(bench.link.SearchPhase(), search::kEnded);
  bench.timers.Advance(1, bench.link);
  EXPECT_EQ(bench.link.SearchPhase(), search::kEnded);
  EXPECT_FALSE(bench.serial.open);
  EXPECT_TRUE(bench.timers.running.empty());
  EXPECT_EQ(SearchStatusText(bench.link.SearchPhase(), false), "接続するポートが見つかりません。");
}

TEST(CablePortSearch, PropertiesAreAppliedInTheControlsOrderBeforeEveryOpen) {
  LinkBench bench;
  bench.link.SetSerialSettings({38400, 'N', 8, "1"});
  bench.link.SetPort(1);
  ASSERT_TRUE(bench.link.OpenLink());
  EXPECT_EQ(bench.serial.properties,
            (std::vector<std::string>{"DTREnable", "RTSEnable", "RThreshold", "InBufferSize",
                                      "InputLen", "InputMode", "SThreshold", "OutBufferSize",
                                      "Settings=38400,N,8,1", "Handshaking", "CommPort"}));
  EXPECT_EQ(bench.link.LinkState(), link::kIdle);
}

TEST(CablePortSearch, NoPortAtAllOrPortsThatVanishEndTheSearch) {
  LinkBench none;
  none.serial.openable = {};
  EXPECT_FALSE(none.link.CountPorts());
  EXPECT_TRUE(none.timers.running.empty());

  LinkBench vanished;
  vanished.serial.openable = {16};
  ASSERT_TRUE(vanished.link.CountPorts());
  vanished.serial.openable = {};
  vanished.link.StartSearch();
  EXPECT_EQ(vanished.link.SearchPhase(), search::kEnded);
  EXPECT_TRUE(vanished.timers.running.empty());

  // A port lost while listening: the search goes on over what still opens.
  LinkBench lost;
  lost.serial.openable = {2, 16};
  lost.link.CountPorts();
  lost.link.StartSearch();
  EXPECT_EQ(lost.serial.port, 2);
  lost.serial.openable = {2};
  lost.timers.Advance(700, lost.link);
  EXPECT_EQ(lost.serial.port, 2);
  EXPECT_TRUE(lost.serial.open);
}

TEST(CablePortSearch, CancellingWhileWaitingStopsTheSearchAndClosesThePort) {
  LinkBench bench;
  bench.link.CountPorts();
  bench.link.StartSearch();
  ASSERT_TRUE(bench.serial.open);
  bench.link.EndTransfer(0);
  EXPECT_FALSE(bench.serial.open);
  EXPECT_TRUE(bench.timers.running.empty());
  EXPECT_EQ(bench.link.SearchPhase(), search::kStart);
  EXPECT_TRUE(bench.document.calls.empty());
}

// ---- control events and messages

TEST(CableLinkEvents, ControlEventsReachTheStatusLineAndErrorsBeep) {
  LinkBench bench;
  bench.Connect();
  bench.serial.event = comm::kFrame;
  bench.link.OnComm();
  EXPECT_EQ(bench.observer.last.statusLine, "フレーミング エラー 検出");
  EXPECT_EQ(bench.observer.beeps, 1);
  // The send event speaks only after a frame.
  bench.serial.event = comm::kSend;
  bench.link.OnComm();
  EXPECT_EQ(bench.observer.last.statusLine, "データを送信中です");
  bench.Receive({kENQ});
  bench.serial.event = comm::kCts;
  bench.link.OnComm();
  bench.serial.event = comm::kSend;
  bench.link.OnComm();
  EXPECT_EQ(bench.observer.last.statusLine, "ＣＴＳ信号が変化しました");
  bench.serial.event = comm::kReceive;
  bench.serial.pendingInput = Wire(B("MAC"));
  bench.link.OnComm();
  EXPECT_EQ(bench.serial.TakeWire().back(), FrameCheck(B("MA0")));
  EXPECT_EQ(bench.observer.last.statusLine, "データを受信中です");
  EXPECT_EQ(bench.observer.beeps, 1);
}

TEST(CableMessages, CableWriteNeedsASavedUnchangedDocument) {
  FakeDocument document;
  document.untitled = true;
  EXPECT_EQ(CableWriteRefusal(document), "プログラム設定データが入力されていません。");
  document.modified = true;
  EXPECT_EQ(CableWriteRefusal(document),
            "ケーブル接続で書き込みを実行するには、プログラム設定データの保存が必要です。\n\n保存後"
            "、再度実行して下さい。\n");
  document.untitled = false;
  EXPECT_TRUE(CableWriteRefusal(document).has_value());
  document.modified = false;
  EXPECT_FALSE(CableWriteRefusal(document).has_value());
  EXPECT_EQ(CableWriteFailure("a.BIN", ""), "\"a.BIN\" の書き込みに失敗しました。");
  EXPECT_EQ(CableWriteFailure("a.BIN", "データ長エラー"),
            "\"a.BIN\" の書き込みに失敗しました。\n\nデータ長エラー");
  EXPECT_EQ(CableWriteSuccess("a.BIN"), "\"a.BIN\" の書き込みが正常に終了しました。");
}

}  // namespace
}  // namespace tavrin::testing
