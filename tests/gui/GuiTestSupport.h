// Helpers shared by the desktop tests: answering modal windows without hanging, recording
// messages, and typing Japanese text.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "model/Messages.h"

namespace tavrin::testing {

// Runs `answer` on the modal window as soon as one is up. If none comes within `timeoutMs`, or
// the same window is still up long after the answer, the test fails and the window is rejected,
// so a broken test ends instead of hanging.
inline void WhenModal(std::function<void(QWidget*)> answer, int timeoutMs = 5000) {
  auto* poll = new QTimer(qApp);
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, [poll, clock, answer, timeoutMs] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) {
      if (clock->elapsed() < timeoutMs) return;
      ADD_FAILURE() << "no modal window appeared";
      poll->deleteLater();
      poll->stop();
      return;
    }
    poll->stop();
    poll->deleteLater();
    QPointer<QWidget> answered = modal;
    answer(modal);
    QTimer::singleShot(timeoutMs, qApp, [answered] {
      if (answered && answered->isVisible() && answered == QApplication::activeModalWidget()) {
        ADD_FAILURE() << "modal window left open";
        if (auto* dialog = qobject_cast<QDialog*>(answered.data())) dialog->reject();
      }
    });
  });
  poll->start();
}

struct ShownMessage {
  std::string text;
  std::string caption;
  MsgButtons buttons;
  MsgIcon icon;
};

class RecordingSink : public MessageSink {
 public:
  int Show(const std::string& text, const std::string& caption, MsgButtons buttons,
           MsgIcon icon) override {
    shown.push_back({text, caption, buttons, icon});
    return IDOK;
  }
  std::vector<ShownMessage> shown;
};

// Text as an input method commits it; QTest's key clicks cannot carry Japanese.
inline void CommitText(QWidget* target, const QString& text) {
  QInputMethodEvent event;
  event.setCommitString(text);
  QApplication::sendEvent(target, &event);
}

}  // namespace tavrin::testing
