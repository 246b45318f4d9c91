#include "app/PrintCommands.h"

#include "document/PathText.h"
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
  request.defaultFileName = ReplaceExtension(title.empty() ? "新規作成" : title, ".pdf");
  request.initialFolder = doc.InitialFolder();
  request.flags = kOverwritePrompt | kHideReadOnly | kPathMustExist;
  return request;
}

std::string PrintToFilePath(const CTavrinDoc& doc) {
  const FileDialogRequest request = PdfSaveRequest(doc);
  return JoinPath(request.initialFolder, request.defaultFileName);
}

std::string PdfWriteFailedText(const std::string& path) {
  return FormatMessage("%s への書込みに失敗しました。", path);
}

std::string PdfWrittenText(const std::string& path) {
  return FormatMessage("%s へのPDFの保存が正常に終了しました。", path);
}

}  // namespace tavrin
