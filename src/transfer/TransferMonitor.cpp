#include "transfer/TransferMonitor.h"

#include "transfer/CableMessages.h"

namespace tavrin {

void TransferMonitor::Show(const std::string& text) {
  if (text == status_) return;
  status_ = text;
  display_.ShowStatus(text);
}

void TransferMonitor::ShowNoPort() {
  // As after a search in vain: the link's closing must not bring back "接続待ち".
  searchFailed_ = true;
  Show(NoPortStatusText(link_ != nullptr ? link_->RefusedPorts() : std::vector<RefusedPort>{}));
}

void TransferMonitor::ReportProgress(Progress kind, const std::string& text) {
  if (state_ == DialogState::Succeeded || state_ == DialogState::Failed) return;
  if (kind == Progress::Communicating || kind == Progress::Connected) {
    if (kind == Progress::Connected) state_ = DialogState::Connected;
    Show(status_text::kCommunicating);
    return;
  }
  const bool succeeded = kind == Progress::Succeeded;
  state_ = succeeded ? DialogState::Succeeded : DialogState::Failed;
  detail_ = text;
  // "通信完了" promises the transfer ended well; a failure never passes through it.
  Show(succeeded ? status_text::kDone : status_text::kFailed);
  display_.Finished();
}

void TransferMonitor::ConnectionChanged() {
  if (state_ != DialogState::NotConnected || searchFailed_ || link_ == nullptr) return;
  const SearchPhase phase = link_->Phase();
  const bool identified = link_->DeviceIdentified();
  Show(SearchStatusText(phase, identified, link_->RefusedPorts()));
  const std::string port =
      PortLineText(phase, identified, link_->PortName(link_->Port()), link_->OpenablePortNames());
  // Between two ports the line keeps the last one.
  if (!port.empty() && port != port_) {
    port_ = port;
    display_.ShowPort(port);
  }
  if (phase != SearchPhase::Ended) return;
  if (identified) {
    state_ = DialogState::Connected;
  } else {
    searchFailed_ = true;
    display_.Finished();
  }
}

void TransferMonitor::DiagnosticsChanged(const LinkDiagnostics& diagnostics) {
  if (!diagnostics.byteCount || diagnostics.byteCount == bytes_) return;
  bytes_ = diagnostics.byteCount;
  display_.ShowBytes(*bytes_);
}

}  // namespace tavrin
