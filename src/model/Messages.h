// Message boxes as the program's logic sees them. The desktop program shows them in dialogs; the
// command-line tool prints them; tests record them.
#pragma once

#include <string>
#include <utility>

namespace tavrin {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgIcon { Exclamation, Information, Stop, Question };

// Button identifiers as the Windows message box returns them.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Texts are UTF-8. Returns the button pressed (IDOK for a plain notice).
  virtual int Show(const std::string& text, const std::string& caption, MsgButtons buttons,
                   MsgIcon icon) = 0;
};

// The caption of the program's own messages.
inline constexpr char kAppCaption[] = "Tavrin";

// The outcome of an operation that can fail with a message for the user (UTF-8).
struct Status {
  bool ok = true;
  std::string message;
  static Status Ok() { return {}; }
  static Status Fail(std::string text) { return {false, std::move(text)}; }
};

// Replaces the first "%s" of a message template, e.g. "%s のオープンに失敗しました。".
std::string FormatMessage(const std::string& pattern, const std::string& value);

}  // namespace tavrin
