#include "model/ExportCommand.h"

#include <filesystem>
#include <system_error>

#include "model/PathText.h"
#include "model/SettingsFiles.h"
#include "model/ShiftJis.h"

namespace tavrin {
namespace {

bool IsFolder(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_directory(path, error);
}

class ReplacementOutput : public CsvOutput {
 public:
  explicit ReplacementOutput(ReplacementFile& file) : file_(file) {}
  bool Write(const char* data, std::size_t size) override { return file_.Write(data, size); }

 private:
  ReplacementFile& file_;
};

}  // namespace

std::string ToShiftJisOrQuestionMarks(const std::string& utf8) {
  std::string out;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    std::size_t length = lead < 0x80    ? 1
                         : lead >= 0xF0 ? 4
                         : lead >= 0xE0 ? 3
                         : lead >= 0xC0 ? 2
                                        : 1;
    length = std::min(length, utf8.size() - i);
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
  request.defaultFileName = doc.csv.title;
  request.initialFolder = doc.csv.folder.empty() ? doc.CurrentDirectory() : doc.csv.folder;
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

Status WriteCsvFile(const std::string& path, CsvReportInput& input,
                    const ReplacementFileOpener& open) {
  const Status openFailed = Status::Fail(FormatMessage("%s のオープンに失敗しました。", path));
  const Status writeFailed = Status::Fail(FormatMessage("%s への書込みに失敗しました。", path));
  std::unique_ptr<ReplacementFile> file = FitsPathBuffer(path) ? open(path) : nullptr;
  if (!file) return openFailed;
  ReplacementOutput output(*file);
  CsvWriter writer(output);
  if (!WriteCsvReport(writer, input)) return writeFailed;
  switch (file->Commit()) {
    case ReplacementFile::Result::Done:
      return Status::Ok();
    case ReplacementFile::Result::OpenFailed:
      return openFailed;
    case ReplacementFile::Result::WriteFailed:
      break;
  }
  return writeFailed;
}

void ExportCommand(CTavrinDoc& doc, TavrinViewModel& view, const Clock& clock,
                   const ReplacementFileOpener& open) {
  PrepareCsvFolder(doc);
  if (!CsvSaveDialog(doc)) return;
  EnsureCsvExtension(doc);
  CsvReportInput input{view.model(),
                       view.names(),
                       view.programSettings(),
                       view.currentStation(),
                       view.Context(),
                       view.imageBuffer(),
                       view.calendars(),
                       ToShiftJisOrQuestionMarks(doc.csv.title),
                       clock.Now()};
  Status written = WriteCsvFile(doc.csv.path, input, open);
  if (!written.ok) {
    doc.messages().Show(written.message, kAppCaption, MsgButtons::Ok, MsgIcon::Exclamation);
  }
  // The folder is remembered even when the file could not be written.
  doc.WriteFolderSettings();
}

}  // namespace tavrin
