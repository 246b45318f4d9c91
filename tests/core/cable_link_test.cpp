#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "CableFakes.h"
#include "transfer/CableMessages.h"
#include "transfer/UsbTransfer.h"

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

// An image as the timer sends it: the pattern with the model tag `tag` in its place.
Bytes TimerImage(std::string_view tag = "VL3X") {
  Bytes image = Pattern(6594);
  std::copy(tag.begin(), tag.end(), image.begin() + 16);
  return image;
}

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
  bench.Search();
  ASSERT_TRUE(bench.serial.open);
  EXPECT_EQ(bench.Exchange(B("QVL-3400")), AckAndReply(B("Q0")));
  EXPECT_EQ(bench.link.State(), LinkState::Idle);
  // A data byte equal to DLE arrives doubled, counts once and is stored once.
  EXPECT_EQ(bench.Exchange(Bytes{'Q', 0x10, 'V', 'L', '-', '3', '4', '0', '0'}),
            AckAndReply(B("Q0")));
}

TEST(CableLinkWire, EnqIsAnsweredWithTheLastAnswerForOnlyTwelveHundredMilliseconds) {
  LinkBench bench;
  bench.Search();
  // Nothing received yet: the answer byte is 0, which puts nothing on the wire, but counts.
  bench.Receive({kENQ});
  EXPECT_EQ(bench.serial.TakeWire(), Bytes{});
  EXPECT_EQ(bench.serial.outputs.size(), 0u);
  EXPECT_EQ(bench.observer.last.sendRequests, 1);

  bench.Exchange(B("QVL-3400"));
  bench.timers.Advance(1199, bench.link);
  bench.Receive({kENQ});
  EXPECT_EQ(bench.serial.TakeWire(), Bytes{kACK});
  EXPECT_EQ(AnswerText(bench.observer.last.answerByte), "ACK");
  bench.timers.Advance(2, bench.link);
  bench.Receive({kENQ});
  EXPECT_EQ(bench.serial.TakeWire(), Bytes{kNAK});
  EXPECT_EQ(AnswerText(bench.observer.last.answerByte), "NAK");
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
  EXPECT_EQ(bench.link.State(), LinkState::Idle);
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
  EXPECT_EQ(bench.link.State(), LinkState::AwaitAnswer);
  bench.timers.Advance(1400, bench.link);
  EXPECT_EQ(bench.serial.TakeWire(), Bytes{});
  EXPECT_EQ(bench.link.State(), LinkState::Idle);
  EXPECT_EQ(bench.observer.last.statusLine, "シリアル通信送信異常");
  // An ENQ answered ACK ends the wait: the timer got the reply after all.
  bench.ReceiveFrame(B("M"));
  bench.serial.TakeWire();
  bench.timers.Advance(1400, bench.link);
  bench.Receive({kACK});
  EXPECT_EQ(bench.link.State(), LinkState::Idle);
  EXPECT_FALSE(bench.timers.Running(LinkTimer::ReplyAnswer));
}

TEST(CableLinkWire, StalledOrDamagedFramesAreDroppedAndTheNextOneCounts) {
  LinkBench bench;
  bench.Connect();
  const Bytes wire = Wire(B("MAC"));
  bench.Receive(Bytes(wire.begin(), wire.begin() + 4));
  EXPECT_EQ(bench.link.State(), LinkState::Data);
  bench.timers.Advance(199, bench.link);
  EXPECT_EQ(bench.link.State(), LinkState::Data);
  bench.timers.Advance(1, bench.link);
  EXPECT_EQ(bench.link.State(), LinkState::Idle);
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
  EXPECT_EQ(bench.link.State(), LinkState::Idle);
  bench.Receive({kDLE});
  bench.timers.Advance(200, bench.link);
  EXPECT_EQ(bench.link.State(), LinkState::Idle);
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
  EXPECT_EQ(bench.link.State(), LinkState::Idle);
  EXPECT_EQ(bench.observer.last.statusLine, "シリアル通信受信異常");
  // The frame timers stop; the connected transfer's silence limit keeps running.
  EXPECT_EQ(bench.timers.running.size(), 1u);
  EXPECT_TRUE(bench.timers.Running(LinkTimer::NoProgress));
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
  EXPECT_EQ(bench.observer.last.receiveBytes, static_cast<long>(flood.size()));
  EXPECT_EQ(bench.serial.TakeWire(), Bytes{});
  EXPECT_EQ(bench.Exchange(B("MAC")), AckAndReply(B("MA0")));
}

