#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "CableFakes.h"
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

// A trace on a full disk says so, and lets its file go all the same.
TEST(ByteTrace, ATraceThatCouldNotBeWrittenIsStillClosed) {
  ByteTrace trace;
  ASSERT_TRUE(trace.Open("/dev/full"));
  const uint8_t bytes[] = {kDLE, kSTX};
  trace.Record("rx", bytes);
  EXPECT_FALSE(trace.Close());
  EXPECT_FALSE(trace.IsOpen());
}

}  // namespace
}  // namespace tavrin::testing
