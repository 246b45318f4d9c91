#include "export/ui/ReportPainter.h"

#include <QPainter>
#include <QPrinter>
#include <algorithm>

#include "framework/ui/ConfirmationForm.h"
#include "platform/UiFonts.h"

namespace tavrin {
namespace {

// A4 portrait, in millimetres.
constexpr double kPaperWidth = 210;
constexpr double kPaperHeight = 297;
constexpr double kMargin = 12;
constexpr double kHeaderHeight = 8;
constexpr double kFooterHeight = 7;
constexpr double kLineHeight = 4.8;
constexpr double kTableGap = 3;
constexpr double kBodyPoints = 7.5;
constexpr double kHeadingPoints = 11;

QColor FromRgb(uint32_t rgb) { return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }
QString Utf8(const std::string& text) { return QString::fromStdString(text); }

int LinesPerPage() {
  return static_cast<int>((kPaperHeight - 2 * kMargin - kHeaderHeight - kFooterHeight) /
                          kLineHeight);
}

}  // namespace

ReportPainter::ReportPainter(const std::vector<report::Block>& blocks, QString fileName,
                             QString printedOn, int resolution)
    : pages_(report::Paginate(blocks, LinesPerPage())),
      fileName_(std::move(fileName)),
      printedOn_(std::move(printedOn)),
      resolution_(resolution) {}

QSize ReportPainter::pageSize() const {
  return QSize(qRound(Mm(kPaperWidth)), qRound(Mm(kPaperHeight)));
}

QFont ReportPainter::Font(double points, bool bold) const {
  QFont font = UiGothicFont();
  // Points on paper, whatever the device's own idea of a point.
  font.setPixelSize(std::max(1, qRound(points * resolution_ / 72.0)));
  font.setBold(bold);
  return font;
}

void ReportPainter::PaintHeader(QPainter& painter, int index) const {
  const double left = Mm(kMargin);
  const double width = Mm(kPaperWidth - 2 * kMargin);
  const QRectF header(left, Mm(kMargin), width, Mm(kHeaderHeight) * 0.8);
  painter.setPen(Qt::black);
  painter.setFont(Font(9));
  painter.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, fileName_);
  painter.drawText(header, Qt::AlignRight | Qt::AlignVCenter, printedOn_);
  painter.setPen(QPen(Qt::black, Mm(0.2)));
  painter.drawLine(QPointF(left, header.bottom()), QPointF(left + width, header.bottom()));
  const QRectF footer(left, Mm(kPaperHeight - kMargin - kFooterHeight), width, Mm(kFooterHeight));
  painter.setFont(Font(8));
  painter.drawText(footer, Qt::AlignHCenter | Qt::AlignBottom,
                   Utf8(report::PageNumber(index + 1, pageCount())));
}

int ReportPainter::PaintTables(QPainter& painter, const report::Block& block, double top) const {
  const double line = Mm(kLineHeight);
  const int count = static_cast<int>(block.tables.size());
  const double gap = Mm(kTableGap);
  const double tableWidth = (Mm(kPaperWidth - 2 * kMargin) - gap * (count - 1)) / count;
  int tallest = 0;
  for (int t = 0; t < count; ++t) {
    const report::Table& table = block.tables[t];
    const double left = Mm(kMargin) + t * (tableWidth + gap);
    double y = top;
    if (!table.caption.empty()) {
      painter.setFont(Font(kBodyPoints, true));
      painter.setPen(Qt::black);
      painter.drawText(QRectF(left, y, tableWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
                       Utf8(table.caption));
      y += line;
    }
    int shares = 0;
    for (int width : table.widths) shares += width;
    const auto paintRow = [&](const std::vector<report::Cell>& cells) {
      double x = left;
      for (std::size_t c = 0; c < cells.size() && c < table.widths.size(); ++c) {
        const double w = tableWidth * table.widths[c] / std::max(shares, 1);
        const QRectF rect(x, y, w, line);
        const report::Cell& cell = cells[c];
        painter.fillRect(rect, FromRgb(cell.back));
        if (cell.keep) {
          painter.drawPixmap(rect, KeepPicture(*cell.keep), QRectF());
        } else {
          painter.setPen(FromRgb(cell.fore));
          painter.setFont(Font(kBodyPoints, cell.bold));
          const QRectF inner = rect.adjusted(Mm(0.6), 0, -Mm(0.6), 0);
          const QString text =
              painter.fontMetrics().elidedText(Utf8(cell.text), Qt::ElideRight, inner.width());
          painter.drawText(inner, Qt::AlignCenter, text);
        }
        painter.setPen(QPen(QColor(150, 150, 150), Mm(0.1)));
        painter.drawRect(rect);
        x += w;
      }
      y += line;
    };
    if (!table.header.empty()) paintRow(table.header);
    for (const auto& row : table.rows) paintRow(row);
    tallest = std::max(tallest, table.Lines());
  }
  return tallest;
}

void ReportPainter::PaintPage(QPainter& painter, int index) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  PaintHeader(painter, index);
  const double line = Mm(kLineHeight);
  const double left = Mm(kMargin);
  const double width = Mm(kPaperWidth - 2 * kMargin);
  double y = Mm(kMargin + kHeaderHeight);
  for (const report::Block& block : pages_[index].blocks) {
    switch (block.kind) {
      case report::BlockKind::Heading:
        painter.setPen(Qt::black);
        painter.setFont(Font(kHeadingPoints, true));
        painter.drawText(QRectF(left, y, width, 2 * line), Qt::AlignLeft | Qt::AlignVCenter,
                         Utf8(block.text));
        break;
      case report::BlockKind::Text:
        painter.setPen(Qt::black);
        painter.setFont(Font(kBodyPoints));
        painter.drawText(QRectF(left, y, width, line), Qt::AlignLeft | Qt::AlignVCenter,
                         Utf8(block.text));
        break;
      case report::BlockKind::Tables:
        PaintTables(painter, block, y);
        break;
    }
    y += block.Lines() * line;
  }
  painter.restore();
}

bool ReportPainter::PaintAll(QPagedPaintDevice& device) const {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  // The painter's origin is the printable area's corner; the layout measures from the paper's.
  const QRectF paper = device.pageLayout().fullRectPixels(resolution_);
  const QRectF printable = device.pageLayout().paintRectPixels(resolution_);
  const QPointF shift = paper.topLeft() - printable.topLeft();
  for (int index = 0; index < pageCount(); ++index) {
    if (index > 0 && !device.newPage()) return false;
    painter.save();
    painter.translate(shift);
    PaintPage(painter, index);
    painter.restore();
  }
  return painter.end();
}

void SetUpReportPrinter(QPrinter& printer, const QString& documentName) {
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setFullPage(true);  // the report keeps its own margins
  printer.setDocName(documentName);
}

}  // namespace tavrin