TEST(CableLinkWire, WithoutADialogFramesAreAcknowledgedButNotInterpreted) {
  LinkBench bench(TransferMode::None);
  bench.link.SetPort(1);
  ASSERT_TRUE(bench.link.OpenLink());
  EXPECT_EQ(bench.Exchange(B("QVL-3400")), Bytes{kACK});
  EXPECT_EQ(bench.Exchange(B("MAC")), Bytes{kACK});
}

// ---- handlers

TEST(CableLinkHandlers, AnUnidentifiedTimerGetsZ1ForEverythingButQueryAndMode) {
  LinkBench bench;
  bench.Search();
  for (const char* frame : {"OR", "R\x00\x10", "W\x00\x00", "C", "E0"}) {
    EXPECT_EQ(bench.Exchange(B(frame)), AckAndReply(B("Z1"))) << frame;
  }
  EXPECT_EQ(bench.Exchange(B("MAC")), AckAndReply(B("MA0")));
  EXPECT_EQ(bench.Exchange(B("MAB")), AckAndReply(B("MA2")));
  // No handler, no reply.
  EXPECT_EQ(bench.Exchange(B("X")), Bytes{kACK});
  EXPECT_FALSE(bench.timers.Running(LinkTimer::Finish));
}

TEST(CableLinkHandlers, QueryFindsTheModelNameAnywhereBeforeTheFirstNul) {
  LinkBench bench;
  bench.Search();
  EXPECT_EQ(bench.Exchange(Bytes{'Q', 'x', 0, 'V', 'L', '-', '3', '4', '0', '0'}),
            AckAndReply(B("Q1")));
  EXPECT_FALSE(bench.link.DeviceIdentified());
  EXPECT_EQ(bench.Exchange(B("Qtimer VL-3400 v2")), AckAndReply(B("Q0")));
  EXPECT_TRUE(bench.link.DeviceIdentified());
  EXPECT_EQ(bench.link.Phase(), SearchPhase::Ended);
  EXPECT_EQ(SearchStatusText(bench.link.Phase(), true), "接続完了");
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
  EXPECT_EQ(bench.observer.last.openMode, 'R');
  EXPECT_EQ(bench.Exchange(B("OR")), AckAndReply(B("O1")));
  // Kind 0 comes before kind 1 for a write.
  ASSERT_GE(bench.observer.progress.size(), 2u);
  EXPECT_EQ(bench.observer.progress[0].first, Progress::Communicating);
  EXPECT_EQ(bench.observer.progress[1].first, Progress::Connected);
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
  EXPECT_EQ(bench.observer.last.byteCount, 300);
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
  LinkBench bench(TransferMode::Write,
                  [](const std::string&) { return std::make_unique<FailingFile>(); });
  bench.Connect();
  EXPECT_EQ(bench.Exchange(B("OR")), AckAndReply(B("O0")));
  EXPECT_EQ(bench.Exchange(ReadRequest(16)), AckAndReply(B("R1")));
  EXPECT_EQ(bench.Exchange(B("C")), AckAndReply(B("C1")));
  EXPECT_EQ(bench.Exchange(B("C")), AckAndReply(B("C2")));
}

TEST(CableLinkHandlers, DataFramesFillTheImageAndCountBeyondItsEnd) {
  LinkBench bench(TransferMode::Read);
  bench.Connect();
  EXPECT_EQ(bench.Exchange(DataFrame(Pattern(4), 4)), AckAndReply(B("W1")));
  EXPECT_EQ(bench.Exchange(B("OR")), AckAndReply(B("O2")));
  EXPECT_EQ(bench.Exchange(B("OW")), AckAndReply(B("O0")));
  EXPECT_EQ(bench.document.calls, (std::vector<std::string>{"NewDocument", "Refresh"}));
  EXPECT_EQ(bench.observer.last.openMode, 'W');
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
  LinkBench bench(TransferMode::Read);
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
  LinkBench read(TransferMode::Read);
  read.Connect();
  EXPECT_EQ(read.Exchange(B("C")), AckAndReply(B("C1")));
  read.Exchange(B("OW"));
  EXPECT_EQ(read.Exchange(B("C")), AckAndReply(B("C0")));
  EXPECT_FALSE(read.timers.Running(LinkTimer::ReplyAnswer));
  EXPECT_EQ(read.Exchange(B("E2")), AckAndReply(B("E1")));
  EXPECT_TRUE(read.timers.Running(LinkTimer::Finish));
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
    const Bytes reply = ToBytes(reader.Data());
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
  EXPECT_EQ(bench.observer.progress, (ProgressReports{{Progress::Succeeded, ""}}));
  EXPECT_TRUE(bench.timers.running.empty());
  EXPECT_TRUE(bench.document.calls.empty());
  EXPECT_EQ(bench.observer.last.byteCount, std::nullopt);
  EXPECT_EQ(bench.observer.last.receiveEvents, std::nullopt);
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
  LinkBench bench(TransferMode::Read);
  const Bytes image = TimerImage();
  RunRead(bench, image, 512, '0');
  EXPECT_TRUE(std::equal(image.begin(), image.end(), bench.document.refreshed.begin()));
  EXPECT_EQ(bench.document.calls,
            (std::vector<std::string>{"Refresh", "InitImage", "SetModified", "UpdateTitle"}));
  EXPECT_EQ(bench.observer.progress, (ProgressReports{{Progress::Succeeded, ""}}));
  EXPECT_TRUE(bench.document.untitled);
  EXPECT_FALSE(bench.serial.open);
}

