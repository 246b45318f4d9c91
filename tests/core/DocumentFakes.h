// Scripted stand-ins for the user: message boxes and file dialogs; a private temporary folder.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/FileDialogs.h"
#include "model/Messages.h"

namespace tavrin::testing {

struct ShownMessage {
  std::string text;
  std::string caption;
  MsgButtons buttons;
  MsgIcon icon;
};

class FakeMessages : public MessageSink {
 public:
  int Show(const std::string& text, const std::string& caption, MsgButtons buttons,
           MsgIcon icon) override {
    shown.push_back({text, caption, buttons, icon});
    if (answers.empty()) return IDOK;
    int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::vector<ShownMessage> shown;
  std::deque<int> answers;  // for questions, in order
};

class FakeDialogs : public FileDialogs {
 public:
  std::optional<std::string> Run(const FileDialogRequest& request) override {
    requests.push_back(request);
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    if (!answer) return std::nullopt;
    return ApplyDefaultExtension(*answer, request.defaultExtension);
  }
  std::vector<FileDialogRequest> requests;
  std::deque<std::optional<std::string>> answers;
};

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavrin-doc-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

}  // namespace tavrin::testing
