// The document's changes, each kept as the whole settings image and names before and after it, so
// that the user can step back and forth through them. Whole states rather than edits: going back
// needs no knowledge of what a change was, and an editor never has to say what it did.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

#include "model/ImageLayout.h"
#include "model/ScheduleModel.h"

namespace tavrin {

// What saving would store: the packed schedule and the program names.
struct DocumentState {
  SettingsImage image{};
  ProgramNameTable names{};

  // A step order of its own is no change (see SameSchedule).
  bool operator==(const DocumentState& other) const {
    return SameSchedule(image, other.image) && names == other.names;
  }
};

class UndoHistory {
 public:
  static constexpr std::size_t kDefaultLimit = 100;

  // Keeps at most `limit` steps (at least one); the oldest goes first.
  explicit UndoHistory(std::size_t limit = kDefaultLimit);

  // Forgets every step; the state in place is what the document's files hold.
  void Clear();
  // A change from `before` to `after`, named `label` ("週間プログラム"). The steps undone before it
  // can no longer be redone.
  void Record(std::string label, const DocumentState& before, const DocumentState& after);

  bool CanUndo() const { return done_ > 0; }
  bool CanRedo() const { return done_ < steps_.size(); }
  // The name of the step that Undo or Redo would take; empty when there is none.
  std::string UndoLabel() const;
  std::string RedoLabel() const;
  // The state before the last change done, which the caller puts in place; only when CanUndo.
  const DocumentState& Undo();
  // The state after the next change undone; only when CanRedo.
  const DocumentState& Redo();

  // The state in place is what the document's files hold.
  void MarkSaved();
  // No state of the history is what the files hold (a save failed half-way, or the document now
  // belongs to other files).
  void ForgetSaved();
  // True while the state in place is the one marked saved: the document is unmodified.
  bool AtSavedState() const { return saved_ == done_; }

  std::size_t size() const { return steps_.size(); }

 private:
  struct Step {
    std::string label;
    DocumentState before;
    DocumentState after;
  };

  std::size_t limit_;
  std::deque<Step> steps_;
  std::size_t done_ = 0;  // steps_[0, done_) are done, the rest undone
  // How many steps are done in the saved state.
  std::optional<std::size_t> saved_ = 0;
};

}  // namespace tavrin
