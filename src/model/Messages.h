// Message boxes as the program's logic sees them. The desktop program shows them in dialogs; the
// command-line tool prints them; tests record them.
#pragma once

#include <string>
#include <utility>

namespace tavrin {

// YesNoDefaultNo: a question whose safe answer is No, so that Enter, like Escape, answers it.
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoDefaultNo, YesNoCancel };
enum class MsgIcon { Exclamation, Information, Stop, Question };

// The button that closed a message box. Closing a box without choosing answers Cancel, or No when
// the box has neither Cancel nor OK.
enum class MsgAnswer { Ok, Cancel, Yes, No };

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Texts are UTF-8. Returns the button pressed (Ok for a plain notice).
  virtual MsgAnswer Show(const std::string& text, const std::string& caption, MsgButtons buttons,
                         MsgIcon icon) = 0;
};

// The caption of the program's own messages.
inline constexpr char kAppCaption[] = "Tavrin";

// Replaces the first "%s" of a message template, e.g. "%s のオープンに失敗しました。".
std::string FormatMessage(const std::string& pattern, const std::string& value);

}  // namespace tavrin
