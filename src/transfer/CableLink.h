// The program's end of the cable: the timer leads, the link answers. Everything runs on one
// thread, driven by the serial control's events, the window timers 1..6 and the dialogs' calls.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "transfer/CableDocument.h"
#include "transfer/Frame.h"
#include "transfer/LinkObserver.h"
#include "transfer/SerialControl.h"
#include "transfer/SourceFile.h"
#include "transfer/WindowTimers.h"

namespace tavrin {

struct SerialSettings {
  int baud = 19200;
  char parity = 'N';
  int dataBits = 8;
  std::string stopBits = "1";
};
// The control's settings text, "19200,N,8,1".
std::string SettingsText(const SerialSettings& settings);

// TransferMode: which cable dialog is open.
namespace transfer {
inline constexpr int kNone = 0;
inline constexpr int kWrite = 1;  // the timer reads the saved settings file
inline constexpr int kRead = 2;   // the timer sends its image
}  // namespace transfer

// LinkState values.
namespace link {
inline constexpr int kIdle = 1;
inline constexpr int kData = 2;
inline constexpr int kStartDle = 3;
inline constexpr int kDataDle = 4;
inline constexpr int kAwaitAnswer = 5;
inline constexpr int kSending = 6;
inline constexpr int kCheck = 7;
}  // namespace link

// searchPhase values.
namespace search {
inline constexpr int kStart = 0;
inline constexpr int kScanning = 1;
inline constexpr int kListening = 2;
inline constexpr int kEnded = -1;
}  // namespace search

inline constexpr int kPortCount = 16;

class CableLink {
 public:
  CableLink(SerialControl& serial, WindowTimers& timers, CableDocument& document,
            LinkObserver& observer, SourceOpener opener = OpenSourceFile);

  void SetSerialSettings(const SerialSettings& settings) { settings_ = settings; }
  const SerialSettings& Settings() const { return settings_; }
  // The port OpenLink uses; the search moves it.
  void SetPort(int port);
  int Port() const { return searchPort_; }

  // False when the port does not open.
  bool OpenLink();
  void CloseLink(bool closePort);
  void ResetLink();

  // The serial control's event (its CommEvent tells which).
  void OnComm();
  void OnReceive(std::span<const uint8_t> bytes);
  void OnTimer(int id);

  // False when none of COM1..COM16 opens.
  bool CountPorts();
  void StartSearch();

  // A cable dialog opens (transfer::kWrite or kRead) or closes in its state 0..3.
  void BeginTransfer(int mode);
  void EndTransfer(int dialogState);
  // Any file a previous transfer left open; false when closing it failed.
  bool CloseSourceFile();

  void ClearDiagnostics();

  int LinkState() const { return linkState_; }
  int SearchPhase() const { return searchPhase_; }
  bool DeviceIdentified() const { return deviceIdentified_; }
  int TransferMode() const { return transferMode_; }
  bool TransferSucceeded() const { return transferSucceeded_; }
  const std::string& FailureDetail() const { return failureDetail_; }
  int BytesTransferred() const { return bytesTransferred_; }
  bool PortOpen() const { return serial_.PortOpen(); }
  const LinkDiagnostics& Diagnostics() const { return diagnostics_; }

 private:
  void ApplyProperties(int port);
  bool TryPort(int port);
  void FeedByte(uint8_t b);
  bool StoreByte(uint8_t b);
  void Overflow();
  void SendControlByte(uint8_t b);
  void SendFrame(std::span<const uint8_t> data);
  void TransmitSendBuffer();
  void AfterTransmission();
  void HandleFrame();
  void Reply(uint8_t letter, uint8_t status);
  void HandleQuery(std::span<const uint8_t> data);
  void HandleOpen(std::span<const uint8_t> data);
  void HandleRead(std::span<const uint8_t> data);
  void HandleWrite(std::span<const uint8_t> data);
  void HandleClose();
  void HandleEnd(std::span<const uint8_t> data);
  void HandleMode(std::span<const uint8_t> data);
  void FinishTransfer();
  void ResetSearch();
  void SearchStep();
  void ScanPorts();
  void EndSearch();
  void AdvancePort();
  void StopLinkTimers();
  void StopAllTimers();
  void ShowStatus(const std::string& text);
  void ShowLinkError();
  void Publish();

  SerialControl& serial_;
  WindowTimers& timers_;
  CableDocument& document_;
  LinkObserver& observer_;
  SourceOpener opener_;
  SerialSettings settings_;

  std::array<uint8_t, kLinkBufferSize> inputBuffer_{};
  std::size_t inputCount_ = 0;
  std::array<uint8_t, kLinkBufferSize> frameBuffer_{};
  std::size_t frameCount_ = 0;
  std::size_t frameStartCount_ = 0;
  std::array<uint8_t, kLinkBufferSize> sendBuffer_{};
  std::size_t sendLength_ = 0;
  std::array<uint8_t, kLinkBufferSize> packetBuffer_{};

  int linkState_ = link::kIdle;
  uint8_t answerByte_ = 0;
  uint8_t frameCheck_ = 0;
  int retriesLeft_ = 0;
  int linkError_ = 0;
  bool singleByteSent_ = false;

  int searchPort_ = 1;
  int searchPhase_ = search::kStart;
  bool deviceIdentified_ = false;
  bool searchExpired_ = false;
  bool portWaitExpired_ = false;

  int transferMode_ = transfer::kNone;
  uint8_t commandLetter_ = 0;
  uint8_t openMode_ = 0;
  uint8_t statusLetter_ = 0;
  bool transferOpen_ = false;
  std::unique_ptr<SourceFile> sourceFile_;
  int imageOffset_ = 0;
  int bytesTransferred_ = 0;
  bool transferSucceeded_ = false;
  std::string failureDetail_;

  LinkDiagnostics diagnostics_;
  long receiveEvents_ = 0;
  long sendRequests_ = 0;
  long sendCompletions_ = 0;
};

}  // namespace tavrin
