#include "transfer/CableLink.h"

#include <algorithm>

#include "transfer/CableMessages.h"
#include "transfer/CommEvents.h"

namespace tavrin {

CableLink::CableLink(SerialControl& serial, WindowTimers& timers, CableDocument& document,
                     LinkObserver& observer, SourceOpener opener, PortRefresher refreshPorts)
    : serial_(serial),
      timers_(timers),
      observer_(observer),
      refreshPorts_(std::move(refreshPorts)),
      search_(*this, timers, observer),
      session_(*this, search_, timers, document, observer, diagnostics_, std::move(opener)) {
  InitSerialParameters(parameters_);
}

void CableLink::RefreshPorts() {
  if (refreshPorts_) portPaths_ = refreshPorts_();
}

std::string CableLink::PortName(int port) const {
  const auto index = static_cast<std::size_t>(port - 1);
  return tavrin::PortName(port, index < portPaths_.size() ? portPaths_[index] : std::string());
}

std::vector<std::string> CableLink::OpenablePortNames() const {
  std::vector<std::string> names;
  for (int port : search_.OpenablePorts()) names.push_back(PortName(port));
  return names;
}

std::vector<RefusedPort> CableLink::RefusedPorts() const {
  std::vector<RefusedPort> ports;
  for (const auto& [port, refusal] : search_.RefusedPorts()) {
    ports.push_back({PortName(port), refusal});
  }
  return ports;
}

void CableLink::ApplyProperties(int port) {
  serial_.SetDTREnable(true);
  serial_.SetRTSEnable(true);
  serial_.SetRThreshold(1);
  serial_.SetInBufferSize(static_cast<int>(kLinkBufferSize));
  serial_.SetInputLen(0);
  serial_.SetInputMode(1);
  serial_.SetSThreshold(1);
  serial_.SetOutBufferSize(static_cast<int>(kLinkBufferSize));
  serial_.SetSettings(parameters_.settingsText);
  serial_.SetHandshaking(0);
  serial_.SetCommPort(port);
}

PortRefusal CableLink::TryPort(int port) {
  ApplyProperties(port);
  if (!serial_.SetPortOpen(true)) {
    // A port that did not open must never count as one that did.
    PortRefusal refusal = serial_.OpenError();
    if (refusal.error == PortOpenError::None) refusal.error = PortOpenError::Other;
    return refusal;
  }
  serial_.SetPortOpen(false);
  return {};
}

void CableLink::ClosePort() { serial_.SetPortOpen(false); }

bool CableLink::OpenLink() { return Listen(search_.Port()); }

bool CableLink::Listen(int port) {
  ResetLink();
  if (serial_.PortOpen()) serial_.SetPortOpen(false);
  ApplyProperties(port);
  if (!serial_.SetPortOpen(true)) {
    ShowStatus(RefusalStatusLine(serial_.OpenError()));
    observer_.ConnectionChanged();
    return false;
  }
  serial_.SetInBufferCount(0);
  serial_.SetOutBufferCount(0);
  outgoing_ = Outgoing::None;
  ShowStatus({});
  observer_.ConnectionChanged();
  return true;
}

void CableLink::CloseLink(bool closePort) {
  StopAllTimers();
  session_.CloseSourceFile();
  if (closePort && serial_.PortOpen()) serial_.SetPortOpen(false);
  ResetLink();
  ClearDiagnostics();
  observer_.ConnectionChanged();
}

void CableLink::ResetLink() {
  diagnostics_.statusLine = {};
  inputCount_ = 0;
  reader_.Clear();
  singleByteSent_ = false;
  linkError_ = LinkError::None;
  // The search's own timers stay: a search opens each port through this reset, and stopping
  // them here would take away its 30-second limit. The silence limit stays for the same reason.
  StopLinkTimers();
  timers_.KillTimer(LinkTimer::Finish);
}

void CableLink::StopLinkTimers() {
  timers_.KillTimer(LinkTimer::FrameGap);
  timers_.KillTimer(LinkTimer::ReplyAnswer);
  timers_.KillTimer(LinkTimer::EnqWindow);
}

void CableLink::StopAllTimers() {
  for (LinkTimer id : kAllLinkTimers) timers_.KillTimer(id);
}

bool CableLink::CountPorts() {
  RefreshPorts();
  return search_.CountPorts();
}

void CableLink::EndTransfer(DialogState state) {
  if (state == DialogState::NotConnected) {
    search_.Cancel();
  } else if (state != DialogState::Succeeded && serial_.PortOpen()) {
    serial_.SetPortOpen(false);
  }
  session_.End(state);
  CloseLink(true);
}

LinkState CableLink::State() const {
  if (outgoing_ == Outgoing::Handing) return LinkState::Sending;
  if (outgoing_ == Outgoing::AwaitingAnswer) return LinkState::AwaitAnswer;
  switch (reader_.state()) {
    case FrameReader::State::Idle:
      return LinkState::Idle;
    case FrameReader::State::Start:
      return LinkState::StartDle;
    case FrameReader::State::Data:
      return LinkState::Data;
    case FrameReader::State::DataDle:
      return LinkState::DataDle;
    case FrameReader::State::Check:
      return LinkState::Check;
  }
  return LinkState::Idle;
}

// ---- receiving

void CableLink::OnComm() {
  const CommEventCode event = serial_.CommEvent();
  const auto text = DescribeCommEvent(event);
  if (!text) return;
  const bool lineFailed = event == CommEventCode::Receive && Receive(serial_.Input());
  if (text->error) observer_.Beep();
  // The control closes a port whose device went away, an adapter pulled out.
  if (text->error && !serial_.PortOpen()) session_.FailIfConnected(LineFailure());
  if (event == CommEventCode::Send && singleByteSent_) return;
  // The failure these bytes caused says more than that they arrived.
  if (!lineFailed) ShowStatus(text->text);
}

void CableLink::OnReceive(std::span<const uint8_t> bytes) { Receive(bytes); }

bool CableLink::Receive(std::span<const uint8_t> bytes) {
  if (inputCount_ + bytes.size() <= inputBuffer_.size()) {
    std::copy(bytes.begin(), bytes.end(), inputBuffer_.begin() + inputCount_);
    inputCount_ += bytes.size();
  }
  diagnostics_.receiveEvents = ++receiveEvents_;
  diagnostics_.receiveBytes = static_cast<long>(bytes.size());
  diagnostics_.linkState = State();
  Publish();
  // A receive failure or a reset by a handler empties the buffer and ends the loop early.
  for (std::size_t i = 0; i < inputCount_; ++i) {
    FeedByte(inputBuffer_[i]);
    diagnostics_.linkState = State();
    Publish();
  }
  inputCount_ = 0;
  return AfterEvent();
}

void CableLink::FeedByte(uint8_t b) {
  if (outgoing_ == Outgoing::AwaitingAnswer) return FeedAnswer(b);
  if (outgoing_ == Outgoing::Handing) return;
  const bool idle = reader_.state() == FrameReader::State::Idle;
  if (idle) timers_.KillTimer(LinkTimer::FrameGap);
  switch (reader_.Feed(b)) {
    case FrameReader::Event::None:
      break;
    case FrameReader::Event::Control:
      if (b == kENQ) {
        SendControlByte(answerByte_);
      } else {
        answerByte_ = kNAK;
      }
      break;
    case FrameReader::Event::Progress:
      timers_.Start(LinkTimer::FrameGap);
      if (idle) answerByte_ = kNAK;
      break;
    case FrameReader::Event::Overflow:
      Overflow();
      break;
    case FrameReader::Event::Frame:
      timers_.KillTimer(LinkTimer::FrameGap);
      timers_.Start(LinkTimer::EnqWindow);
      answerByte_ = kACK;
      SendControlByte(kACK);
      HandleFrame();
      break;
    case FrameReader::Event::BadCheck:
      // The damaged frame is dropped; the timer sends it again.
      timers_.KillTimer(LinkTimer::FrameGap);
      timers_.Start(LinkTimer::EnqWindow);
      SendControlByte(kNAK);
      break;
  }
}

void CableLink::FeedAnswer(uint8_t b) {
  if (b != kACK && b != kNAK) return;
  timers_.KillTimer(LinkTimer::ReplyAnswer);
  if (b == kNAK && retriesLeft_ > 0) {
    --retriesLeft_;
    return TransmitSendBuffer();
  }
  if (b == kNAK) linkError_ = LinkError::Send;
  outgoing_ = Outgoing::None;
}

void CableLink::Overflow() {
  // Only the frame timers stop. The search's limit, the finish and the silence limit must still
  // come, or a flood of data would leave the dialog waiting for ever.
  StopLinkTimers();
  inputCount_ = 0;
  linkError_ = LinkError::Receive;
}

// ---- sending

void CableLink::SendControlByte(uint8_t b) {
  diagnostics_.sendRequests = ++sendRequests_;
  diagnostics_.linkState = State();
  Publish();
  const Result<> written = serial_.OutputText(b == 0 ? std::string() : std::string(1, char(b)));
  singleByteSent_ = true;
  AfterTransmission(written);
}

void CableLink::SendFrame(std::span<const uint8_t> data) {
  sendLength_ = BuildFrame(data, sendBuffer_.data(), sendBuffer_.size());
  retriesLeft_ = 2;
  TransmitSendBuffer();
}

void CableLink::TransmitSendBuffer() {
  diagnostics_.sendRequests = ++sendRequests_;
  diagnostics_.linkState = State();
  Publish();
  singleByteSent_ = false;
  outgoing_ = Outgoing::Handing;
  serial_.SetOutBufferCount(0);
  AfterTransmission(serial_.OutputBytes(std::span<const uint8_t>(sendBuffer_.data(), sendLength_)));
}

void CableLink::AfterTransmission(const Result<>& written) {
  if (singleByteSent_) timers_.Start(LinkTimer::ReplyAnswer);
  if (outgoing_ == Outgoing::Handing) {
    outgoing_ = Outgoing::AwaitingAnswer;
    timers_.Start(LinkTimer::ReplyAnswer);
  }
  if (!written) {
    // Nothing more will come of this line; the event that sent ends the transfer.
    writeFailed_ = true;
    linkError_ = LinkError::Send;
    return;
  }
  diagnostics_.sendCompletions = ++sendCompletions_;
  Publish();
}

// ---- frames

void CableLink::HandleFrame() {
  const std::span<const uint8_t> data = reader_.Data();
  if (data.empty() || session_.Mode() == TransferMode::None) return;
  session_.HandleFrame(data);
  // Frames with no handler are dropped too, or they would fill the buffer.
  reader_.Clear();
  Publish();
}

// ---- timers

void CableLink::OnTimer(LinkTimer id) {
  switch (id) {
    case LinkTimer::FrameGap:
      reader_.DropPartial();
      break;
    case LinkTimer::ReplyAnswer:
      timers_.KillTimer(id);
      if (outgoing_ == Outgoing::AwaitingAnswer) {
        if (retriesLeft_ > 0) {
          --retriesLeft_;
          SendControlByte(kENQ);
        } else {
          linkError_ = LinkError::Send;
          outgoing_ = Outgoing::None;
        }
      }
      break;
    case LinkTimer::EnqWindow:
      timers_.KillTimer(id);
      if (State() == LinkState::Idle) answerByte_ = kNAK;
      break;
    case LinkTimer::SearchLimit:
    case LinkTimer::PortListen:
      search_.OnTimer(id);
      break;
    case LinkTimer::Finish:
    case LinkTimer::NoProgress:
      session_.OnTimer(id);
      break;
  }
  diagnostics_.linkState = State();
  Publish();
  AfterEvent();
}

bool CableLink::AfterEvent() {
  const bool failed = linkError_ != LinkError::None;
  if (failed) {
    ShowStatus(linkError_ == LinkError::Send ? kSendFailure : kReceiveFailure);
    linkError_ = LinkError::None;
  }
  if (writeFailed_) {
    writeFailed_ = false;
    session_.FailIfConnected(LineFailure());
  }
  return failed;
}

std::string CableLink::LineFailure() const {
  return serial_.PortOpen() ? kSendFailure : PortGoneText(PortName(search_.Port()));
}

// ---- diagnostics

void CableLink::ShowStatus(std::string_view text) {
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
  diagnostics_.answerByte = answerByte_;
  observer_.DiagnosticsChanged(diagnostics_);
}

}  // namespace tavrin