TEST(CableLinkTransfer, ReadOfTheWrongLengthFailsWithTheLengthError) {
  // Images of the timer with their model tag, so that only their length is wrong.
  for (std::size_t size : {6593u, 6595u}) {
    Bytes image = TimerImage();
    image.resize(size, 0x5A);
    LinkBench bench(TransferMode::Read);
    RunRead(bench, image, 700, '0');
    EXPECT_EQ(bench.document.calls,
              (std::vector<std::string>{"NewDocument", "Refresh", "UpdateTitle"}));
    EXPECT_EQ(bench.observer.progress, (ProgressReports{{Progress::Failed, "データ長エラー"}}));
    EXPECT_EQ(CableReadFailure("データ長エラー"),
              "年間プログラムタイマからのデータの読み込みに失敗しました。\n\nデータ長エラー");
  }
  LinkBench refused(TransferMode::Read);
  RunRead(refused, TimerImage(), 6594, '1');
  EXPECT_EQ(refused.observer.progress, (ProgressReports{{Progress::Failed, ""}}));
}

TEST(CableLinkTransfer, ReadOfAnImageOpenWouldRefuseFailsAndLeavesANewDocument) {
  const struct {
    const char* tag;
    bool succeeds;
  } cases[] = {{"VL3X", true}, {"vl3x", true}, {"VL3Y", false}, {"\0\0\0\0", false}};
  for (const auto& c : cases) {
    LinkBench bench(TransferMode::Read);
    RunRead(bench, TimerImage(std::string_view(c.tag, 4)), 1000, '0');
    const ProgressReports expected =
        c.succeeds ? ProgressReports{{Progress::Succeeded, ""}}
                   : ProgressReports{{Progress::Failed, "対象外のデータです。"}};
    EXPECT_EQ(bench.observer.progress, expected) << c.tag;
    EXPECT_EQ(bench.document.calls.front(), c.succeeds ? "Refresh" : "NewDocument") << c.tag;
  }
}

TEST(CableLinkTransfer, CancellingAReadAfterConnectingLeavesANewDocument) {
  LinkBench bench(TransferMode::Read);
  bench.Connect();
  bench.Exchange(B("OW"));
  bench.Exchange(DataFrame(Pattern(100), 100));
  bench.document.calls.clear();
  bench.link.EndTransfer(DialogState::Connected);
  EXPECT_EQ(bench.document.calls, (std::vector<std::string>{"NewDocument", "Refresh"}));
  EXPECT_FALSE(bench.serial.open);
  EXPECT_TRUE(bench.timers.running.empty());
  EXPECT_EQ(bench.link.Mode(), TransferMode::None);
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
  EXPECT_EQ(bench.link.Phase(), SearchPhase::Listening);
  EXPECT_EQ(SearchStatusText(bench.link.Phase(), false), "接続待ち");
  bench.timers.Advance(700, bench.link);
  EXPECT_EQ(bench.serial.port, 5);
  bench.timers.Advance(700, bench.link);
  EXPECT_EQ(bench.serial.port, 3);
  bench.timers.Advance(30000 - 1400 - 1, bench.link);
  EXPECT_NE(bench.link.Phase(), SearchPhase::Ended);
  bench.timers.Advance(1, bench.link);
  EXPECT_EQ(bench.link.Phase(), SearchPhase::Ended);
  EXPECT_FALSE(bench.serial.open);
  EXPECT_TRUE(bench.timers.running.empty());
  EXPECT_EQ(SearchStatusText(bench.link.Phase(), false), "接続するポートが見つかりません。");
}

