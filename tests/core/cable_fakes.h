// Fakes for the cable link: a serial control with a chosen set of openable ports that records
// what goes on the wire, window timers on a fake clock, a document and an observer that record.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "model/ImageLayout.h"
#include "transfer/CableLink.h"
#include "transfer/Frame.h"

namespace tavrin::testing {

using Bytes = std::vector<uint8_t>;

inline Bytes B(std::string_view text) { return Bytes(text.begin(), text.end()); }

inline Bytes Wire(const Bytes& data) { return BuildFrame(data); }

class FakeSerial : public SerialControl {
 public:
  std::set<int> openable;
  std::vector<std::string> properties;  // property names in the order they were set
  std::vector<Bytes> outputs;           // one entry per Output call
  int event = 0;
  Bytes pendingInput;
  int port = 0;
  bool open = false;
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
    port = p;
  }
  bool SetPortOpen(bool on) override {
    if (!on) {
      open = false;
      return true;
    }
    if (open || !openable.count(port)) return false;
    open = true;
    ++opens;
    return true;
  }
  bool PortOpen() const override { return open; }
  void SetInBufferCount(int) override {}
  void SetOutBufferCount(int) override { ++outputClears; }
  void OutputText(const std::string& text) override { outputs.push_back(B(text)); }
  void OutputBytes(std::span<const uint8_t> bytes) override {
    outputs.emplace_back(bytes.begin(), bytes.end());
  }
  int CommEvent() const override { return event; }
  Bytes Input() override { return std::exchange(pendingInput, {}); }

  // Everything sent so far, as one stream, then forgotten.
  Bytes TakeWire() {
    Bytes all;
    for (const auto& o : outputs) all.insert(all.end(), o.begin(), o.end());
    outputs.clear();
    return all;
  }
};

class FakeTimers : public WindowTimers {
 public:
  long now = 0;
  std::map<int, std::pair<int, long>> running;  // id -> interval, next expiry

  void SetTimer(int id, int intervalMs) override { running[id] = {intervalMs, now + intervalMs}; }
  void KillTimer(int id) override { running.erase(id); }
  bool Running(int id) const { return running.count(id) != 0; }

  // Moves the clock on, firing each expiry in time order as the message loop would.
  void Advance(long ms, CableLink& link) {
    const long end = now + ms;
    for (;;) {
      auto next = std::min_element(running.begin(), running.end(), [](auto& a, auto& b) {
        return a.second.second < b.second.second;
      });
      if (next == running.end() || next->second.second > end) break;
      now = next->second.second;
      const int id = next->first;
      next->second.second += next->second.first;
      link.OnTimer(id);
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

class FakeObserver : public LinkObserver {
 public:
  std::vector<std::pair<int, std::string>> progress;
  int connectionChanges = 0;
  LinkDiagnostics last;
  std::vector<std::string> states;  // every LinkState published
  int beeps = 0;

  void ReportProgress(int kind, const std::string& text) override {
    progress.emplace_back(kind, text);
  }
  void ConnectionChanged() override { ++connectionChanges; }
  void DiagnosticsChanged(const LinkDiagnostics& d) override {
    last = d;
    if (!d.linkState.empty()) states.push_back(d.linkState);
  }
  void Beep() override { ++beeps; }
};

// A link on COM1 with a cable dialog open and the timer identified.
struct LinkBench {
  FakeSerial serial;
  FakeTimers timers;
  FakeDocument document;
  FakeObserver observer;
  CableLink link{serial, timers, document, observer};

  explicit LinkBench(int mode = transfer::kWrite) {
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
  void Connect() {
    link.CountPorts();
    link.StartSearch();
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
