// Window timers over QTimer: each id is one repeating timer; setting it again restarts it.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

#include "transfer/WindowTimers.h"

namespace tavrin {

class QtWindowTimers : public QObject, public WindowTimers {
  Q_OBJECT
 public:
  explicit QtWindowTimers(std::function<void(LinkTimer)> onTimer, QObject* parent = nullptr)
      : QObject(parent), onTimer_(std::move(onTimer)) {}
  void SetTimer(LinkTimer id, int intervalMs) override;
  void KillTimer(LinkTimer id) override;
  bool IsRunning(LinkTimer id) const;

 private:
  std::function<void(LinkTimer)> onTimer_;
  std::map<LinkTimer, std::unique_ptr<QTimer>> timers_;
};

}  // namespace tavrin
