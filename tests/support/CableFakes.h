// The one set of fakes for the cable link, shared by the unit tests and the fuzz target: a
// serial control with a chosen set of openable ports (the others refused for a reason of their
// own) that records what goes on the wire (and can refuse every write), window timers on a fake
// clock that fire as the window's would, a document and an observer that record.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/ImageLayout.h"
#include "transfer/CableLink.h"
#include "transfer/Frame.h"

namespace tavrin::testing {

using Bytes = std::vector<uint8_t>;

inline Bytes B(std::string_view text) { return Bytes(text.begin(), text.end()); }

inline Bytes Wire(const Bytes& data) { return BuildFrame(data); }

inline Bytes ToBytes(std::span<const uint8_t> bytes) { return Bytes(bytes.begin(), bytes.end()); }

// A device the user may not open, which members of `group` may.
inline PortRefusal Denied(std::string group = "dialout") {
  return {PortOpenError::PermissionDenied, std::move(group)};
}

class FakeSerial : public SerialControl {
 public:
  std::set<int> openable;
  std::map<int, PortRefusal> refused;   // ports that exist but do not open, and why
  bool writesFail = false;              // a line whose writes never reach the wire
  std::vector<std::string> properties;  // property names in the order they were set
  std::vector<Bytes> outputs;           // one entry per Output call that reached the wire
  int misuses = 0;                      // calls the real control would refuse or misread
  CommEventCode event = CommEventCode::None;
  Bytes pendingInput;
  int port = 0;
  bool open = false;
  PortRefusal openError;
  int opens = 0;
  int outputClears = 0;

  void SetDTREnable(bool) override { properties.push_back("DTREnable"); }
  void SetRTSEnable(bool) override { properties.push_back("RTSEnable"); }
  void SetRThreshold(int) override { properties.push_back("RThreshold"); }
  void SetInBufferSize(int) override { properties.push_back("InBufferSize"); }
  void SetInputLen(int) override { properties.push_back("InputLen"); }
  void SetInputMode(int) override { properties.push_back("InputMode"); }
  void SetSThreshold(int) override { properties.push_back("SThreshold"); }
  void SetOutBufferSize(int) override { properties.push_back("OutBufferSize"); }
  void SetSettings(const std::string& s) override { properties.push_back("Settings=" + s); }
  void SetHandshaking(int) override { properties.push_back("Handshaking"); }
  void SetCommPort(int p) override {
    properties.push_back("CommPort");
    if (p < 1 || p > 16) ++misuses;
    port = p;
  }
  bool SetPortOpen(bool on) override {
    if (!on) {
      open = false;
      return true;
    }
    if (open || !openable.count(port)) {
      openError = refused.count(port) ? refused.at(port) : PortRefusal(PortOpenError::Other);
      return false;
    }
    open = true;
    openError = {};
    ++opens;
    return true;
  }
  PortRefusal OpenError() const override { return openError; }
  bool PortOpen() const override { return open; }
  void SetInBufferCount(int) override {}
  void SetOutBufferCount(int) override { ++outputClears; }
  Result<> OutputText(const std::string& text) override {
    if (text.size() > 1) ++misuses;
    return Output(B(text));
  }
  Result<> OutputBytes(std::span<const uint8_t> bytes) override {
    if (bytes.size() > kLinkBufferSize) ++misuses;
    return Output(Bytes(bytes.begin(), bytes.end()));
  }
  CommEventCode CommEvent() const override { return event; }
  Bytes Input() override { return std::exchange(pendingInput, {}); }

  // Everything sent so far, as one stream, then forgotten.
  Bytes TakeWire() {
    Bytes all;
    for (const auto& o : outputs) all.insert(all.end(), o.begin(), o.end());
    outputs.clear();
    return all;
  }

 private:
  Result<> Output(Bytes bytes) {
    if (bytes.empty()) return {};
    if (writesFail || !open) return Fail("write refused");
    outputs.push_back(std::move(bytes));
    return {};
  }
};

class FakeTimers : public WindowTimers {
 public:
  long now = 0;
  std::map<LinkTimer, std::pair<int, long>> running;  // id -> interval, next expiry
  int misuses = 0;                                    // a timer set at another interval

