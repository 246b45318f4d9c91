// What printing and saving as PDF decide before a page is drawn: the report of the schedule as
// saving would store it, the texts of the page header, and the PDF save dialog.
#pragma once

#include <string>
#include <vector>

#include "app/TavrinViewModel.h"
#include "document/FileDialogs.h"
#include "export/PrintLayout.h"
#include "model/Clock.h"
#include "review/Agenda.h"

namespace tavrin {

inline constexpr char kPdfCaption[] = "PDFに保存";
inline constexpr char kPrintCaption[] = "印刷";
inline constexpr char kPrintFailed[] = "印刷できませんでした。";

// The report of the working schedule packed as saving would store it (the working model stays as
// it is), with the agenda of the week from `agendaFrom`.
std::vector<report::Block> ReportOfView(const TavrinViewModel& view,
                                        const CalendarDate& agendaFrom);

struct PageHeader {
  std::string fileName;   // the file-name field's text: the settings title or "新規作成"
  std::string printedOn;  // "印刷日 2026年4月1日"
};
PageHeader HeaderOfView(const TavrinViewModel& view, const Clock& clock);

// The clock's date; the agenda starts there unless the user chose another day.
CalendarDate Today(const Clock& clock);

// The save dialog of "PDFに保存": the settings title with ".pdf" in the settings folder.
FileDialogRequest PdfSaveRequest(const CTavrinDoc& doc);
// The file the print dialog offers to print to: the one the PDF dialog offers.
std::string PrintToFilePath(const CTavrinDoc& doc);
// Shown when the PDF file cannot be written: "<path> への書込みに失敗しました。"
std::string PdfWriteFailedText(const std::string& path);
// Shown when it has been written.
std::string PdfWrittenText(const std::string& path);

}  // namespace tavrin
