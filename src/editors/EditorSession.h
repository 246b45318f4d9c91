// One run of the editor sheet over the working schedule: what is kept, what is thrown away, and
// when the document counts as changed. The window itself is supplied by the caller.
#pragma once

#include <functional>
#include <string>

#include "document/FileState.h"
#include "model/ScheduleModel.h"

namespace tavrin {

// The five editors the main form opens, numbered as the form's buttons pass them.
enum class EditorKind { Channel = 1, Weekly = 2, Annual = 3, SummerTime = 4, Radio = 5 };

// "チャンネル設定", "週間プログラム", "年間プログラム", "サマータイム", "ラジオ選局".
const char* EditorTitle(EditorKind kind);

// The sheet's caption: the editor's title, then " - 新規作成" for a new document or " - " and the
// settings title for a file document. `settingsTitle` is UTF-8.
std::string SheetCaption(EditorKind kind, FileState state, const std::string& settingsTitle);

// What the session needs from the document and view.
class EditorHost {
 public:
  virtual ~EditorHost() = default;
  // Packs `model` (which packing may complete, e.g. with the radio station) and compares the
  // result with the document's image, all of it, and `names` with the document's names.
  virtual bool SameAsDocument(ScheduleModel& model, const ProgramNameTable& names) = 0;
  // Sets the document's modified flag and refreshes the main window's caption.
  virtual void MarkModified() = 0;
};

enum class EditorOutcome { Cancelled, Unchanged, Changed };

// Backs up the model and the names, runs `runSheet` (true = OK), and on anything but OK puts both
// back byte for byte; on OK marks the document modified when its image or its names no longer
// match.
EditorOutcome RunEditorSession(ScheduleModel& model, ProgramNameTable& names, EditorHost& host,
                               const std::function<bool()>& runSheet);

}  // namespace tavrin
