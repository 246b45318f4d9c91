// Follows the link as a cable dialog does: the dialog's state (waiting, connected, succeeded,
// failed), its status text and the bytes carried so far. The cable dialogs and tavrin-cli show
// what it tells them.
#pragma once

#include <optional>
#include <string>

#include "transfer/CableLink.h"
#include "transfer/LinkObserver.h"
#include "transfer/TransferSession.h"

namespace tavrin {

class TransferDisplay {
 public:
  virtual ~TransferDisplay() = default;
  // The status text changed.
  virtual void ShowStatus(const std::string& text) = 0;
  // The port line changed: the port searched or in use. A display that lists the ports it
  // searches before the search starts may leave this alone.
  virtual void ShowPort(const std::string&) {}
  // The byte count of the transfer changed.
  virtual void ShowBytes(int bytes) = 0;
  // Nothing is left to wait for but the user's cancel: the transfer ended or no timer was found.
  virtual void Finished() = 0;
};

class TransferMonitor : public LinkObserver {
 public:
  explicit TransferMonitor(TransferDisplay& display) : display_(display) {}
  // The link this monitor observes; needed before its search starts.
  void Attach(const CableLink& link) { link_ = &link; }

  // Shows `text` unless it is already shown.
  void Show(const std::string& text);
  // The link's CountPorts found no port to search.
  void ShowNoPort();

  DialogState State() const { return state_; }
  // There was no port to search, or the search found no timer.
  bool SearchFailed() const { return searchFailed_; }
  // The failure detail of a transfer that ended in failure.
  const std::string& Detail() const { return detail_; }

  void ReportProgress(Progress kind, const std::string& text) override;
  void ConnectionChanged() override;
  void DiagnosticsChanged(const LinkDiagnostics& diagnostics) override;
  void Beep() override {}

 private:
  TransferDisplay& display_;
  const CableLink* link_ = nullptr;
  DialogState state_ = DialogState::NotConnected;
  bool searchFailed_ = false;
  std::string detail_;
  std::string status_;
  std::string port_;
  std::optional<int> bytes_;
};

}  // namespace tavrin
