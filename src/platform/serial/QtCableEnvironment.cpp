#include "platform/serial/QtCableEnvironment.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <csignal>

#include "platform/serial/SystemPorts.h"

namespace tavrin {
namespace {

// The write end of the pipe the signal handler wakes the event loop through.
int signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

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
  if (signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) {
    signalPipe[0] = signalPipe[1] = -1;
  }
  if (signalPipe[0] >= 0) {
    interrupts_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(interrupts_.get(), &QSocketNotifier::activated, [this] {
      char byte;
      [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &byte, 1);
      if (onInterrupt_) onInterrupt_();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
  }
}

QtCableEnvironment::~QtCableEnvironment() {
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
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
