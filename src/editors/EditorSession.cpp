#include "editors/EditorSession.h"

#include <cstring>
#include <memory>

namespace tavrin {

const char* EditorTitle(EditorKind kind) {
  switch (kind) {
    case EditorKind::Channel:
      return "チャンネル設定";
    case EditorKind::Weekly:
      return "週間プログラム";
    case EditorKind::Annual:
      return "年間プログラム";
    case EditorKind::SummerTime:
      return "サマータイム";
    case EditorKind::Radio:
      return "ラジオ選局";
  }
  return "";
}

std::string SheetCaption(EditorKind kind, FileState state, const std::string& settingsTitle) {
  std::string caption = EditorTitle(kind);
  if (state == FileState::Untitled) caption += " - 新規作成";
  if (state == FileState::File) caption += " - " + settingsTitle;
  return caption;
}

EditorOutcome RunEditorSession(ScheduleModel& model, ProgramNameTable& names, EditorHost& host,
                               const std::function<bool()>& runSheet) {
  // Raw copies rather than assignment: the records have padding, and Cancel must leave every
  // byte as it was, padding included.
  auto modelBackup = std::make_unique<unsigned char[]>(sizeof model);
  auto namesBackup = std::make_unique<unsigned char[]>(sizeof names);
  std::memcpy(modelBackup.get(), &model, sizeof model);
  std::memcpy(namesBackup.get(), &names, sizeof names);

  if (!runSheet()) {
    std::memcpy(&model, modelBackup.get(), sizeof model);
    std::memcpy(&names, namesBackup.get(), sizeof names);
    return EditorOutcome::Cancelled;
  }
  if (host.SameAsDocument(model, names)) return EditorOutcome::Unchanged;
  host.MarkModified();
  return EditorOutcome::Changed;
}

}  // namespace tavrin
