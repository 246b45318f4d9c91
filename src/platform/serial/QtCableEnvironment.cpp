#include "platform/serial/QtCableEnvironment.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>

#include "platform/serial/SystemPorts.h"
#include "transfer/Interrupts.h"

namespace tavrin {
namespace {

int appArgc = 1;
char appName[] = "tavrin-cli";
char* appArgv[] = {appName, nullptr};

}  // namespace

QtCableEnvironment::QtCableEnvironment() {
  if (!QCoreApplication::instance()) {
    ownApp_ = std::make_unique<QCoreApplication>(appArgc, appArgv);
  }
  serial_ = std::make_unique<CMSComm>();
  timers_ = std::make_unique<QtWindowTimers>([this](LinkTimer id) {
    if (onTimer_) onTimer_(id);
  });
  QObject::connect(serial_.get(), &CMSComm::Comm, [this] {
    if (onComm_) onComm_();
  });
  // The command's signal handlers wake the loop through this descriptor while it runs.
  const int wake = InterruptWakeFd();
  if (wake >= 0) {
    interrupts_ = std::make_unique<QSocketNotifier>(wake, QSocketNotifier::Read);
    QObject::connect(interrupts_.get(), &QSocketNotifier::activated, [this, wake] {
      char bytes[16];
      while (::read(wake, bytes, sizeof bytes) > 0) {
      }
      if (onInterrupt_) onInterrupt_();
    });
  }
}

QtCableEnvironment::~QtCableEnvironment() {
  interrupts_.reset();
  timers_.reset();
  serial_.reset();
}

void QtCableEnvironment::SetPortPaths(const std::vector<std::string>& paths) {
  serial_->SetPortPaths(paths);
}

std::vector<std::string> QtCableEnvironment::SystemPortPaths() { return tavrin::SystemPortPaths(); }

void QtCableEnvironment::SetHandlers(std::function<void()> onComm,
                                     std::function<void(LinkTimer)> onTimer,
                                     std::function<void()> onInterrupt) {
  onComm_ = std::move(onComm);
  onTimer_ = std::move(onTimer);
  onInterrupt_ = std::move(onInterrupt);
}

void QtCableEnvironment::Run() {
  quit_ = false;
  // A local loop: Quit may come before the loop runs, from inside the search's first step.
  QEventLoop loop;
  while (!quit_) loop.processEvents(QEventLoop::WaitForMoreEvents);
}

void QtCableEnvironment::Quit() { quit_ = true; }

}  // namespace tavrin
