// What the cable dialogs and the diagnostics dialog learn from the link.
#pragma once

#include <string>

namespace tavrin {

// ReportProgress kinds.
namespace progress {
inline constexpr int kCommunicating = 0;
inline constexpr int kConnected = 1;  // communicating, and the dialog enters its connected state
inline constexpr int kSucceeded = 2;
inline constexpr int kFailed = 3;  // the text is the failure detail
}  // namespace progress

// The diagnostics dialog's fields, as it shows them (empty when cleared).
struct LinkDiagnostics {
  std::string filePath;
  std::string openMode;
  std::string command;
  std::string status;
  std::string response;  // "ACK", "NAK", "ENQ" or empty
  std::string byteCount;
  std::string statusLine;
  std::string receiveEvents;
  std::string receiveBytes;
  std::string sendRequests;
  std::string sendCompletions;
  std::string linkState;
  bool operator==(const LinkDiagnostics&) const = default;
};

class LinkObserver {
 public:
  virtual ~LinkObserver() = default;
  virtual void ReportProgress(int kind, const std::string& text) = 0;
  // The port search moved on: phase, identification or the open port changed.
  virtual void ConnectionChanged() = 0;
  virtual void DiagnosticsChanged(const LinkDiagnostics& diagnostics) = 0;
  // The stop-icon sound of a line error.
  virtual void Beep() = 0;
};

}  // namespace tavrin
