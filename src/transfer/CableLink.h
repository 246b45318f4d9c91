// The program's end of the cable: the timer leads, the link answers. Everything runs on one
// thread, driven by the serial control's events, the window timers and the dialogs' calls. The
// link frames and acknowledges bytes and repeats its replies; the port search and the transfer
// session are its two parts above that.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "transfer/CableDocument.h"
#include "transfer/CableMessages.h"
#include "transfer/Frame.h"
#include "transfer/LinkObserver.h"
#include "transfer/PortSearch.h"
#include "transfer/SerialControl.h"
#include "transfer/SerialParameters.h"
#include "transfer/SourceFile.h"
#include "transfer/TransferSession.h"
#include "transfer/WindowTimers.h"

namespace tavrin {

// Takes the list of devices behind COM1..COM16 afresh, so that an adapter plugged in since
// start-up is found, and returns it, COM1 first.
using PortRefresher = std::function<std::vector<std::string>()>;

class CableLink : private SearchPorts, private FrameSender {
 public:
  CableLink(SerialControl& serial, WindowTimers& timers, CableDocument& document,
            LinkObserver& observer, SourceOpener opener = OpenSourceFile,
            PortRefresher refreshPorts = nullptr);

  void SetSerialParameters(const SerialParameters& parameters) { parameters_ = parameters; }
  const SerialParameters& Parameters() const { return parameters_; }
  // The port OpenLink uses; the search moves it.
  void SetPort(int port) { search_.SetPort(port); }
  int Port() const { return search_.Port(); }
  // Before the diagnostics window connects; every cable command does it in CountPorts.
  void RefreshPorts();

  // False when the port does not open.
  bool OpenLink();
  void CloseLink(bool closePort) override;
  void ResetLink() override;

  // The serial control's event (its CommEvent tells which).
  void OnComm();
  void OnReceive(std::span<const uint8_t> bytes);
  void OnTimer(LinkTimer id);

  // False when none of COM1..COM16 opens.
  bool CountPorts();
  void StartSearch() { search_.Start(); }
  // The ports the last CountPorts found openable, and those the user may not open or that
  // another program holds, named.
  std::vector<std::string> OpenablePortNames() const;
  std::vector<RefusedPort> RefusedPorts() const;
  // "COM1 (/dev/ttyUSB0)" with the device the last refresh put behind the port.
  std::string PortName(int port) const;

  // Where a cable write's 'O' 'R' finds the bytes it serves.
  void SetSourceOpener(SourceOpener opener) { session_.SetSourceOpener(std::move(opener)); }
  // A cable dialog opens, or closes in its state.
  void BeginTransfer(TransferMode mode) { session_.Begin(mode); }
  void EndTransfer(DialogState state);
  // Any file a previous transfer left open; false when closing it failed.
  bool CloseSourceFile() { return session_.CloseSourceFile(); }

  void ClearDiagnostics();

  LinkState State() const;
  SearchPhase Phase() const { return search_.Phase(); }
  bool DeviceIdentified() const { return search_.DeviceIdentified(); }
  TransferMode Mode() const { return session_.Mode(); }
  bool TransferSucceeded() const { return session_.Succeeded(); }
  const std::string& FailureDetail() const { return session_.FailureDetail(); }
  int BytesTransferred() const { return session_.BytesTransferred(); }
  bool PortOpen() const override { return serial_.PortOpen(); }
  const LinkDiagnostics& Diagnostics() const { return diagnostics_; }

 private:
  enum class LinkError { None, Send, Receive };
  // Where our own last frame stands; while it is out, received bytes are only its answer.
  enum class Outgoing { None, Handing, AwaitingAnswer };

  PortRefusal TryPort(int port) override;
  bool Listen(int port) override;
  void ClosePort() override;
  void SendFrame(std::span<const uint8_t> data) override;

  void ApplyProperties(int port);
  void FeedByte(uint8_t b);
  void FeedAnswer(uint8_t b);
  void Overflow();
  void SendControlByte(uint8_t b);
  void TransmitSendBuffer();
  void AfterTransmission(const Result<>& written);
  void HandleFrame();
  void StopLinkTimers();
  void StopAllTimers();
  void ShowStatus(std::string_view text);
  void Publish();
  // Both true when a link error was put on the status line.
  bool Receive(std::span<const uint8_t> bytes);
  bool AfterEvent();
  // Why the connected line stopped: its port went away, or it no longer takes what is sent.
  std::string LineFailure() const;

  SerialControl& serial_;
  WindowTimers& timers_;
  LinkObserver& observer_;
  PortRefresher refreshPorts_;
  std::vector<std::string> portPaths_;
  SerialParameters parameters_;
  LinkDiagnostics diagnostics_;
  PortSearch search_;
  TransferSession session_;

  std::array<uint8_t, kLinkBufferSize> inputBuffer_{};
  std::size_t inputCount_ = 0;
  FrameReader reader_;
  std::array<uint8_t, kLinkBufferSize> sendBuffer_{};
  std::size_t sendLength_ = 0;

  Outgoing outgoing_ = Outgoing::None;
  uint8_t answerByte_ = 0;
  int retriesLeft_ = 0;
  LinkError linkError_ = LinkError::None;
  bool singleByteSent_ = false;
  bool writeFailed_ = false;

  long receiveEvents_ = 0;
  long sendRequests_ = 0;
  long sendCompletions_ = 0;
};

}  // namespace tavrin
