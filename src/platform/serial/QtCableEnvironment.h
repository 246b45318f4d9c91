// The cable commands' event loop for tavrin-cli: a QCoreApplication, the serial control, the
// window timers, and Ctrl+C (or a termination request) that reaches the loop turned into the
// dialog's cancel.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

#include "platform/serial/CMSComm.h"
#include "platform/serial/QtWindowTimers.h"
#include "transfer/CableEnvironment.h"

class QCoreApplication;

namespace tavrin {

class QtCableEnvironment : public CableEnvironment {
 public:
  QtCableEnvironment();
  ~QtCableEnvironment() override;

  SerialTransport& Serial() override { return *serial_; }
  WindowTimers& Timers() override { return *timers_; }
  void SetPortPaths(const std::vector<std::string>& paths) override;
  std::vector<std::string> SystemPortPaths() override;
  void SetHandlers(std::function<void()> onComm, std::function<void(LinkTimer)> onTimer,
                   std::function<void()> onInterrupt) override;
  void Run() override;
  void Quit() override;

 private:
  std::unique_ptr<QCoreApplication> ownApp_;
  std::unique_ptr<CMSComm> serial_;
  std::unique_ptr<QtWindowTimers> timers_;
  std::unique_ptr<QSocketNotifier> interrupts_;
  std::function<void()> onComm_;
  std::function<void(LinkTimer)> onTimer_;
  std::function<void()> onInterrupt_;
  bool quit_ = false;
};

}  // namespace tavrin
