#include "review/ui/CompareWindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

#include "platform/UiFonts.h"
#include "review/DiffTexts.h"
#include "review/ui/ListWindow.h"

namespace tavrin {

CompareWindow::CompareWindow(const std::string& heading, const std::vector<Difference>& differences,
                             QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QString::fromUtf8(diff_text::kCompareCaption));
  setFont(UiGothicFont());
  heading_ = new QLabel(QString::fromStdString(heading), this);
  heading_->setWordWrap(true);
  const int rows = differences.empty() ? 1 : static_cast<int>(differences.size());
  table_ = new QTableWidget(rows, 3, this);
  QStringList columns;
  for (const char* column : diff_text::kCompareColumns) columns << QString::fromUtf8(column);
  table_->setHorizontalHeaderLabels(columns);
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  if (differences.empty()) {
    table_->setItem(0, 0, new QTableWidgetItem(QString::fromUtf8(diff_text::kSame)));
    table_->setSpan(0, 0, 1, 3);
  }
  for (int row = 0; row < static_cast<int>(differences.size()); ++row) {
    const Difference& difference = differences[row];
    table_->setItem(
        row, 0,
        new QTableWidgetItem(QString::fromUtf8(diff_text::SectionTitle(difference.section))));
    table_->setItem(
        row, 1, new QTableWidgetItem(QString::fromUtf8(diff_text::ChangeWord(difference.change))));
    auto* detail = new QTableWidgetItem(QString::fromStdString(diff_text::Detail(difference)));
    detail->setToolTip(detail->text());
    table_->setItem(row, 2, detail);
  }
  LayOutListWindow(*this, heading_, table_);
}

}  // namespace tavrin
