#include "platform/serial/QtWindowTimers.h"

namespace tavrin {

void QtWindowTimers::SetTimer(LinkTimer id, int intervalMs) {
  auto& timer = timers_[id];
  if (!timer) {
    timer = std::make_unique<QTimer>();
    // The link's 200 ms frame gap must not drift by the coarse timer's 5 %.
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer.get(), &QTimer::timeout, this, [this, id] {
      if (onTimer_) onTimer_(id);
    });
  }
  timer->start(intervalMs);
}

void QtWindowTimers::KillTimer(LinkTimer id) {
  auto it = timers_.find(id);
  if (it != timers_.end()) it->second->stop();
}

bool QtWindowTimers::IsRunning(LinkTimer id) const {
  auto it = timers_.find(id);
  return it != timers_.end() && it->second->isActive();
}

}  // namespace tavrin
