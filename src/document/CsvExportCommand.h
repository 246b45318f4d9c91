// "エクスポート(&E)...": the CSV folder, the save dialog, the file name and the file itself.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "document/TavrinDoc.h"
#include "model/ByteSink.h"
#include "model/Clock.h"
#include "model/Messages.h"
#include "model/Result.h"

namespace tavrin {

// A file being written in place of whatever stands at its path: nothing changes there until
// Commit succeeds, and a file dropped without Commit leaves the old content as it was.
class ReplacementFile : public ByteSink {
 public:
  enum class Outcome { Done, OpenFailed, WriteFailed };
  virtual Outcome Commit() = 0;
  // Why the commit failed: the system's error number, 0 when unknown.
  virtual int Error() const { return 0; }
};
// Nothing when the file cannot be created.
using ReplacementFileOpener = std::function<std::unique_ptr<ReplacementFile>(const std::string&)>;
// Real files, written safely next to their final place.
ReplacementFileOpener SafeFileOpener();

// A CSV folder that exists, else the settings folder or the current directory (created when
// missing), which then becomes the CSV folder. True when a folder is available.
bool PrepareCsvFolder(CTavrinDoc& doc);
// True on OK; the CSV path, title and folder then name the chosen file. A saved document's report
// is offered beside it under its name ("school.BIN" as "school.CSV"); a new document's where the
// last export went, under that name.
bool CsvSaveDialog(CTavrinDoc& doc);
void EnsureCsvExtension(CTavrinDoc& doc);
// The report of the working schedule, which the layers above build. Before writing, the export
// command lets it prepare the schedule as the editors leave it (steps compacted and sorted, the
// model packed); those changes stay in the working model.
class ScheduleReport {
 public:
  virtual ~ScheduleReport() = default;
  virtual void Prepare() = 0;
  // Writes the whole report of an export file named `title` (Shift-JIS); false once a write
  // failed.
  virtual bool Write(ByteSink& out, const std::string& title, const LocalTime& now) const = 0;
};

// Prepares and writes the whole report once the file is open; the failure carries the message
// with the full path.
Result<> WriteCsvFile(const std::string& path, ScheduleReport& report, const std::string& title,
                      const LocalTime& now, const ReplacementFileOpener& open);
// The menu command: never changes the document or its modified flag.
void ExportCommand(CTavrinDoc& doc, ScheduleReport& report, const Clock& clock,
                   const ReplacementFileOpener& open);

// UTF-8 to Shift-JIS where every character without a Shift-JIS form becomes "?".
std::string ToShiftJisOrQuestionMarks(const std::string& utf8);

}  // namespace tavrin
