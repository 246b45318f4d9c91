#include "app/PrintCommands.h"

#include "document/SettingsFiles.h"
#include "export/PrintReport.h"
#include "model/Messages.h"

namespace tavrin {

std::vector<report::Block> ReportOfView(const TavrinViewModel& view,
                                        const CalendarDate& agendaFrom) {
  const std::unique_ptr<PackedSchedule> packed = view.PackedCopy();
  return report::BuildReport({packed->model, view.names(), view.iniSettings(), view.years(),
                              packed->calendars, packed->image, agendaFrom});
}

PageHeader HeaderOfView(const TavrinViewModel& view, const Clock& clock) {
  return {view.fileNameField(), report::PrintedOn(clock.Now())};
}

CalendarDate Today(const Clock& clock) {
  const LocalTime now = clock.Now();
  return {now.year, now.month, now.day};
}

FileDialogRequest PdfSaveRequest(const CTavrinDoc& doc) {
  FileDialogRequest request;
  request.save = true;
  request.title = kPdfCaption;
  request.filter = "PDF ファイル (*.PDF) |*.PDF|";
  request.defaultExtension = "pdf";
  const std::string& title = doc.SettingsTitle();
  const std::string stem = title.substr(0, title.size() - ExtensionOf(title).size());
  request.defaultFileName = (stem.empty() ? std::string("新規作成") : stem) + ".pdf";
  request.initialFolder = doc.InitialFolder();
  request.flags = kOverwritePrompt | kHideReadOnly | kPathMustExist;
  return request;
}

std::string PdfWriteFailedText(const std::string& path) {
  return FormatMessage("%s への書込みに失敗しました。", path);
}

}  // namespace tavrin
