#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "CableFakes.h"
#include "FullDisk.h"
#include "TempFolder.h"
#include "transfer/ByteTrace.h"

namespace tavrin::testing {
namespace {

const std::string kDir = std::string(TAVRIN_GOLDEN_DIR) + "/cable/";

Bytes ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Replays what the timer sent in a recorded transfer, event by event, and expects the link to
// answer with exactly the bytes it sent then.
void Replay(LinkBench& bench, const std::string& trace) {
  const auto lines = ReadByteTrace(kDir + trace);
  ASSERT_GT(lines.size(), 10u);
  Bytes expected;
  for (const auto& line : lines) {
    if (line.direction == "rx") {
      bench.Receive(line.bytes);
    } else {
      expected.insert(expected.end(), line.bytes.begin(), line.bytes.end());
    }
  }
  EXPECT_EQ(bench.serial.TakeWire(), expected);
  bench.timers.Advance(1000, bench.link);
  EXPECT_EQ(bench.observer.progress.back(),
            (std::pair<Progress, std::string>{Progress::Succeeded, ""}));
}

TEST(CableGolden, RecordedWriteIsAnsweredByteForByte) {
  LinkBench bench(TransferMode::Write);
  bench.document.path = kDir + "image.BIN";
  bench.Search();
  Replay(bench, "write-1024.trace");
}

TEST(CableGolden, RecordedReadIsAnsweredByteForByteAndLoadsTheImage) {
  LinkBench bench(TransferMode::Read);
  bench.Search();
  Replay(bench, "read-1500.trace");
  const Bytes image = ReadAll(kDir + "image.BIN");
  ASSERT_EQ(image.size(), 6594u);
  EXPECT_TRUE(std::equal(image.begin(), image.end(), bench.document.refreshed.begin()));
}

// A trace is written beside its file and takes its place at the end, whole: on a full disk the
// file keeps what it held, and nothing is left beside it.
TEST(ByteTrace, ATraceReplacesItsFileOnlyWhenItIsWholeAndLetsItGoEitherWay) {
  for (bool full : {false, true}) {
    SCOPED_TRACE(full ? "full disk" : "room enough");
    TempFolder folder;
    WriteBytes(folder / "trace.txt", "the last trace");
    ByteTrace trace;
    ASSERT_TRUE(trace.Open(folder / "trace.txt"));
    const Bytes bytes(2000, kDLE);
    bool closed = false;
    {
      const FullDisk disk(full ? 1000 : RLIM_INFINITY);
      trace.Record("rx", bytes);
      EXPECT_EQ(ReadBytes(folder / "trace.txt"), "the last trace");
      closed = trace.Close();
    }
    EXPECT_EQ(closed, !full);
    EXPECT_FALSE(trace.IsOpen());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
    if (full) {
      EXPECT_EQ(ReadBytes(folder / "trace.txt"), "the last trace");
    } else {
      ASSERT_EQ(ReadByteTrace(folder / "trace.txt").size(), 1u);
      EXPECT_EQ(ReadByteTrace(folder / "trace.txt").front().bytes, bytes);
    }
  }
}

// A flood cannot make a trace grow without end: it stops at its limit, and says so.
TEST(ByteTrace, AFloodIsCutAtTheLimitWithALineThatSaysSo) {
  TempFolder folder;
  ByteTrace trace;
  ASSERT_TRUE(trace.Open(folder / "trace.txt"));
  const Bytes burst(4000, 0x55);
  const std::size_t bursts = kTraceLimitBytes / (burst.size() * 3) + 10;
  for (std::size_t i = 0; i < bursts; ++i) trace.Record(i % 2 ? "tx" : "rx", burst);
  ASSERT_TRUE(trace.Close());
  const std::string text = ReadBytes(folder / "trace.txt");
  EXPECT_LE(text.size(), kTraceLimitBytes + std::strlen(kTraceCutLine));
  EXPECT_TRUE(text.ends_with(std::string("\n") + kTraceCutLine)) << text.substr(text.size() - 80);
  EXPECT_EQ(text.find(kTraceCutLine), text.size() - std::strlen(kTraceCutLine));
  // The lines before it are whole; readers skip the cut line.
  const std::vector<TraceLine> lines = ReadByteTrace(folder / "trace.txt");
  EXPECT_GT(lines.size(), 100u);
  EXPECT_LT(lines.size(), bursts);
  EXPECT_EQ(lines.back().bytes, burst);
}

}  // namespace
}  // namespace tavrin::testing
