// "エクスポート(&E)...": the CSV folder, the save dialog, the file name and the file itself.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/TavrinViewModel.h"
#include "export/CsvReport.h"
#include "model/Clock.h"
#include "model/Messages.h"
#include "model/TavrinDoc.h"

namespace tavrin {

// A file being written in place of whatever stands at its path: nothing changes there until
// Commit succeeds, and a file dropped without Commit leaves the old content as it was.
class ReplacementFile {
 public:
  enum class Result { Done, OpenFailed, WriteFailed };
  virtual ~ReplacementFile() = default;
  virtual bool Write(const char* data, std::size_t size) = 0;
  virtual Result Commit() = 0;
};
// Nothing when the file cannot be created.
using ReplacementFileOpener = std::function<std::unique_ptr<ReplacementFile>(const std::string&)>;
// Real files, written safely next to their final place.
ReplacementFileOpener SafeFileOpener();

// A CSV folder that exists, else the settings folder or the current directory (created when
// missing), which then becomes the CSV folder. True when a folder is available.
bool PrepareCsvFolder(CTavrinDoc& doc);
// True on OK; the CSV path, title and folder then name the chosen file.
bool CsvSaveDialog(CTavrinDoc& doc);
void EnsureCsvExtension(CTavrinDoc& doc);
// Writes the whole report; the failure carries the message with the full path.
Status WriteCsvFile(const std::string& path, CsvReportInput& input,
                    const ReplacementFileOpener& open);
// The menu command: never changes the document or its modified flag.
void ExportCommand(CTavrinDoc& doc, TavrinViewModel& view, const Clock& clock,
                   const ReplacementFileOpener& open);

// UTF-8 to Shift-JIS where every character without a Shift-JIS form becomes "?".
std::string ToShiftJisOrQuestionMarks(const std::string& utf8);

}  // namespace tavrin
