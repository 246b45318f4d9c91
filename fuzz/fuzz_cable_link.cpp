// Arbitrary receive events into the cable link, with time passing between them as the window
// timers would let it (only timers that are set fire, each at its own period), in either transfer
// direction or with no cable dialog open. It must never crash, read or write out of bounds or
// misuse the control or the timers, and it must stay live: once the input ends and enough time
// has passed, the transfer has ended, the search has given up, or the link is idle again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "../tests/support/CableFakes.h"

namespace {

using namespace tavrin;
using namespace tavrin::testing;

// The settings file of a cable write: 6594 bytes read from memory.
class MemoryFile : public SourceFile {
 public:
  std::optional<std::size_t> Read(uint8_t* buffer, std::size_t count) override {
    const std::size_t n = std::min(count, layout::kImageSize - at_);
    std::memset(buffer, 0x10, n);
    at_ += n;
    return n;
  }
  bool Seek(std::size_t offset) override {
    at_ = std::min(offset, layout::kImageSize);
    return true;
  }
  bool Close() override { return true; }

 private:
  std::size_t at_ = 0;
};

// Longer than the search limit, the silence limit and the finish together.
constexpr long kQuietMs = 30000 + 30000 + 1000 + 1400 * 3;

void Check(bool holds) {
  if (!holds) std::abort();
}

bool Ended(const FakeObserver& observer) {
  for (const auto& [kind, text] : observer.progress) {
    if (kind == Progress::Succeeded || kind == Progress::Failed) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const TransferMode mode = static_cast<TransferMode>(data[0] % 3);
  LinkBench bench(mode, [](const std::string&) { return std::make_unique<MemoryFile>(); });
  bench.serial.openable = {1, 4, 7, 10, 13, 16};
  if (mode == TransferMode::None) {
    Check(bench.link.OpenLink());
  } else {
    Check(bench.link.CountPorts());
    bench.link.StartSearch();
  }
  // Each chunk: a length byte whose top bit makes it a pause of (low bits x 50) ms, else the
  // length of a receive event that follows.
  std::size_t at = 1;
  while (at < size) {
    const uint8_t head = data[at++];
    if (head & 0x80) {
      bench.timers.Advance((head & 0x7F) * 50L, bench.link);
    } else {
      const std::size_t n = std::min<std::size_t>(head, size - at);
      bench.link.OnReceive(std::span(data + at, n));
      at += n;
    }
    Check(bench.serial.misuses == 0 && bench.timers.misuses == 0);
  }
  bench.timers.Advance(kQuietMs, bench.link);
  if (mode == TransferMode::None) {
    Check(bench.link.State() == LinkState::Idle);
  } else {
    const bool gaveUp = bench.link.Phase() == SearchPhase::Ended && !bench.link.DeviceIdentified();
    Check(Ended(bench.observer) || gaveUp);
    Check(!bench.serial.open);
  }
  bench.link.EndTransfer(DialogState::Connected);
  Check(bench.timers.running.empty() && !bench.serial.open);
  return 0;
}
