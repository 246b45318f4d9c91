#include "transfer/TransferSession.h"

#include <algorithm>
#include <string_view>

#include "document/SettingsFiles.h"
#include "transfer/CableMessages.h"

namespace tavrin {
namespace {

constexpr std::string_view kDeviceName = "VL-3400";

// How far a transfer has come: identified, opened, each byte of the image, closed.
constexpr int kIdentified = 1;
constexpr int kOpened = 2;
constexpr int kClosed = kOpened + static_cast<int>(layout::kImageSize) + 1;

}  // namespace

TransferSession::TransferSession(FrameSender& link, PortSearch& search, WindowTimers& timers,
                                 CableDocument& document, LinkObserver& observer,
                                 LinkDiagnostics& diagnostics, SourceOpener opener)
    : link_(link),
      search_(search),
      timers_(timers),
      document_(document),
      observer_(observer),
      diagnostics_(diagnostics),
      opener_(std::move(opener)) {}

bool TransferSession::CloseSourceFile() {
  if (!sourceFile_) return true;
  const bool ok = sourceFile_->Close();
  sourceFile_.reset();
  return ok;
}

// Only a frame that takes the transfer further than it ever was gives the timer another 30 s: one
// that repeats a step, or that the program does not know, would otherwise hold the transfer open
// for ever.
void TransferSession::Progressed(int point) {
  if (!connected_ || point <= furthest_) return;
  furthest_ = point;
  timers_.Start(LinkTimer::NoProgress);
}

void TransferSession::HandleFrame(std::span<const uint8_t> data) {
  commandLetter_ = data[0];
  switch (commandLetter_) {
    case 'Q':
      return HandleQuery(data);
    case 'O':
      return HandleOpen(data);
    case 'R':
      return HandleRead(data);
    case 'W':
      return HandleWrite(data);
    case 'C':
      return HandleClose();
    case 'E':
      return HandleEnd(data);
    case 'M':
      return HandleMode(data);
    default:
      return;
  }
}

int TransferSession::BytesPoint() const {
  return kOpened + std::min(bytesTransferred_, static_cast<int>(layout::kImageSize));
}

void TransferSession::Reply(uint8_t letter, uint8_t status) {
  diagnostics_.command = static_cast<char>(commandLetter_);
  diagnostics_.status = static_cast<char>(status);
  const uint8_t reply[] = {letter, status};
  link_.SendFrame(reply);
}

void TransferSession::HandleQuery(std::span<const uint8_t> data) {
  const auto nul = std::find(data.begin(), data.end(), uint8_t{0});
  const std::string_view text(reinterpret_cast<const char*>(data.data()),
                              static_cast<std::size_t>(nul - data.begin()));
  const bool present = text.find(kDeviceName) != std::string_view::npos;
  if (search_.DeviceIdentified()) {
    if (present) Reply('Q', '0');
    return;
  }
  if (!present) return Reply('Q', '1');
  search_.Identify();
  connected_ = true;
  Progressed(kIdentified);
  Reply('Q', '0');
}

void TransferSession::HandleOpen(std::span<const uint8_t> data) {
  if (!search_.DeviceIdentified()) return Reply('Z', '1');
  if (transferOpen_) return Reply('O', '1');
  imageOffset_ = 0;
  bytesTransferred_ = 0;
  openMode_ = data.size() > 1 ? data[1] : 0;
  const bool modeFits = (openMode_ == 'R' && mode_ == TransferMode::Write) ||
                        (openMode_ == 'W' && mode_ == TransferMode::Read);
  if (!modeFits) return Reply('O', '2');
  uint8_t status = '0';
  if (openMode_ == 'R') {
    observer_.ReportProgress(Progress::Communicating, "");
    CloseSourceFile();
    sourceFile_ = opener_(document_.SettingsPath());
    if (!sourceFile_) status = '2';
    diagnostics_.filePath = document_.SettingsPath();
    diagnostics_.openMode = 'R';
  } else {
    document_.NewDocument();
    document_.RefreshFromDocument();
    diagnostics_.filePath.clear();
    diagnostics_.openMode = 'W';
  }
  if (status == '0') {
    transferOpen_ = true;
    Progressed(kOpened);
  }
  Reply('O', status);
  diagnostics_.statusLine = {};
  observer_.ReportProgress(Progress::Connected, "");
}

void TransferSession::HandleRead(std::span<const uint8_t> data) {
  if (!search_.DeviceIdentified()) return Reply('Z', '1');
  if (mode_ != TransferMode::Write || openMode_ != 'R' || !transferOpen_ || data.size() < 3 ||
      !sourceFile_) {
    return Reply('R', '1');
  }
  const std::size_t wanted = data[1] * 256u + data[2];
  // The reply must fit the packet and, with its DLEs doubled, the send buffer.
  if (wanted > packetBuffer_.size() - 4) return Reply('R', '1');
  const auto got = sourceFile_->Read(packetBuffer_.data() + 4, wanted);
  if (!got) return Reply('R', '1');
  const std::span<const uint8_t> packet(packetBuffer_.data(), *got + 4);
  packetBuffer_[0] = 'R';
  packetBuffer_[1] = '0';
  packetBuffer_[2] = static_cast<uint8_t>(*got >> 8);
  packetBuffer_[3] = static_cast<uint8_t>(*got & 0xFF);
  if (WireSize(packet) > kLinkBufferSize) {
    // Refused requests leave the file where it was, so a smaller request gets the same bytes.
    sourceFile_->Seek(static_cast<std::size_t>(imageOffset_));
    return Reply('R', '1');
  }
  imageOffset_ += static_cast<int>(*got);
  bytesTransferred_ += static_cast<int>(*got);
  Progressed(BytesPoint());
  diagnostics_.command = 'R';
  diagnostics_.status = '0';
  link_.SendFrame(packet);
  diagnostics_.byteCount = bytesTransferred_;
  observer_.ReportProgress(Progress::Connected, "");
}

void TransferSession::HandleWrite(std::span<const uint8_t> data) {
  if (!search_.DeviceIdentified()) return Reply('Z', '1');
  if (mode_ != TransferMode::Read || openMode_ != 'W' || !transferOpen_ || data.size() < 3) {
    return Reply('W', '1');
  }
  const std::size_t count = data[1] * 256u + data[2];
  // A frame that announces more than it carries would otherwise store bytes it never had.
  if (count > data.size() - 3) return Reply('W', '1');
  document_.PutImageBytes(data.data() + 3, count, static_cast<std::size_t>(imageOffset_));
  imageOffset_ += static_cast<int>(count);
  bytesTransferred_ += static_cast<int>(count);
  Progressed(BytesPoint());
  Reply('W', '0');
  diagnostics_.byteCount = bytesTransferred_;
  observer_.ReportProgress(Progress::Connected, "");
}

void TransferSession::HandleClose() {
  if (!search_.DeviceIdentified()) return Reply('Z', '1');
  uint8_t status;
  if (mode_ == TransferMode::Write) {
    status = !transferOpen_ ? '2' : CloseSourceFile() ? '0' : '1';
  } else {
    status = transferOpen_ ? '0' : '1';
  }
  if (transferOpen_) Progressed(kClosed);
  transferOpen_ = false;
  Reply('C', status);
  link_.ResetLink();
  observer_.ReportProgress(Progress::Connected, "");
}

void TransferSession::HandleEnd(std::span<const uint8_t> data) {
  if (!search_.DeviceIdentified()) return Reply('Z', '1');
  const uint8_t result = data.size() > 1 ? data[1] : 0;
  Reply('E', result == '0' || result == '1' ? '0' : '1');
  const bool wholeImage = bytesTransferred_ == static_cast<int>(layout::kImageSize);
  // A received image that Open would refuse must not become the document.
  const bool ourImage = mode_ != TransferMode::Read || HasModelTag(document_.Image());
  succeeded_ = result == '0' && wholeImage && ourImage;
  failureDetail_ = result != '0' ? "" : !wholeImage ? kLengthError : !ourImage ? kNotOurImage : "";
  connected_ = false;
  // The no-progress limit keeps running: should a timer that identifies itself again stop the
  // finish (its 'C' resets the link), the limit still ends the transfer.
  timers_.Start(LinkTimer::Finish);
  // Later frames are answered 'Z' '1' until the transfer is finished.
  search_.Reset();
}

void TransferSession::HandleMode(std::span<const uint8_t> data) {
  const uint8_t x = data.size() > 1 ? data[1] : 0;
  const uint8_t y = data.size() > 2 ? data[2] : 0;
  const uint8_t status = x == 'A' && y == 'C' ? '0' : '2';
  openMode_ = x;
  diagnostics_.command = 'M';
  diagnostics_.status = static_cast<char>(status);
  const uint8_t reply[] = {'M', 'A', status};
  link_.SendFrame(reply);
}

void TransferSession::OnTimer(LinkTimer id) {
  if (id == LinkTimer::NoProgress) return FailIfConnected(StalledText());
  Finish();
}

void TransferSession::FailIfConnected(const std::string& detail) {
  if (!connected_ || mode_ == TransferMode::None) return;
  succeeded_ = false;
  failureDetail_ = detail;
  Finish();
}

void TransferSession::Finish() {
  connected_ = false;
  timers_.KillTimer(LinkTimer::Finish);
  link_.CloseLink(true);
  search_.Reset();
  if (mode_ == TransferMode::Read) {
    if (succeeded_) {
      document_.RefreshFromDocument();
      document_.InitImage();
      document_.SetModified(true);
      observer_.ReportProgress(Progress::Succeeded, "");
    } else {
      document_.NewDocument();
      document_.RefreshFromDocument();
      observer_.ReportProgress(Progress::Failed, failureDetail_);
    }
    document_.UpdateTitle();
  } else if (mode_ == TransferMode::Write) {
    observer_.ReportProgress(succeeded_ ? Progress::Succeeded : Progress::Failed,
                             succeeded_ ? "" : failureDetail_);
  }
}

void TransferSession::Begin(TransferMode mode) {
  mode_ = mode;
  furthest_ = 0;
  succeeded_ = false;
  failureDetail_.clear();
  transferOpen_ = false;
  connected_ = false;
}

void TransferSession::End(DialogState state) {
  if (state == DialogState::Connected || state == DialogState::Failed) {
    if (mode_ == TransferMode::Read) {
      document_.NewDocument();
      document_.RefreshFromDocument();
    }
  }
  mode_ = TransferMode::None;
  transferOpen_ = false;
  connected_ = false;
}

}  // namespace tavrin
