// Fakes and helpers shared by the desktop program's tests: recorded message boxes with scripted
// answers, scripted file dialogs, and a watcher that answers the next modal window.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/ProfileStore.h"
#include "model/FileDialogs.h"
#include "model/Messages.h"

namespace tavrin::shelltest {

struct ShownMessage {
  std::string text;
  std::string caption;
  MsgButtons buttons;
  MsgIcon icon;
};

// Notices (OK only) are answered IDOK; questions take the next scripted answer, IDCANCEL when
// none is left.
class FakeMessages : public MessageSink {
 public:
  int Show(const std::string& text, const std::string& caption, MsgButtons buttons,
           MsgIcon icon) override {
    shown.push_back({text, caption, buttons, icon});
    if (buttons == MsgButtons::Ok) return IDOK;
    if (answers.empty()) return IDCANCEL;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::vector<ShownMessage> shown;
  std::deque<int> answers;
};

class FakeFileDialogs : public FileDialogs {
 public:
  std::optional<std::string> Run(const FileDialogRequest& request) override {
    requests.push_back(request);
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::vector<FileDialogRequest> requests;
  std::deque<std::optional<std::string>> answers;
};

// Runs `answer` on the next modal window that opens, once. Gives up after `limitMs` so that a
// window that never opens cannot stall the test; a window that opens must be closed by `answer`.
inline void AnswerNextModal(std::function<void(QWidget*)> answer, int limitMs = 5000) {
  auto* timer = new QTimer(qApp);
  auto* waited = new int(0);
  QObject::connect(timer, &QTimer::timeout, qApp, [timer, waited, answer, limitMs] {
    *waited += 20;
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr && *waited < limitMs) return;
    timer->stop();
    timer->deleteLater();
    delete waited;
    if (modal != nullptr) answer(modal);
  });
  timer->start(20);
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

}  // namespace tavrin::shelltest