TEST(CablePortSearch, EveryCableCommandTakesThePortListAfresh) {
  std::vector<std::set<int>> plugged = {{}, {2}};
  std::size_t refreshes = 0;
  FakeSerial* serial = nullptr;
  LinkBench bench(TransferMode::Write, OpenSourceFile, [&] {
    serial->openable = plugged[std::min(refreshes++, plugged.size() - 1)];
    return std::vector<std::string>{};
  });
  serial = &bench.serial;
  EXPECT_FALSE(bench.link.CountPorts());
  // The adapter plugged in after the first command is found by the next one.
  ASSERT_TRUE(bench.link.CountPorts());
  bench.link.StartSearch();
  EXPECT_EQ(bench.serial.port, 2);
  EXPECT_TRUE(bench.serial.open);
  bench.link.RefreshPorts();
  EXPECT_EQ(refreshes, 3u);
}

TEST(CablePortSearch, ParametersAndModemLinesAreSetBeforeEveryOpen) {
  LinkBench bench;
  bench.link.SetSerialParameters(SerialParametersAt(38400));
  bench.link.SetPort(1);
  ASSERT_TRUE(bench.link.OpenLink());
  EXPECT_EQ(bench.serial.calls,
            (std::vector<std::string>{"Lines=DTRRTS", "Configure=38400,N,8,1", "Open"}));
  EXPECT_EQ(bench.link.State(), LinkState::Idle);
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
  EXPECT_EQ(vanished.link.Phase(), SearchPhase::Ended);
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
  bench.Search();
  ASSERT_TRUE(bench.serial.open);
  bench.link.EndTransfer(DialogState::NotConnected);
  EXPECT_FALSE(bench.serial.open);
  EXPECT_TRUE(bench.timers.running.empty());
  EXPECT_EQ(bench.link.Phase(), SearchPhase::Start);
  EXPECT_TRUE(bench.document.calls.empty());
}

// ---- control events and messages

TEST(CableLinkEvents, ControlEventsReachTheStatusLineAndErrorsBeep) {
  LinkBench bench;
  bench.Connect();
  bench.serial.event = CommEventCode::Frame;
  bench.link.OnComm();
  EXPECT_EQ(bench.observer.last.statusLine, "フレーミング エラー 検出");
  EXPECT_EQ(bench.observer.beeps, 1);
  // The send event speaks only after a frame.
  bench.serial.event = CommEventCode::Send;
  bench.link.OnComm();
  EXPECT_EQ(bench.observer.last.statusLine, "データを送信中です");
  bench.Receive({kENQ});
  bench.serial.event = CommEventCode::Cts;
  bench.link.OnComm();
  bench.serial.event = CommEventCode::Send;
  bench.link.OnComm();
  EXPECT_EQ(bench.observer.last.statusLine, "ＣＴＳ信号が変化しました");
  bench.serial.event = CommEventCode::Receive;
  bench.serial.pendingInput = Wire(B("MAC"));
  bench.link.OnComm();
  EXPECT_EQ(bench.serial.TakeWire().back(), FrameCheck(B("MA0")));
  EXPECT_EQ(bench.observer.last.statusLine, "データを受信中です");
  EXPECT_EQ(bench.observer.beeps, 1);
}

TEST(CableMessages, WritesNeedASavedUnchangedDocument) {
  const std::string nothing = "プログラム設定データが入力されていません。";
  const std::string cableSave =
      "ケーブル接続で書き込みを実行するには、プログラム設定データの保存が必要です。\n\n保存後"
      "、再度実行して下さい。\n";
  const std::string usbSave =
      "USBメモリに書き込みを実行するには、プログラム設定データの保存が必要です。\n\n保存後、"
      "再度実行して下さい。\n";
  const struct {
    bool untitled, modified;
    std::optional<std::string> cable, usb;
  } cases[] = {
      {true, false, nothing, nothing},
      {true, true, cableSave, usbSave},
      {false, true, cableSave, usbSave},
      {false, false, std::nullopt, std::nullopt},
  };
  for (const auto& c : cases) {
    FakeDocument document;
    document.untitled = c.untitled;
    document.modified = c.modified;
    EXPECT_EQ(WriteRefusal(document, kCableSaveFirst), c.cable) << c.untitled << c.modified;
    EXPECT_EQ(WriteRefusal(document, kUsbSaveFirst), c.usb) << c.untitled << c.modified;
  }
  EXPECT_EQ(CableWriteFailure("a.BIN", ""), "\"a.BIN\" の書き込みに失敗しました。");
  EXPECT_EQ(CableWriteFailure("a.BIN", "データ長エラー"),
            "\"a.BIN\" の書き込みに失敗しました。\n\nデータ長エラー");
  EXPECT_EQ(CableWriteSuccess("a.BIN"), "\"a.BIN\" の書き込みが正常に終了しました。");
}

}  // namespace
}  // namespace tavrin::testing
