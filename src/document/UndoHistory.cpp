#include "document/UndoHistory.h"

#include <algorithm>
#include <cassert>

namespace tavrin {

UndoHistory::UndoHistory(std::size_t limit) : limit_(std::max<std::size_t>(limit, 1)) {}

void UndoHistory::Clear() {
  steps_.clear();
  done_ = 0;
  saved_ = 0;
}

void UndoHistory::Record(std::string label, const DocumentState& before,
                         const DocumentState& after) {
  // A saved state among the undone steps is gone with them.
  if (saved_ && *saved_ > done_) saved_.reset();
  steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(done_), steps_.end());
  steps_.push_back({std::move(label), before, after});
  ++done_;
  if (steps_.size() > limit_) {
    steps_.pop_front();
    --done_;
    // The state before the dropped step cannot be reached any more.
    if (saved_) saved_ = *saved_ == 0 ? std::nullopt : std::optional<std::size_t>(*saved_ - 1);
  }
}

std::string UndoHistory::UndoLabel() const { return CanUndo() ? steps_[done_ - 1].label : ""; }

std::string UndoHistory::RedoLabel() const { return CanRedo() ? steps_[done_].label : ""; }

const DocumentState& UndoHistory::Undo() {
  assert(CanUndo());
  return steps_[--done_].before;
}

const DocumentState& UndoHistory::Redo() {
  assert(CanRedo());
  return steps_[done_++].after;
}

void UndoHistory::MarkSaved() { saved_ = done_; }

void UndoHistory::ForgetSaved() { saved_.reset(); }

}  // namespace tavrin
