#include "app/ReviewCommands.h"

#include <algorithm>
#include <memory>

#include "document/FileProbe.h"
#include "document/PathText.h"
#include "document/SafeWrite.h"
#include "document/SettingsFiles.h"
#include "review/AgendaView.h"
#include "review/DiffTexts.h"
#include "review/ICalendarFile.h"

namespace tavrin {
namespace {

void ShowFailure(CTavrinDoc& doc, const std::string& text, const char* caption) {
  doc.messages().Show(text, caption, MsgButtons::Ok, MsgIcon::Exclamation);
}

// The settings title without its extension, else "新規作成", with `extension` after it.
std::string DefaultFileName(const TavrinViewModel& view, const char* extension) {
  const std::string title = view.fileNameField();
  const std::string stem = title.substr(0, title.size() - ExtensionOf(title).size());
  return stem + extension;
}

struct ScheduleFile {
  ScheduleModel model;
  ProgramNameTable names;
};

}  // namespace

std::optional<Comparison> CompareCommand(TavrinViewModel& view) {
  CTavrinDoc& doc = view.document();
  FileDialogRequest request;
  request.title = diff_text::kCompareCaption;
  request.filter = kSettingsFileFilter;
  request.defaultExtension = "bin";
  request.initialFolder = doc.InitialFolder();
  request.flags = kHideReadOnly | kPathMustExist | kFileMustExist;
  const std::optional<std::string> path = doc.dialogs().Run(request);
  if (!path) return std::nullopt;

  SettingsImage image;
  if (Result<> read = ReadSettingsFile(*path, image); !read) {
    ShowFailure(doc, read.message(), diff_text::kCompareCaption);
    return std::nullopt;
  }
  auto file = std::make_unique<ScheduleFile>();
  UnpackImage(image, view.Context(), file->model);
  DocumentPaths paths;
  paths.settingsPath = *path;
  DeriveNamePaths(paths);
  if (!ReadNameFile(paths.namePath, file->names)) file->names = {};

  // Both sides as the same reading of an image: what saving would store, unpacked.
  auto document = std::make_unique<ScheduleFile>();
  UnpackImage(view.PackedCopy()->image, view.Context(), document->model);
  document->names = view.names();
  // From the file to the document: what saving the document over that file would change.
  return Comparison{diff_text::CompareHeading(FileNameOf(*path), view.fileNameField()),
                    CompareSchedules({file->model, file->names}, {document->model, document->names},
                                     view.iniSettings())};
}

void SaveAgendaCalendarCommand(TavrinViewModel& view, const SettingsImage& image,
                               const CalendarDate& first, const Clock& clock) {
  CTavrinDoc& doc = view.document();
  const auto range = AgendaRange(image);
  if (!range) return;
  FileDialogRequest request;
  request.save = true;
  request.title = kCalendarSaveCaption;
  request.filter = kCalendarFilter;
  request.defaultExtension = "ics";
  request.defaultFileName = DefaultFileName(view, ".ics");
  request.initialFolder = doc.InitialFolder();
  request.flags = kOverwritePrompt | kHideReadOnly | kPathMustExist;
  const std::optional<std::string> chosen = doc.dialogs().Run(request);
  if (!chosen) return;
  const std::string path = ApplyDefaultExtension(*chosen, request.defaultExtension);
  if (Result<> own = CheckOutputIsNoInput(path, doc.FilesRead(), Language::kJapanese); !own) {
    ShowFailure(doc, own.message(), kCalendarSaveCaption);
    return;
  }

  const Result<std::string> text =
      AgendaICalendar(image, std::max(first, range->first), range->second, view.names(),
                      view.iniSettings(), view.fileNameField(), {MachineZoneName(), clock.Now()});
  if (!text) {
    ShowFailure(doc, text.message(), kCalendarSaveCaption);
    return;
  }
  const WriteOutcome written = WriteFileAtomically(path, text->data(), text->size());
  if (written != WriteStep::kDone) {
    ShowFailure(doc, SettingsWriteFailure(WriteStep::kWrite, path, written.error).message,
                kCalendarSaveCaption);
  }
}

}  // namespace tavrin
