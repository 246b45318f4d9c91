#include "review/ui/CheckWindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>

#include "platform/UiFonts.h"
#include "review/CheckTexts.h"
#include "review/ui/ListWindow.h"

namespace tavrin {
namespace {

QColor SeverityColour(Severity severity) {
  switch (severity) {
    case Severity::Error:
      return QColor(200, 0, 0);
    case Severity::Warning:
      return QColor(170, 100, 0);
    case Severity::Note:
      break;
  }
  return QColor(60, 60, 60);
}

}  // namespace

CheckWindow::CheckWindow(const std::vector<Finding>& findings, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromUtf8(kCheckCaption));
  setFont(UiGothicFont());
  summary_ = new QLabel(QString::fromStdString(CheckSummary(findings)), this);
  table_ = new QTableWidget(static_cast<int>(findings.size()), 3, this);
  QStringList columns;
  for (const char* column : kCheckColumns) columns << QString::fromUtf8(column);
  table_->setHorizontalHeaderLabels(columns);
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setWordWrap(true);
  for (int row = 0; row < table_->rowCount(); ++row) {
    const Finding& finding = findings[row];
    auto* severity = new QTableWidgetItem(QString::fromUtf8(SeverityLabel(finding.severity)));
    severity->setForeground(SeverityColour(finding.severity));
    table_->setItem(row, 0, severity);
    table_->setItem(row, 1, new QTableWidgetItem(QString::fromUtf8(RuleId(finding.rule))));
    auto* message = new QTableWidgetItem(QString::fromStdString(finding.message));
    message->setToolTip(message->text());
    table_->setItem(row, 2, message);
  }
  LayOutListWindow(*this, summary_, table_);
}

bool ConfirmWriteDespiteErrors(QWidget* parent, const std::vector<Finding>& findings) {
  QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kCheckCaption),
                  QString::fromStdString(WriteCheckQuestion(findings)), QMessageBox::NoButton,
                  parent);
  box.setInformativeText(QString::fromStdString(WriteCheckErrors(findings)));
  QPushButton* goOn =
      box.addButton(QString::fromUtf8(kWriteCheckContinue), QMessageBox::AcceptRole);
  QPushButton* cancel =
      box.addButton(QString::fromUtf8(kWriteCheckCancel), QMessageBox::RejectRole);
  // Enter and Escape both stop: going on despite errors takes a deliberate click.
  box.setDefaultButton(cancel);
  box.setEscapeButton(cancel);
  box.exec();
  return box.clickedButton() == goOn;
}

}  // namespace tavrin
