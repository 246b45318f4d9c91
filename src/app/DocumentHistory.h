// The undo history of the open document as the main window runs it: what each command changed,
// putting an earlier state back in place, and the modified flag and caption that follow from where
// the history stands. The editor pages know nothing of it: it looks only at the working schedule
// before and after a command.
#pragma once

#include <functional>
#include <string>

#include "app/TavrinViewModel.h"
#include "document/TavrinDoc.h"
#include "document/UndoHistory.h"

namespace tavrin {

// The items of the menu "編集(&E)": "元に戻す(&U)" and "やり直し(&R)", each naming the step it
// takes when there is one ("元に戻す: 週間プログラム(&U)"), with their first accelerator after a
// tab.
std::string UndoMenuText(const std::string& label);
std::string RedoMenuText(const std::string& label);

// Stands between the document and the view: new, open and save reach the history on their way to
// the view, so that it starts afresh with another document and knows which state is saved.
class DocumentHistory : public DocumentView {
 public:
  DocumentHistory(CTavrinDoc& doc, TavrinViewModel& view,
                  std::size_t limit = UndoHistory::kDefaultLimit);
  // Gives the document back to the view.
  ~DocumentHistory() override;
  DocumentHistory(const DocumentHistory&) = delete;
  DocumentHistory& operator=(const DocumentHistory&) = delete;

  // Called whenever the history may have changed, for the menu.
  void SetChangeObserver(std::function<void()> observer) { observer_ = std::move(observer); }
  const UndoHistory& history() const { return history_; }

  // The state saving would store now; the view's buffers and station are left alone.
  DocumentState Current() const;
  // What the document's files are: read before a command that may replace the document.
  struct Files {
    bool untitled = true;
    std::string path;
    DocumentState state;
    bool operator==(const Files&) const = default;
  };
  Files CurrentFiles() const;

  // After an editor or any other change made to the working schedule: a step from `before` to the
  // state now, when they differ.
  void RecordChange(const std::string& label, const DocumentState& before);
  // After a read from the timer or a stick, which makes the received schedule a new document: a
  // step like any change, and the saved state of the files left behind is no longer reachable.
  void RecordRead(const std::string& label, const DocumentState& before, const Files& filesBefore);
  // Put the state before the last step, or after the next, in place; false when there is none.
  bool Undo();
  bool Redo();
  // After every command: a document that is unmodified is in its saved state, and one that is
  // modified is not, whatever changed it on the way (a save, a prompt's save, a read).
  void Settle();

  // DocumentView
  const ScheduleModel& WorkingModel() const override { return view_.WorkingModel(); }
  void StoreToDocument() override;
  void RefreshFromDocument() override;

 private:
  void PutInPlace(const DocumentState& state);
  void Changed();

  CTavrinDoc& doc_;
  TavrinViewModel& view_;
  UndoHistory history_;
  std::function<void()> observer_;
  // What a save stored into the document, until the document refreshes the view.
  std::optional<DocumentState> stored_;
};

}  // namespace tavrin
