// The serial diagnostics window: modeless, created once and hidden when closed. It shows the link's
// inner values and connects, disconnects, resets and clears the link.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <functional>

#include "transfer/LinkObserver.h"

namespace tavrin {

class CableLink;

class SerialDiagnosticsDialog : public QDialog {
  Q_OBJECT

 public:
  // `openSettings` runs the serial settings dialog and applies its choice to the link.
  SerialDiagnosticsDialog(CableLink& link, std::function<void()> openSettings,
                          QWidget* parent = nullptr);

  // Shows the window at (x, y) when it was hidden; a visible window stays where it is.
  void ShowAt(int x, int y);
  void ShowDiagnostics(const LinkDiagnostics& diagnostics);
  // The connect button's text and the line picture follow the port.
  void ShowLine();
  QLineEdit* field(int id) const { return fields_.value(id, nullptr); }
  // A cable dialog owns the link while its transfer runs: connect and reset wait for it.
  void SetTransferRunning(bool running);

 signals:
  // The window was closed (hidden) at this top-left corner.
  void Closed(QPoint position);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void Hide();

  CableLink& link_;
  QMap<int, QLineEdit*> fields_;
  QLabel* line_ = nullptr;
  QPushButton* connect_ = nullptr;
  QPushButton* reset_ = nullptr;
};

}  // namespace tavrin
