// Scripted stand-ins for the user, shared by the core and desktop tests: recorded message boxes
// with scripted answers and scripted file dialogs.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "document/FileDialogs.h"
#include "model/Messages.h"

namespace tavrin::testing {

struct ShownMessage {
  std::string text;
  std::string caption;
  MsgButtons buttons;
  MsgIcon icon;
};

// Every message is recorded. Notices (OK only) are answered MsgAnswer::Ok; questions take the next
// scripted answer, `unanswered` when none is left.
class FakeMessages : public MessageSink {
 public:
  MsgAnswer Show(const std::string& text, const std::string& caption, MsgButtons buttons,
                 MsgIcon icon) override {
    shown.push_back({text, caption, buttons, icon});
    if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
    if (answers.empty()) return unanswered;
    MsgAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::vector<ShownMessage> shown;
  std::deque<MsgAnswer> answers;  // for questions, in order
  MsgAnswer unanswered = MsgAnswer::Ok;
};

class FakeDialogs : public FileDialogs {
 public:
  std::optional<std::string> Run(const FileDialogRequest& request) override {
    requests.push_back(request);
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    if (!answer || !appendsDefaultExtension) return answer;
    return ApplyDefaultExtension(*answer, request.defaultExtension);
  }
  std::vector<FileDialogRequest> requests;
  std::deque<std::optional<std::string>> answers;
  // The common dialog of the original platform appends the extension; the desktop program's own
  // dialogs leave that to the program.
  bool appendsDefaultExtension = true;
};

}  // namespace tavrin::testing
