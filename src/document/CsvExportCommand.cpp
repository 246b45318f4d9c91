#include "document/CsvExportCommand.h"

#include <filesystem>
#include <system_error>

#include "document/FileProbe.h"
#include "document/PathText.h"
#include "document/SettingsFiles.h"
#include "model/ShiftJis.h"

namespace tavrin {
namespace {

bool IsFolder(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_directory(path, error);
}

}  // namespace

std::string ToShiftJisOrQuestionMarks(const std::string& utf8) {
  std::string out;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const std::size_t length = Utf8CharLength(utf8, i);
    std::optional<std::string> converted = ToShiftJis(std::string_view(utf8).substr(i, length));
    out += converted ? *converted : std::string("?");
    i += length;
  }
  return out;
}

bool PrepareCsvFolder(CTavrinDoc& doc) {
  if (IsFolder(doc.csv.folder)) return true;
  const std::string& settingsFolder = doc.paths().settingsFolder;
  std::string folder = IsFolder(settingsFolder) ? settingsFolder : doc.CurrentDirectory();
  if (folder.empty() || !FitsPathBuffer(folder)) return false;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (!IsFolder(folder)) return false;
  doc.csv.folder = folder;
  return true;
}

bool CsvSaveDialog(CTavrinDoc& doc) {
  FileDialogRequest request;
  request.save = true;
  request.title = "名前を付けて保存";
  request.filter = "CSV（カンマ区切り）(*.CSV) |*.CSV|";
  request.defaultExtension = "csv";
  const std::string& settingsFolder = doc.paths().settingsFolder;
  if (!doc.IsUntitled() && IsFolder(settingsFolder)) {
    request.defaultFileName = ReplaceExtension(doc.SettingsTitle(), ".CSV");
    request.initialFolder = settingsFolder;
  } else {
    request.defaultFileName = doc.csv.title;
    request.initialFolder = doc.csv.folder.empty() ? doc.CurrentDirectory() : doc.csv.folder;
  }
  request.flags = kOverwritePrompt | kHideReadOnly | kPathMustExist;
  std::optional<std::string> chosen = doc.dialogs().Run(request);
  if (!chosen) return false;
  doc.csv.path = *chosen;
  doc.csv.title = FileNameOf(*chosen);
  doc.csv.folder = FolderOf(*chosen);
  return true;
}

void EnsureCsvExtension(CTavrinDoc& doc) {
  if (!ExtensionOf(doc.csv.title).empty()) return;
  doc.csv.title += ".CSV";
  doc.csv.path += ".CSV";
}

Result<> WriteCsvFile(const std::string& path, ScheduleReport& report, const std::string& title,
                      const LocalTime& now, const ReplacementFileOpener& open) {
  const Failure openFailed = Fail(FormatMessage("%s のオープンに失敗しました。", path));
  const Failure writeFailed = Fail(FormatMessage("%s への書込みに失敗しました。", path));
  std::unique_ptr<ReplacementFile> file = FitsPathBuffer(path) ? open(path) : nullptr;
  if (!file) return openFailed;
  // Only a report that is really written leaves its changes in the working model.
  report.Prepare();
  if (!report.Write(*file, title, now)) return writeFailed;
  const ReplacementFile::Outcome outcome = file->Commit();
  if (outcome == ReplacementFile::Outcome::Done) return {};
  const Failure& failed =
      outcome == ReplacementFile::Outcome::OpenFailed ? openFailed : writeFailed;
  if (file->Error() == 0) return failed;
  return Fail(WithCause(failed.message, FileFault(path, file->Error(), Language::kJapanese),
                        Language::kJapanese));
}

void ExportCommand(CTavrinDoc& doc, ScheduleReport& report, const Clock& clock,
                   const ReplacementFileOpener& open) {
  PrepareCsvFolder(doc);
  if (!CsvSaveDialog(doc)) return;
  EnsureCsvExtension(doc);
  Result<> written = CheckOutputIsNoInput(doc.csv.path, doc.FilesRead(), Language::kJapanese);
  if (written) {
    written = WriteCsvFile(doc.csv.path, report, ToShiftJisOrQuestionMarks(doc.csv.title),
                           clock.Now(), open);
  }
  if (written) {
    doc.messages().Show(FormatMessage("%s へのエクスポートが正常に終了しました。", doc.csv.path),
                        kAppCaption, MsgButtons::Ok, MsgIcon::Information);
  } else {
    doc.messages().Show(written.message(), kAppCaption, MsgButtons::Ok, MsgIcon::Exclamation);
  }
  // The folder is remembered even when the file could not be written.
  doc.WriteFolderSettings();
}

}  // namespace tavrin
