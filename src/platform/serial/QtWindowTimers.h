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
  explicit QtWindowTimers(std::function<void(int)> onTimer, QObject* parent = nullptr)
      : QObject(parent), onTimer_(std::move(onTimer)) {}
  void SetTimer(int id, int intervalMs) override;
  void KillTimer(int id) override;
  bool IsRunning(int id) const;

 private:
  std::function<void(int)> onTimer_;
  std::map<int, std::unique_ptr<QTimer>> timers_;
};

}  // namespace tavrin
