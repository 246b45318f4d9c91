#include "app/DocumentHistory.h"

namespace tavrin {
namespace {

std::string MenuText(const char* verb, const std::string& label, const char* mnemonic,
                     const char* accelerator) {
  std::string text = verb;
  if (!label.empty()) text += ": " + label;
  return text + mnemonic + "\t" + accelerator;
}

}  // namespace

std::string UndoMenuText(const std::string& label) {
  return MenuText("元に戻す", label, "(&U)", "Ctrl+Z");
}

std::string RedoMenuText(const std::string& label) {
  return MenuText("やり直し", label, "(&R)", "Ctrl+Y");
}

DocumentHistory::DocumentHistory(CTavrinDoc& doc, TavrinViewModel& view, std::size_t limit)
    : doc_(doc), view_(view), history_(limit) {
  doc_.AttachView(this);
}

DocumentHistory::~DocumentHistory() { doc_.AttachView(&view_); }

DocumentState DocumentHistory::Current() const {
  return {view_.PackedCopy()->image, view_.names()};
}

DocumentHistory::Files DocumentHistory::CurrentFiles() const {
  return {doc_.IsUntitled(),
          doc_.IsUntitled() ? std::string() : doc_.SettingsPath(),
          {doc_.image(), doc_.names()}};
}

void DocumentHistory::RecordChange(const std::string& label, const DocumentState& before) {
  DocumentState after = Current();
  if (after != before) history_.Record(label, before, after);
  Settle();
}

void DocumentHistory::RecordRead(const std::string& label, const DocumentState& before,
                                 const Files& filesBefore) {
  if (CurrentFiles() != filesBefore) history_.ForgetSaved();
  RecordChange(label, before);
}

bool DocumentHistory::Undo() {
  if (!history_.CanUndo()) return false;
  PutInPlace(history_.Undo());
  return true;
}

bool DocumentHistory::Redo() {
  if (!history_.CanRedo()) return false;
  PutInPlace(history_.Redo());
  return true;
}

void DocumentHistory::PutInPlace(const DocumentState& state) {
  view_.imageBuffer() = state.image;
  view_.UnpackImage();
  view_.names() = state.names;
  doc_.SetModified(!history_.AtSavedState());
  view_.UpdateTitle();
  Changed();
}

void DocumentHistory::Settle() {
  stored_.reset();
  if (doc_.IsModified() && history_.AtSavedState()) history_.ForgetSaved();
  if (!doc_.IsModified() && !history_.AtSavedState()) history_.MarkSaved();
  Changed();
}

void DocumentHistory::StoreToDocument() {
  view_.StoreToDocument();
  stored_ = DocumentState{doc_.image(), doc_.names()};
}

void DocumentHistory::RefreshFromDocument() {
  // The document refreshes the view after new, open and save. A save leaves in the document what
  // it stored there; new and open bring other files, whose history starts afresh.
  const bool saved =
      stored_ && !doc_.IsUntitled() && *stored_ == DocumentState{doc_.image(), doc_.names()};
  stored_.reset();
  view_.RefreshFromDocument();
  if (doc_.IsModified()) return;  // a save that failed changed nothing
  if (saved) {
    history_.MarkSaved();
  } else {
    history_.Clear();
  }
  Changed();
}

void DocumentHistory::Changed() {
  if (observer_) observer_();
}

}  // namespace tavrin
