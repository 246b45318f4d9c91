// Draws the printed report on A4 pages: the header with the file name and the date, the blocks
// the layout put on each page, and the page number at the foot. The same pages go to a printer,
// to a PDF file or into pictures.
#pragma once

#include <QPagedPaintDevice>
#include <QString>
#include <vector>

#include "export/PrintLayout.h"

class QPainter;
class QPrinter;

namespace tavrin {

class ReportPainter {
 public:
  // `resolution` is the device's dots per inch; the page is A4 portrait with its margins.
  ReportPainter(const std::vector<report::Block>& blocks, QString fileName, QString printedOn,
                int resolution);

  int pageCount() const { return static_cast<int>(pages_.size()); }
  // The size of a page in device pixels.
  QSize pageSize() const;
  // Paints page `index` (0-based) with the painter's origin at the paper's top-left corner.
  void PaintPage(QPainter& painter, int index) const;
  // Every page onto `device` (a printer or a PDF writer set to A4); false when it cannot be
  // painted on.
  bool PaintAll(QPagedPaintDevice& device) const;

 private:
  double Mm(double millimetres) const { return millimetres * resolution_ / 25.4; }
  QFont Font(double points, bool bold = false) const;
  void PaintHeader(QPainter& painter, int index) const;
  int PaintTables(QPainter& painter, const report::Block& block, double top) const;

  std::vector<report::Page> pages_;
  QString fileName_;
  QString printedOn_;
  int resolution_;
};

// The printer for the report: A4 portrait, the document's name for the print queue.
void SetUpReportPrinter(QPrinter& printer, const QString& documentName);

}  // namespace tavrin
