// One cable transfer as the open cable dialog runs it: the timer's command frames answered in
// turn, the settings file served or the received image stored, and the result reported.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "transfer/CableDocument.h"
#include "transfer/Frame.h"
#include "transfer/LinkObserver.h"
#include "transfer/PortSearch.h"
#include "transfer/SourceFile.h"
#include "transfer/WindowTimers.h"

namespace tavrin {

// TransferMode: which cable dialog is open.
enum class TransferMode {
  None,
  Write,  // the timer reads the saved settings file
  Read,   // the timer sends its image
};

// The cable dialog's state when it closes.
enum class DialogState { NotConnected, Connected, Succeeded, Failed };

// The failure detail of a line that stopped working after the connection.
inline constexpr char kSendFailure[] = "シリアル通信送信異常";
inline constexpr char kReceiveFailure[] = "シリアル通信受信異常";
inline constexpr char kLengthError[] = "データ長エラー";
inline constexpr char kNotOurImage[] = "対象外のデータです。";

// What a session needs of the link under it.
class FrameSender {
 public:
  virtual ~FrameSender() = default;
  virtual void SendFrame(std::span<const uint8_t> data) = 0;
  virtual void ResetLink() = 0;
  virtual void CloseLink(bool closePort) = 0;
};

class TransferSession {
 public:
  TransferSession(FrameSender& link, PortSearch& search, WindowTimers& timers,
                  CableDocument& document, LinkObserver& observer, LinkDiagnostics& diagnostics,
                  SourceOpener opener);

  void SetSourceOpener(SourceOpener opener) { opener_ = std::move(opener); }
  void Begin(TransferMode mode);
  // The dialog closes in `state`; the link is closed after this.
  void End(DialogState state);
  // A good frame from the timer while a dialog is open; `data` holds at least the letter.
  void HandleFrame(std::span<const uint8_t> data);
  void OnTimer(LinkTimer id);
  // The line failed after the connection: the transfer ends now with `detail`.
  void FailIfConnected(const std::string& detail);
  // Any file a previous transfer left open; false when closing it failed.
  bool CloseSourceFile();

  TransferMode Mode() const { return mode_; }
  bool Succeeded() const { return succeeded_; }
  const std::string& FailureDetail() const { return failureDetail_; }
  int BytesTransferred() const { return bytesTransferred_; }

 private:
  void Reply(uint8_t letter, uint8_t status);
  void HandleQuery(std::span<const uint8_t> data);
  void HandleOpen(std::span<const uint8_t> data);
  void HandleRead(std::span<const uint8_t> data);
  void HandleWrite(std::span<const uint8_t> data);
  void HandleClose();
  void HandleEnd(std::span<const uint8_t> data);
  void HandleMode(std::span<const uint8_t> data);
  void Finish();
  void Progressed(int point);
  int BytesPoint() const;

  FrameSender& link_;
  PortSearch& search_;
  WindowTimers& timers_;
  CableDocument& document_;
  LinkObserver& observer_;
  LinkDiagnostics& diagnostics_;
  SourceOpener opener_;

  std::array<uint8_t, kLinkBufferSize> packetBuffer_{};
  TransferMode mode_ = TransferMode::None;
  uint8_t commandLetter_ = 0;
  uint8_t openMode_ = 0;
  bool transferOpen_ = false;
  // From the identification to the 'E' frame: the timer must keep carrying the transfer on.
  bool connected_ = false;
  int furthest_ = 0;  // the furthest point the transfer reached
  std::unique_ptr<SourceFile> sourceFile_;
  int imageOffset_ = 0;
  int bytesTransferred_ = 0;
  bool succeeded_ = false;
  std::string failureDetail_;
};

}  // namespace tavrin
