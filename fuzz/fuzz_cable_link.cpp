// Arbitrary receive events and timer expiries into the cable link, in either transfer
// direction: it must never crash, read or write out of bounds, or leave its states.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "model/ImageLayout.h"
#include "transfer/CableLink.h"

namespace {

using namespace tavrin;

class Serial : public SerialControl {
 public:
  int port = 0;
  bool open = false;
  void SetDTREnable(bool) override {}
  void SetRTSEnable(bool) override {}
  void SetRThreshold(int) override {}
  void SetInBufferSize(int) override {}
  void SetInputLen(int) override {}
  void SetInputMode(int) override {}
  void SetSThreshold(int) override {}
  void SetOutBufferSize(int) override {}
  void SetSettings(const std::string&) override {}
  void SetHandshaking(int) override {}
  void SetCommPort(int p) override {
    if (p < 1 || p > 16) std::abort();
    port = p;
  }
  bool SetPortOpen(bool on) override {
    if (on && (open || port % 3 != 1)) return false;
    open = on;
    return true;
  }
  bool PortOpen() const override { return open; }
  void SetInBufferCount(int) override {}
  void SetOutBufferCount(int) override {}
  void OutputText(const std::string& text) override {
    if (text.size() > 1) std::abort();
  }
  void OutputBytes(std::span<const uint8_t> bytes) override {
    if (bytes.size() > kLinkBufferSize) std::abort();
  }
  int CommEvent() const override { return comm::kReceive; }
  std::vector<uint8_t> Input() override { return {}; }
};

class Timers : public WindowTimers {
 public:
  void SetTimer(int id, int ms) override {
    if (id < 1 || id > 6 || ms != timer::IntervalMs(id)) std::abort();
  }
  void KillTimer(int id) override {
    if (id < 1 || id > 6) std::abort();
  }
};

class Document : public CableDocument {
 public:
  SettingsImage image{};
  std::string SettingsPath() const override { return "/dev/null/none"; }
  std::string SettingsTitle() const override { return "f.BIN"; }
  bool IsModified() const override { return false; }
  void SetModified(bool) override {}
  bool IsUntitled() const override { return false; }
  void InitImage() override { tavrin::InitImage(image); }
  bool PutImageBytes(const uint8_t* data, std::size_t length, std::size_t offset) override {
    return tavrin::PutImageBytes(image, data, length, offset);
  }
  void NewDocument() override { tavrin::InitImage(image); }
  void RefreshFromDocument() override {}
  void UpdateTitle() override {}
};

class Observer : public LinkObserver {
 public:
  void ReportProgress(int kind, const std::string&) override {
    if (kind < 0 || kind > 3) std::abort();
  }
  void ConnectionChanged() override {}
  void DiagnosticsChanged(const LinkDiagnostics&) override {}
  void Beep() override {}
};

// A file of 6594 bytes that are read from memory.
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  Serial serial;
  Timers timers;
  Document document;
  Observer observer;
  CableLink link(serial, timers, document, observer,
                 [](const std::string&) { return std::make_unique<MemoryFile>(); });
  link.BeginTransfer(data[0] & 1 ? transfer::kWrite : transfer::kRead);
  link.CountPorts();
  link.StartSearch();
  // Each chunk: a length byte with its top bit marking a timer expiry, then the bytes.
  std::size_t at = 1;
  while (at < size) {
    const uint8_t head = data[at++];
    if (head & 0x80) {
      link.OnTimer(1 + (head & 0x7F) % 7);
    } else {
      const std::size_t n = std::min<std::size_t>(head, size - at);
      link.OnReceive(std::span(data + at, n));
      at += n;
    }
    if (link.LinkState() < 1 || link.LinkState() > 7) std::abort();
    const int phase = link.SearchPhase();
    if (phase < -1 || phase > 2) std::abort();
  }
  link.EndTransfer(1);
  return 0;
}
