// What an editor page's check decides: the page may be stored, or the message to show and the cell
// the cursor goes to. Every page checks into a verdict in the core and the window only shows it.
#pragma once

#include <string>
#include <utility>

#include "editors/GridText.h"
#include "model/Messages.h"

namespace tavrin {

class [[nodiscard]] Verdict {
 public:
  Verdict() = default;  // passes
  Verdict(CellPos cell, std::string message)
      : ok_(false), cell_(cell), message_(std::move(message)) {}

  bool ok() const { return ok_; }
  explicit operator bool() const { return ok_; }
  CellPos cell() const { return cell_; }
  const std::string& message() const { return message_; }

 private:
  bool ok_ = true;
  CellPos cell_;
  std::string message_;  // UTF-8
};

// A failed verdict is shown with `caption` and the exclamation icon, and `cursor` receives its
// cell; true when the verdict passed.
bool ShowVerdict(const Verdict& verdict, MessageSink& sink, const char* caption, CellPos& cursor);

}  // namespace tavrin
