// Hands the keyboard back to the window below when one of the program's windows closes. A window
// manager does that; without one (a bare X server, a kiosk session) nobody does, and the keys
// meant for the window below (the Escape that closes the sheet under a closed calendar) go to
// whatever window lies under the mouse, or nowhere.
#pragma once

#include <QObject>

namespace tavrin {

class ActivationKeeper : public QObject {
 public:
  // Watches every window of the application from now on.
  explicit ActivationKeeper(QObject* parent = nullptr);
  ~ActivationKeeper() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace tavrin
