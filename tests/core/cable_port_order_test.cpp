#include <gtest/gtest.h>

#include "transfer/PortOrder.h"

namespace tavrin {
namespace {

TEST(CablePortOrder, UsbAdaptersComeFirstInNaturalOrder) {
  const auto paths = OrderPorts({{"/dev/ttyS1", false},
                                 {"/dev/ttyUSB10", true},
                                 {"/dev/ttyS0", false},
                                 {"/dev/ttyACM0", true},
                                 {"/dev/ttyUSB2", true},
                                 {"/dev/ttyUSB2", true}});
  EXPECT_EQ(paths, (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyUSB10",
                                             "/dev/ttyS0", "/dev/ttyS1"}));
  std::vector<PortCandidate> many;
  for (int i = 0; i < 20; ++i) many.push_back({"/dev/ttyS" + std::to_string(i), false});
  const auto first16 = OrderPorts(many);
  ASSERT_EQ(first16.size(), 16u);
  EXPECT_EQ(first16.back(), "/dev/ttyS15");
}

TEST(CablePortOrder, PortListSkipsEmptyEntries) {
  EXPECT_EQ(SplitPortList("/dev/pts/3::/dev/ttyUSB0:"),
            (std::vector<std::string>{"/dev/pts/3", "/dev/ttyUSB0"}));
  EXPECT_TRUE(SplitPortList("").empty());
}

}  // namespace
}  // namespace tavrin
