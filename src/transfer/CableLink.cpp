#include "transfer/CableLink.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "model/ImageLayout.h"
#include "transfer/CommEvents.h"

namespace tavrin {
namespace {

constexpr char kSendFailure[] = "シリアル通信送信異常";
constexpr char kReceiveFailure[] = "シリアル通信受信異常";
constexpr char kLengthError[] = "データ長エラー";
constexpr std::string_view kDeviceName = "VL-3400";

std::string Letter(uint8_t b) { return std::string(1, static_cast<char>(b)); }

}  // namespace

std::string SettingsText(const SerialSettings& settings) {
  char text[48];
  std::snprintf(text, sizeof text, "%d,%c,%d,%s", settings.baud, settings.parity, settings.dataBits,
                settings.stopBits.c_str());
  return text;
}

CableLink::CableLink(SerialControl& serial, WindowTimers& timers, CableDocument& document,
                     LinkObserver& observer, SourceOpener opener)
    : serial_(serial),
      timers_(timers),
      document_(document),
      observer_(observer),
      opener_(std::move(opener)) {}

void CableLink::SetPort(int port) { searchPort_ = std::clamp(port, 1, kPortCount); }

void CableLink::ApplyProperties(int port) {
  serial_.SetDTREnable(true);
  serial_.SetRTSEnable(true);
  serial_.SetRThreshold(1);
  serial_.SetInBufferSize(static_cast<int>(kLinkBufferSize));
  serial_.SetInputLen(0);
  serial_.SetInputMode(1);
  serial_.SetSThreshold(1);
  serial_.SetOutBufferSize(static_cast<int>(kLinkBufferSize));
  serial_.SetSettings(SettingsText(settings_));
  serial_.SetHandshaking(0);
  serial_.SetCommPort(port);
}

bool CableLink::TryPort(int port) {
  ApplyProperties(port);
  if (!serial_.SetPortOpen(true)) return false;
  serial_.SetPortOpen(false);
  return true;
}

bool CableLink::OpenLink() {
  ResetLink();
  if (serial_.PortOpen()) serial_.SetPortOpen(false);
  ApplyProperties(searchPort_);
  if (!serial_.SetPortOpen(true)) {
    observer_.ConnectionChanged();
    return false;
  }
  serial_.SetInBufferCount(0);
  serial_.SetOutBufferCount(0);
  linkState_ = link::kIdle;
  ShowStatus("");
  observer_.ConnectionChanged();
  return true;
}

void CableLink::CloseLink(bool closePort) {
  StopAllTimers();
  CloseSourceFile();
  if (closePort && serial_.PortOpen()) serial_.SetPortOpen(false);
  ResetLink();
  ClearDiagnostics();
  observer_.ConnectionChanged();
}

void CableLink::ResetLink() {
  diagnostics_.statusLine.clear();
  inputCount_ = 0;
  frameCount_ = 0;
  frameStartCount_ = 0;
  singleByteSent_ = false;
  linkError_ = 0;
  // The search's own timers stay: a search opens each port through this reset, and stopping
  // them here would take away its 30-second limit.
  StopLinkTimers();
  timers_.KillTimer(timer::kFinish);
}

void CableLink::StopLinkTimers() {
  timers_.KillTimer(timer::kFrameGap);
  timers_.KillTimer(timer::kReplyAnswer);
  timers_.KillTimer(timer::kEnqWindow);
}

void CableLink::StopAllTimers() {
  for (int id = timer::kFrameGap; id <= timer::kFinish; ++id) timers_.KillTimer(id);
}

bool CableLink::CloseSourceFile() {
  if (!sourceFile_) return true;
  const bool ok = sourceFile_->Close();
  sourceFile_.reset();
  return ok;
}

// ---- receiving

void CableLink::OnComm() {
  const int event = serial_.CommEvent();
  const auto text = DescribeCommEvent(event);
  if (!text) return;
  if (event == comm::kReceive) OnReceive(serial_.Input());
  if (text->error) observer_.Beep();
  if (event == comm::kSend && singleByteSent_) return;
  ShowStatus(text->text);
}

void CableLink::OnReceive(std::span<const uint8_t> bytes) {
  if (inputCount_ + bytes.size() <= inputBuffer_.size()) {
    std::copy(bytes.begin(), bytes.end(), inputBuffer_.begin() + inputCount_);
    inputCount_ += bytes.size();
  }
  ++receiveEvents_;
  diagnostics_.receiveEvents = std::to_string(receiveEvents_);
  diagnostics_.receiveBytes = std::to_string(bytes.size());
  diagnostics_.linkState = std::to_string(linkState_);
  Publish();
  // A receive failure or a reset by a handler empties the buffer and ends the loop early.
  for (std::size_t i = 0; i < inputCount_; ++i) {
    FeedByte(inputBuffer_[i]);
    diagnostics_.linkState = std::to_string(linkState_);
    Publish();
  }
  inputCount_ = 0;
  if (linkError_ != 0) ShowLinkError();
}

void CableLink::ShowLinkError() {
  ShowStatus(linkError_ == 1 ? kSendFailure : kReceiveFailure);
  linkError_ = 0;
}

bool CableLink::StoreByte(uint8_t b) {
  if (frameCount_ >= frameBuffer_.size()) {
    Overflow();
    return false;
  }
  frameBuffer_[frameCount_++] = b;
  frameCheck_ ^= b;
  return true;
}

void CableLink::Overflow() {
  StopAllTimers();
  inputCount_ = 0;
  linkState_ = link::kIdle;
  linkError_ = 2;
}

void CableLink::FeedByte(uint8_t b) {
  switch (linkState_) {
    case link::kIdle:
      timers_.KillTimer(timer::kFrameGap);
      if (b == kENQ) {
        SendControlByte(answerByte_);
      } else if (b == kDLE) {
        timers_.SetTimer(timer::kFrameGap, timer::kFrameGapMs);
        answerByte_ = kNAK;
        linkState_ = link::kStartDle;
      } else {
        answerByte_ = kNAK;
      }
      break;
    case link::kStartDle:
      if (b == kSTX) {
        linkState_ = link::kData;
        timers_.SetTimer(timer::kFrameGap, timer::kFrameGapMs);
        frameCheck_ = 0;
        frameStartCount_ = frameCount_;
      } else {
        linkState_ = link::kIdle;
      }
      break;
    case link::kData:
      if (b == kDLE) {
        linkState_ = link::kDataDle;
      } else if (StoreByte(b)) {
        timers_.SetTimer(timer::kFrameGap, timer::kFrameGapMs);
      }
      break;
    case link::kDataDle:
      if (b == kETX) {
        linkState_ = link::kCheck;
        timers_.SetTimer(timer::kFrameGap, timer::kFrameGapMs);
      } else if (StoreByte(b)) {
        linkState_ = link::kData;
      }
      break;
    case link::kAwaitAnswer:
      if (b == kACK) {
        timers_.KillTimer(timer::kReplyAnswer);
        linkState_ = link::kIdle;
      } else if (b == kNAK) {
        timers_.KillTimer(timer::kReplyAnswer);
        if (retriesLeft_ > 0) {
          --retriesLeft_;
          TransmitSendBuffer();
        } else {
          linkError_ = 1;
          linkState_ = link::kIdle;
        }
      }
      break;
    case link::kSending:
      break;
    case link::kCheck:
      timers_.KillTimer(timer::kFrameGap);
      timers_.SetTimer(timer::kEnqWindow, timer::kEnqWindowMs);
      if (b == frameCheck_) {
        answerByte_ = kACK;
        SendControlByte(kACK);
        linkState_ = link::kIdle;
        HandleFrame();
      } else {
        // The damaged frame is dropped; the timer sends it again.
        frameCount_ = frameStartCount_;
        SendControlByte(kNAK);
        linkState_ = link::kIdle;
      }
      break;
  }
}

// ---- sending

void CableLink::SendControlByte(uint8_t b) {
  ++sendRequests_;
  diagnostics_.sendRequests = std::to_string(sendRequests_);
  diagnostics_.linkState = std::to_string(linkState_);
  Publish();
  serial_.OutputText(b == 0 ? std::string() : Letter(b));
  singleByteSent_ = true;
  AfterTransmission();
}

void CableLink::SendFrame(std::span<const uint8_t> data) {
  sendLength_ = BuildFrame(data, sendBuffer_.data(), sendBuffer_.size());
  retriesLeft_ = 2;
  TransmitSendBuffer();
}

void CableLink::TransmitSendBuffer() {
  ++sendRequests_;
  diagnostics_.sendRequests = std::to_string(sendRequests_);
  diagnostics_.linkState = std::to_string(linkState_);
  Publish();
  singleByteSent_ = false;
  linkState_ = link::kSending;
  serial_.SetOutBufferCount(0);
  serial_.OutputBytes(std::span<const uint8_t>(sendBuffer_.data(), sendLength_));
  AfterTransmission();
}

void CableLink::AfterTransmission() {
  if (singleByteSent_) timers_.SetTimer(timer::kReplyAnswer, timer::kReplyAnswerMs);
  if (linkState_ == link::kSending) {
    linkState_ = link::kAwaitAnswer;
    timers_.SetTimer(timer::kReplyAnswer, timer::kReplyAnswerMs);
  }
  ++sendCompletions_;
  diagnostics_.sendCompletions = std::to_string(sendCompletions_);
  Publish();
}

// ---- frames

void CableLink::HandleFrame() {
  const std::size_t length = frameCount_ - frameStartCount_;
  if (length == 0 || transferMode_ == transfer::kNone) return;
  const std::span<const uint8_t> data(frameBuffer_.data() + frameStartCount_, length);
  commandLetter_ = data[0];
  switch (commandLetter_) {
    case 'Q':
      HandleQuery(data);
      break;
    case 'O':
      HandleOpen(data);
      break;
    case 'R':
      HandleRead(data);
      break;
    case 'W':
      HandleWrite(data);
      break;
    case 'C':
      HandleClose();
      break;
    case 'E':
      HandleEnd(data);
      break;
    case 'M':
      HandleMode(data);
      break;
    default:
      break;
  }
  // Frames with no handler are dropped too, or they would fill the buffer.
  frameCount_ = 0;
  frameStartCount_ = 0;
  Publish();
}

void CableLink::Reply(uint8_t letter, uint8_t status) {
  statusLetter_ = status;
  diagnostics_.command = Letter(commandLetter_);
  diagnostics_.status = Letter(status);
  const uint8_t reply[] = {letter, status};
  SendFrame(reply);
}

void CableLink::HandleQuery(std::span<const uint8_t> data) {
  const auto nul = std::find(data.begin(), data.end(), uint8_t{0});
  const std::string_view text(reinterpret_cast<const char*>(data.data()),
                              static_cast<std::size_t>(nul - data.begin()));
  const bool present = text.find(kDeviceName) != std::string_view::npos;
  if (deviceIdentified_) {
    if (present) Reply('Q', '0');
    return;
  }
  if (!present) {
    Reply('Q', '1');
    return;
  }
  deviceIdentified_ = true;
  Reply('Q', '0');
  if (searchPhase_ == search::kListening) SearchStep();
}

void CableLink::HandleOpen(std::span<const uint8_t> data) {
  if (!deviceIdentified_) return Reply('Z', '1');
  if (transferOpen_) return Reply('O', '1');
  imageOffset_ = 0;
  bytesTransferred_ = 0;
  openMode_ = data.size() > 1 ? data[1] : 0;
  const bool modeFits = (openMode_ == 'R' && transferMode_ == transfer::kWrite) ||
                        (openMode_ == 'W' && transferMode_ == transfer::kRead);
  if (!modeFits) return Reply('O', '2');
  uint8_t status = '0';
  if (openMode_ == 'R') {
    observer_.ReportProgress(progress::kCommunicating, "");
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
  if (status == '0') transferOpen_ = true;
  Reply('O', status);
  diagnostics_.statusLine.clear();
  observer_.ReportProgress(progress::kConnected, "");
}

void CableLink::HandleRead(std::span<const uint8_t> data) {
  if (!deviceIdentified_) return Reply('Z', '1');
  if (transferMode_ != transfer::kWrite || openMode_ != 'R' || !transferOpen_ || data.size() < 3 ||
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
  if (WireSize(packet) > sendBuffer_.size()) {
    // Refused requests leave the file where it was, so a smaller request gets the same bytes.
    sourceFile_->Seek(static_cast<std::size_t>(imageOffset_));
    return Reply('R', '1');
  }
  imageOffset_ += static_cast<int>(*got);
  bytesTransferred_ += static_cast<int>(*got);
  statusLetter_ = '0';
  diagnostics_.command = 'R';
  diagnostics_.status = '0';
  SendFrame(packet);
  diagnostics_.byteCount = std::to_string(bytesTransferred_);
  observer_.ReportProgress(progress::kConnected, "");
}

void CableLink::HandleWrite(std::span<const uint8_t> data) {
  if (!deviceIdentified_) return Reply('Z', '1');
  if (transferMode_ != transfer::kRead || openMode_ != 'W' || !transferOpen_ || data.size() < 3) {
    return Reply('W', '1');
  }
  const std::size_t count = data[1] * 256u + data[2];
  // A frame that announces more than it carries would otherwise store bytes it never had.
  if (count > data.size() - 3) return Reply('W', '1');
  if (imageOffset_ >= 0) {
    document_.PutImageBytes(data.data() + 3, count, static_cast<std::size_t>(imageOffset_));
  }
  imageOffset_ += static_cast<int>(count);
  bytesTransferred_ += static_cast<int>(count);
  Reply('W', '0');
  diagnostics_.byteCount = std::to_string(bytesTransferred_);
  observer_.ReportProgress(progress::kConnected, "");
}

void CableLink::HandleClose() {
  if (!deviceIdentified_) return Reply('Z', '1');
  uint8_t status;
  if (transferMode_ == transfer::kWrite) {
    status = !transferOpen_ ? '2' : CloseSourceFile() ? '0' : '1';
  } else {
    status = transferOpen_ ? '0' : '1';
  }
  transferOpen_ = false;
  Reply('C', status);
  ResetLink();
  observer_.ReportProgress(progress::kConnected, "");
}

void CableLink::HandleEnd(std::span<const uint8_t> data) {
  if (!deviceIdentified_) return Reply('Z', '1');
  const uint8_t result = data.size() > 1 ? data[1] : 0;
  Reply('E', result == '0' || result == '1' ? '0' : '1');
  transferSucceeded_ = result == '0' && bytesTransferred_ == static_cast<int>(layout::kImageSize);
  failureDetail_ = result == '0' && !transferSucceeded_ ? kLengthError : "";
  timers_.SetTimer(timer::kFinish, timer::kFinishMs);
  // Later frames are answered 'Z' '1' until the transfer is finished.
  ResetSearch();
}

void CableLink::HandleMode(std::span<const uint8_t> data) {
  const uint8_t x = data.size() > 1 ? data[1] : 0;
  const uint8_t y = data.size() > 2 ? data[2] : 0;
  const uint8_t status = x == 'A' && y == 'C' ? '0' : '2';
  openMode_ = x;
  statusLetter_ = status;
  diagnostics_.command = 'M';
  diagnostics_.status = Letter(status);
  const uint8_t reply[] = {'M', 'A', status};
  SendFrame(reply);
}

// ---- finishing and cancelling

void CableLink::FinishTransfer() {
  timers_.KillTimer(timer::kFinish);
  CloseLink(true);
  ResetSearch();
  if (transferMode_ == transfer::kRead) {
    if (transferSucceeded_) {
      document_.RefreshFromDocument();
      document_.InitImage();
      document_.SetModified(true);
      observer_.ReportProgress(progress::kSucceeded, "");
    } else {
      document_.NewDocument();
      document_.RefreshFromDocument();
      observer_.ReportProgress(progress::kFailed, failureDetail_);
    }
    document_.UpdateTitle();
  } else if (transferMode_ == transfer::kWrite) {
    observer_.ReportProgress(transferSucceeded_ ? progress::kSucceeded : progress::kFailed,
                             transferSucceeded_ ? "" : failureDetail_);
  }
}

void CableLink::BeginTransfer(int mode) {
  transferMode_ = mode;
  transferSucceeded_ = false;
  failureDetail_.clear();
  transferOpen_ = false;
}

void CableLink::EndTransfer(int dialogState) {
  if (dialogState == 0) {
    searchExpired_ = true;
    timers_.KillTimer(timer::kSearchLimit);
    timers_.KillTimer(timer::kPortListen);
    if (serial_.PortOpen()) serial_.SetPortOpen(false);
    ResetSearch();
  } else if (dialogState == 1 || dialogState == 3) {
    if (serial_.PortOpen()) serial_.SetPortOpen(false);
    if (transferMode_ == transfer::kRead) {
      document_.NewDocument();
      document_.RefreshFromDocument();
    }
  }
  CloseLink(true);
  transferMode_ = transfer::kNone;
  transferOpen_ = false;
}

// ---- port search

void CableLink::ResetSearch() {
  searchPort_ = 1;
  searchPhase_ = search::kStart;
  deviceIdentified_ = false;
  searchExpired_ = false;
  portWaitExpired_ = false;
}

bool CableLink::CountPorts() {
  if (serial_.PortOpen()) serial_.SetPortOpen(false);
  ResetSearch();
  int found = 0;
  for (int port = 1; port <= kPortCount; ++port) {
    if (TryPort(port)) ++found;
  }
  return found > 0;
}

void CableLink::StartSearch() {
  ResetSearch();
  SearchStep();
}

void CableLink::AdvancePort() { searchPort_ = searchPort_ % kPortCount + 1; }

void CableLink::EndSearch() {
  timers_.KillTimer(timer::kPortListen);
  searchPhase_ = search::kEnded;
  observer_.ConnectionChanged();
}

void CableLink::SearchStep() {
  switch (searchPhase_) {
    case search::kStart:
      ResetSearch();
      timers_.SetTimer(timer::kSearchLimit, timer::kSearchLimitMs);
      ScanPorts();
      break;
    case search::kScanning:
      ScanPorts();
      break;
    case search::kListening:
      if (deviceIdentified_) {
        timers_.KillTimer(timer::kSearchLimit);
        timers_.KillTimer(timer::kPortListen);
        searchPhase_ = search::kEnded;
        observer_.ConnectionChanged();
        return;
      }
      if (serial_.PortOpen()) serial_.SetPortOpen(false);
      if (searchExpired_) return EndSearch();
      if (portWaitExpired_) {
        portWaitExpired_ = false;
        AdvancePort();
        ScanPorts();
      }
      break;
    default:
      break;
  }
}

void CableLink::ScanPorts() {
  searchPhase_ = search::kScanning;
  for (int tried = 0;; ++tried) {
    if (searchExpired_) return EndSearch();
    if (tried == kPortCount) {
      // Every port refused: end as the time limit would, rather than spin here for ever.
      searchExpired_ = true;
      timers_.KillTimer(timer::kSearchLimit);
      continue;
    }
    if (TryPort(searchPort_) && OpenLink()) {
      searchPhase_ = search::kListening;
      timers_.SetTimer(timer::kPortListen, timer::kPortListenMs);
      observer_.ConnectionChanged();
      return;
    }
    AdvancePort();
  }
}

// ---- timers

void CableLink::OnTimer(int id) {
  switch (id) {
    case timer::kFrameGap:
      if (linkState_ == link::kData || linkState_ == link::kDataDle || linkState_ == link::kCheck) {
        frameCount_ = frameStartCount_;
        linkState_ = link::kIdle;
      } else if (linkState_ == link::kStartDle) {
        linkState_ = link::kIdle;
      }
      break;
    case timer::kReplyAnswer:
      timers_.KillTimer(timer::kReplyAnswer);
      if (linkState_ == link::kAwaitAnswer) {
        if (retriesLeft_ > 0) {
          --retriesLeft_;
          SendControlByte(kENQ);
        } else {
          linkError_ = 1;
          ShowLinkError();
          linkState_ = link::kIdle;
        }
      }
      break;
    case timer::kEnqWindow:
      timers_.KillTimer(timer::kEnqWindow);
      if (linkState_ == link::kIdle) answerByte_ = kNAK;
      break;
    case timer::kSearchLimit:
      timers_.KillTimer(timer::kSearchLimit);
      searchExpired_ = true;
      SearchStep();
      break;
    case timer::kPortListen:
      timers_.KillTimer(timer::kPortListen);
      portWaitExpired_ = true;
      SearchStep();
      break;
    case timer::kFinish:
      FinishTransfer();
      break;
    default:
      return;
  }
  diagnostics_.linkState = std::to_string(linkState_);
  Publish();
}

// ---- diagnostics

void CableLink::ShowStatus(const std::string& text) {
  diagnostics_.statusLine = text;
  Publish();
}

void CableLink::ClearDiagnostics() {
  diagnostics_ = LinkDiagnostics{};
  receiveEvents_ = 0;
  sendRequests_ = 0;
  sendCompletions_ = 0;
  observer_.DiagnosticsChanged(diagnostics_);
}

void CableLink::Publish() {
  diagnostics_.response = answerByte_ == kACK   ? "ACK"
                          : answerByte_ == kNAK ? "NAK"
                          : answerByte_ == kENQ ? "ENQ"
                                                : "";
  observer_.DiagnosticsChanged(diagnostics_);
}

}  // namespace tavrin
