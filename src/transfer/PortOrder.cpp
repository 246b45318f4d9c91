#include "transfer/PortOrder.h"

#include <algorithm>
#include <cctype>

#include "transfer/SerialParameters.h"

namespace tavrin {
namespace {

// "ttyUSB2" before "ttyUSB10".
bool NaturalLess(const std::string& a, const std::string& b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (std::isdigit(static_cast<unsigned char>(a[i])) &&
        std::isdigit(static_cast<unsigned char>(b[j]))) {
      std::size_t ei = i, ej = j;
      while (ei < a.size() && std::isdigit(static_cast<unsigned char>(a[ei]))) ++ei;
      while (ej < b.size() && std::isdigit(static_cast<unsigned char>(b[ej]))) ++ej;
      const std::string na = a.substr(i, ei - i), nb = b.substr(j, ej - j);
      const std::size_t za = na.find_first_not_of('0'), zb = nb.find_first_not_of('0');
      const std::string ta = za == std::string::npos ? "" : na.substr(za);
      const std::string tb = zb == std::string::npos ? "" : nb.substr(zb);
      if (ta.size() != tb.size()) return ta.size() < tb.size();
      if (ta != tb) return ta < tb;
      i = ei;
      j = ej;
      continue;
    }
    if (a[i] != b[j]) return a[i] < b[j];
    ++i;
    ++j;
  }
  return a.size() - i < b.size() - j;
}

}  // namespace

std::vector<std::string> OrderPorts(std::vector<PortCandidate> candidates) {
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const PortCandidate& a, const PortCandidate& b) {
                     if (a.usb != b.usb) return a.usb;
                     return NaturalLess(a.path, b.path);
                   });
  std::vector<std::string> paths;
  for (const auto& c : candidates) {
    if (paths.size() == static_cast<std::size_t>(kSerialPortCount)) break;
    if (std::find(paths.begin(), paths.end(), c.path) == paths.end()) paths.push_back(c.path);
  }
  return paths;
}

std::vector<std::string> SplitPortList(const std::string& text) {
  std::vector<std::string> paths;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(':', start), text.size());
    if (end > start) paths.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  if (paths.size() > static_cast<std::size_t>(kSerialPortCount)) paths.resize(kSerialPortCount);
  return paths;
}

}  // namespace tavrin
