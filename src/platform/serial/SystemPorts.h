// COM1..COM16 for this machine: TAVRIN_PORTS when it is set, else the serial ports Qt finds,
// USB adapters first.
#pragma once

#include <string>
#include <vector>

namespace tavrin {

std::vector<std::string> SystemPortPaths();

}  // namespace tavrin
