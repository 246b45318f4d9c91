#include "transfer/ByteTrace.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tavrin {

bool ByteTrace::Open(const std::string& path) {
  start_ = std::chrono::steady_clock::now();
  written_ = 0;
  recorded_ = false;
  failed_ = false;
  return file_.Create(path) == WriteStep::kDone;
}

void ByteTrace::Record(const char* direction, std::span<const uint8_t> bytes) {
  if (!file_.IsOpen() || bytes.empty()) return;
  recorded_ = true;
  if (written_ >= kTraceLimitBytes) return;
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  std::string line(32 + bytes.size() * 3, '\0');
  int n = std::snprintf(line.data(), line.size(), "%.6f %s", seconds, direction);
  for (uint8_t b : bytes) n += std::snprintf(line.data() + n, line.size() - n, " %02X", b);
  line.resize(static_cast<std::size_t>(n));
  line += '\n';
  if (written_ + line.size() > kTraceLimitBytes) {
    line = kTraceCutLine;
    written_ = kTraceLimitBytes;
  } else {
    written_ += line.size();
  }
  if (file_.Append(line.data(), line.size()) != WriteStep::kDone) failed_ = true;
}

bool ByteTrace::Close() {
  if (!file_.IsOpen()) return true;
  // Dropped whatever failed before, or the temporary would stay until the next trace.
  const bool written = !failed_ && file_.Commit() == WriteStep::kDone;
  file_.Discard();
  return written;
}

std::vector<TraceLine> ReadByteTrace(const std::string& path) {
  std::vector<TraceLine> lines;
  std::ifstream in(path);
  std::string text;
  while (std::getline(in, text)) {
    std::istringstream fields(text);
    TraceLine line;
    if (!(fields >> line.seconds >> line.direction)) continue;
    std::string hex;
    while (fields >> hex)
      line.bytes.push_back(static_cast<uint8_t>(std::strtoul(hex.c_str(), nullptr, 16)));
    lines.push_back(std::move(line));
  }
  return lines;
}

Result<> TracingSerialControl::Write(std::span<const uint8_t> bytes) {
  trace_.Record("tx", bytes);
  return inner_.Write(bytes);
}

std::vector<uint8_t> TracingSerialControl::Read() {
  std::vector<uint8_t> bytes = inner_.Read();
  trace_.Record("rx", bytes);
  return bytes;
}

}  // namespace tavrin
