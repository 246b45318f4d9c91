// Helpers shared by the desktop tests: answering modal windows without hanging, typing Japanese
// text, and a private data folder.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QInputMethodEvent>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

#include "TestFakes.h"

namespace tavrin::testing {

// What a modal watcher does when no window opens in time: a test that expects one fails; a test
// that probes whether one opens just goes on.
enum class IfNoModal { Fail, Ignore };

// Runs `answer` on the modal window as soon as one is up. If none comes within `timeoutMs`, or
// the same window is still up long after the answer, the test fails and the window is rejected,
// so a broken test ends instead of hanging.
inline void WhenModal(std::function<void(QWidget*)> answer, int timeoutMs = 5000,
                      IfNoModal ifNone = IfNoModal::Fail) {
  auto* poll = new QTimer(qApp);
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, [poll, clock, answer, timeoutMs, ifNone] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) {
      if (clock->elapsed() < timeoutMs) return;
      if (ifNone == IfNoModal::Fail) ADD_FAILURE() << "no modal window appeared";
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
        // done(), not reject(): a window whose Cancel asks first would ask again, unanswered.
        if (auto* dialog = qobject_cast<QDialog*>(answered.data())) dialog->done(QDialog::Rejected);
      }
    });
  });
  poll->start();
}

// Text as an input method commits it; QTest's key clicks cannot carry Japanese. An input method
// writes only into a widget that says it takes its text (a read-only field does not).
inline void CommitText(QWidget* target, const QString& text) {
  QInputMethodQueryEvent query(Qt::ImEnabled);
  QApplication::sendEvent(target, &query);
  if (!query.value(Qt::ImEnabled).toBool()) return;
  QInputMethodEvent event;
  event.setCommitString(text);
  QApplication::sendEvent(target, &event);
}

// A private data folder for one test: TAVRIN_DATA_DIR points at it while the object lives.
class ScopedDataFolder {
 public:
  ScopedDataFolder() : previous_(qgetenv("TAVRIN_DATA_DIR")) {
    qputenv("TAVRIN_DATA_DIR", dir_.path().toUtf8());
  }
  ~ScopedDataFolder() { qputenv("TAVRIN_DATA_DIR", previous_); }
  QString path() const { return dir_.path(); }
  QString file(const QString& name) const { return dir_.filePath(name); }
  void Write(const QString& name, const QByteArray& bytes) const {
    QFile file(dir_.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
  }

 private:
  QTemporaryDir dir_;
  QByteArray previous_;
};

}  // namespace tavrin::testing
