// The cable write and read dialogs: the instructions for the timer, the status of the search and
// the transfer with a progress bar in bytes, and the closing message. While one is open the view
// passes its link's reports to observer().
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "model/Messages.h"
#include "transfer/CableLink.h"
#include "transfer/TransferMonitor.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tavrin {

class CableTransferDialog : public QDialog, private TransferDisplay {
  Q_OBJECT

 public:
  // Called once the transfer has ended, before the closing message; what it returns (the
  // records that could not be kept) is added to the status.
  using EndedHandler = std::function<std::vector<std::string>(DialogState state)>;

  // The link has begun the transfer of `mode`; the dialog starts the search when it is shown.
  CableTransferDialog(CableLink& link, TransferMode mode, const std::string& settingsTitle,
                      MessageSink& messages, EndedHandler onEnded, QWidget* parent = nullptr);

  LinkObserver& observer() { return monitor_; }
  DialogState state() const { return monitor_.State(); }

  // The cancel button, Escape, the close box and the end of a transfer all close this way.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowStatus(const std::string& text) override;
  void ShowPort(const std::string& text) override;
  void ShowBytes(int bytes) override;
  void Finished() override;
  void StartConnection();
  void Conclude();

  CableLink& link_;
  TransferMode mode_;
  std::string settingsTitle_;
  MessageSink& messages_;
  EndedHandler onEnded_;
  TransferMonitor monitor_;
  QLabel* status_ = nullptr;
  QLabel* port_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPushButton* cancel_ = nullptr;
  bool started_ = false;
  bool closed_ = false;
};

}  // namespace tavrin
