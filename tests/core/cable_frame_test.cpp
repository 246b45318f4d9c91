#include <gtest/gtest.h>

#include "CableFakes.h"
#include "transfer/CommEvents.h"
#include "transfer/Frame.h"

namespace tavrin::testing {
namespace {

TEST(CableFrame, RepliesLookOnTheWireAsTheTimerExpects) {
  EXPECT_EQ(BuildFrame(B("O0")), (Bytes{0x10, 0x02, 0x4F, 0x30, 0x10, 0x03, 0x7F}));
  EXPECT_EQ(BuildFrame(B("Z1")), (Bytes{0x10, 0x02, 0x5A, 0x31, 0x10, 0x03, 0x6B}));
}

TEST(CableFrame, DataDleIsDoubledButTheCheckByteNeverIs) {
  // Check byte 'R' ^ 0x10 ^ 'R' == 0x10.
  const Bytes data{'R', 0x10, 'R'};
  ASSERT_EQ(FrameCheck(data), 0x10);
  EXPECT_EQ(BuildFrame(data), (Bytes{0x10, 0x02, 'R', 0x10, 0x10, 'R', 0x10, 0x03, 0x10}));
  EXPECT_EQ(WireSize(data), 9u);
  uint8_t small[8];
  EXPECT_EQ(BuildFrame(data, small, sizeof small), 0u);
}

TEST(CableFrame, ReaderUndoesTheDoublingAndChecks) {
  FrameReader reader;
  const Bytes data{'W', 0x10, 0x10, 0x03, 0x02};
  std::vector<FrameReader::Event> events;
  Bytes wire{kENQ};
  const Bytes frame = BuildFrame(data);
  wire.insert(wire.end(), frame.begin(), frame.end());
  for (uint8_t b : wire) events.push_back(reader.Feed(b));
  EXPECT_EQ(events.front(), FrameReader::Event::Control);
  EXPECT_EQ(reader.Control(), kENQ);
  EXPECT_EQ(events.back(), FrameReader::Event::Frame);
  EXPECT_EQ(ToBytes(reader.Data()), data);

  Bytes bad = BuildFrame(B("E0"));
  bad.back() ^= 1;
  FrameReader::Event last{};
  for (uint8_t b : bad) last = reader.Feed(b);
  EXPECT_EQ(last, FrameReader::Event::BadCheck);
}

// A frame with a wrong check byte leaves nothing behind: the next frame is found and read alone,
// and the bad one's bytes take no room that the next one needs.
TEST(CableFrame, AfterABadCheckByteTheReaderFindsTheNextFrame) {
  FrameReader reader;
  const Bytes longData(6000, 'W');
  Bytes wire = BuildFrame(longData);
  wire.back() ^= 1;
  Bytes next(3000, 'R');
  next[1] = kDLE;
  const Bytes good = BuildFrame(next);
  wire.insert(wire.end(), good.begin(), good.end());
  std::vector<FrameReader::Event> ends;
  for (uint8_t b : wire) {
    const FrameReader::Event event = reader.Feed(b);
    if (event != FrameReader::Event::None && event != FrameReader::Event::Progress) {
      ends.push_back(event);
    }
  }
  EXPECT_EQ(ends, (std::vector{FrameReader::Event::BadCheck, FrameReader::Event::Frame}));
  EXPECT_EQ(ToBytes(reader.Data()), next);
}

TEST(CommEvents, EventsAndErrorsHaveTheirTextsAndOnlyErrorsBeep) {
  EXPECT_EQ(DescribeCommEvent(CommEventCode(1))->text, "データを送信中です");
  EXPECT_EQ(DescribeCommEvent(CommEventCode(7))->id, 3006);
  EXPECT_FALSE(DescribeCommEvent(CommEventCode(2))->error);
  EXPECT_EQ(DescribeCommEvent(CommEventCode(1006))->text, "オーバーラン エラー 検出");
  EXPECT_EQ(DescribeCommEvent(CommEventCode(1010))->id, 3015);
  EXPECT_TRUE(DescribeCommEvent(CommEventCode(1001))->error);
  EXPECT_FALSE(DescribeCommEvent(CommEventCode(1005)).has_value());
  EXPECT_FALSE(DescribeCommEvent(CommEventCode(0)).has_value());
  EXPECT_FALSE(DescribeCommEvent(CommEventCode(8)).has_value());
}

}  // namespace
}  // namespace tavrin::testing