  void SetTimer(LinkTimer id, int intervalMs) override {
    if (intervalMs != IntervalMs(id)) ++misuses;
    running[id] = {intervalMs, now + intervalMs};
  }
  void KillTimer(LinkTimer id) override { running.erase(id); }
  bool Running(LinkTimer id) const { return running.count(id) != 0; }

  void Advance(long ms, CableLink& link) {
    Advance(ms, [&](LinkTimer id) { link.OnTimer(id); });
  }
  // Moves the clock on, firing each expiry in time order as the message loop would.
  template <class Fire>
  void Advance(long ms, Fire&& fire) {
    const long end = now + ms;
    for (;;) {
      auto next = std::min_element(running.begin(), running.end(), [](auto& a, auto& b) {
        return a.second.second < b.second.second;
      });
      if (next == running.end() || next->second.second > end) break;
      now = next->second.second;
      const LinkTimer id = next->first;
      next->second.second += next->second.first;
      fire(id);
    }
    now = end;
  }
};

class FakeDocument : public CableDocument {
 public:
  std::string path = "/nonexistent/plan.BIN";
  std::string title = "plan.BIN";
  bool modified = false;
  bool untitled = false;
  SettingsImage image{};
  SettingsImage refreshed{};  // the image as the view last loaded it
  std::vector<std::string> calls;

  FakeDocument() { tavrin::InitImage(image); }
  std::string SettingsPath() const override { return path; }
  std::string SettingsTitle() const override { return title; }
  bool IsModified() const override { return modified; }
  void SetModified(bool m) override {
    modified = m;
    calls.push_back(m ? "SetModified" : "ClearModified");
  }
  bool IsUntitled() const override { return untitled; }
  const SettingsImage& Image() const override { return image; }
  void InitImage() override {
    tavrin::InitImage(image);
    calls.push_back("InitImage");
  }
  bool PutImageBytes(const uint8_t* data, std::size_t length, std::size_t offset) override {
    return tavrin::PutImageBytes(image, data, length, offset);
  }
  void NewDocument() override {
    tavrin::InitImage(image);
    untitled = true;
    modified = false;
    title.clear();
    calls.push_back("NewDocument");
  }
  void RefreshFromDocument() override {
    refreshed = image;
    calls.push_back("Refresh");
  }
  void UpdateTitle() override { calls.push_back("UpdateTitle"); }
};

using ProgressReports = std::vector<std::pair<Progress, std::string>>;

class FakeObserver : public LinkObserver {
 public:
  ProgressReports progress;
  int connectionChanges = 0;
  LinkDiagnostics last;
  int beeps = 0;

  void ReportProgress(Progress kind, const std::string& text) override {
    progress.emplace_back(kind, text);
  }
  void ConnectionChanged() override { ++connectionChanges; }
  void DiagnosticsChanged(const LinkDiagnostics& d) override { last = d; }
  void Beep() override { ++beeps; }
};

// A link on COM1 with a cable dialog open and the timer identified.
struct LinkBench {
  FakeSerial serial;
  FakeTimers timers;
  FakeDocument document;
  FakeObserver observer;
  CableLink link;

  explicit LinkBench(TransferMode mode = TransferMode::Write, SourceOpener opener = OpenSourceFile,
                     PortRefresher refreshPorts = nullptr)
      : link(serial, timers, document, observer, std::move(opener), std::move(refreshPorts)) {
    serial.openable = {1};
    link.BeginTransfer(mode);
  }

  void Receive(const Bytes& bytes) { link.OnReceive(bytes); }
  void ReceiveFrame(const Bytes& data) { Receive(Wire(data)); }
  // Sends the timer's frame, answers the link's reply with ACK, and returns what the link sent
  // before that ACK.
  Bytes Exchange(const Bytes& data) {
    ReceiveFrame(data);
    Bytes wire = serial.TakeWire();
    Receive({kACK});
    return wire;
  }
  void Search() {
    link.CountPorts();
    link.StartSearch();
  }
  void Connect() {
    Search();
    Exchange(B("QVL-3400"));
  }
};

// ACK then the reply frame, as the link puts them on the wire.
inline Bytes AckAndReply(const Bytes& reply) {
  Bytes wire{kACK};
  const Bytes frame = Wire(reply);
  wire.insert(wire.end(), frame.begin(), frame.end());
  return wire;
}

}  // namespace tavrin::testing
