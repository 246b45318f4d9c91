// What the cable dialogs and the diagnostics dialog learn from the link.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

// What ReportProgress tells the open cable dialog.
enum class Progress {
  Communicating,
  Connected,  // communicating, and the dialog enters its connected state
  Succeeded,
  Failed,  // the text is the failure detail
};

// LinkState: the number is what the diagnostics dialog shows.
enum class LinkState {
  Idle = 1,         // between frames
  Data = 2,         // inside frame data
  StartDle = 3,     // DLE seen while idle
  DataDle = 4,      // DLE seen inside data
  AwaitAnswer = 5,  // own frame sent, waiting for ACK/NAK
  Sending = 6,      // own frame being handed to the control
  Check = 7,        // DLE ETX seen, waiting for the check byte
};

// The diagnostics dialog's fields as values; the dialog turns them into text. An empty optional,
// a 0 letter or an empty text is a field shown empty.
struct LinkDiagnostics {
  std::string filePath;
  char openMode = 0;  // 'R' or 'W'
  char command = 0;   // the last command letter answered
  char status = 0;    // its status letter
  uint8_t answerByte = 0;
  std::optional<int> byteCount;
  std::string statusLine;  // a link error, a control event, or why the port did not open
  std::optional<long> receiveEvents;
  std::optional<long> receiveBytes;  // in the last receive event
  std::optional<long> sendRequests;
  std::optional<long> sendCompletions;
  std::optional<LinkState> linkState;
  bool operator==(const LinkDiagnostics&) const = default;
};

// The response field: "ACK", "NAK", "ENQ" or empty, by the answer byte.
std::string_view AnswerText(uint8_t answerByte);

class LinkObserver {
 public:
  virtual ~LinkObserver() = default;
  virtual void ReportProgress(Progress kind, const std::string& text) = 0;
  // The port search moved on: phase, identification or the open port changed.
  virtual void ConnectionChanged() = 0;
  virtual void DiagnosticsChanged(const LinkDiagnostics& diagnostics) = 0;
  // The stop-icon sound of a line error.
  virtual void Beep() = 0;
};

}  // namespace tavrin
