// Which device stands behind COM1..COM16 on this system: USB serial adapters first (they are what
// a timer's cable plugs into), then the other serial ports, each group in natural name order.
#pragma once

#include <string>
#include <vector>

namespace tavrin {

struct PortCandidate {
  std::string path;  // "/dev/ttyUSB0"
  bool usb = false;
};

// At most 16 paths, COM1 first.
std::vector<std::string> OrderPorts(std::vector<PortCandidate> candidates);
// TAVRIN_PORTS: paths separated by ':'; empty entries are skipped.
std::vector<std::string> SplitPortList(const std::string& text);

}  // namespace tavrin
