#include "calendar/ui/CProg4.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QPushButton>

#include "calendar/SummerTimeRules.h"
#include "framework/ui/ControlIds.h"
#include "framework/ui/GridSetup.h"
#include "platform/CVSFlexGrid.h"
#include "platform/ControlNames.h"

namespace tavrin {
namespace {

constexpr int kRowTwips = 300;
constexpr int kLabelColTwips = 1300;
constexpr int kDataColTwips = 1100;

}  // namespace

CProg4::CProg4(ScheduleModel& model, MessageSink& messages, QWidget* parent)
    : EditorPage(parent), model_(model), messages_(messages) {
  grid_ = new CVSFlexGrid(this);
  grid_->setObjectName(ControlName(ids::summer::kGrid));
  enabled_ = new QCheckBox("サマータイムを実施する", this);
  enabled_->setObjectName(ControlName(ids::summer::kEnabled));
  delete_ = new QPushButton("削除(&D)", this);
  delete_->setObjectName(ControlName(ids::summer::kDelete));
  delete_->setMinimumSize(75, 23);
  delete_->setAutoDefault(false);
  // The grid keeps the focus, as in the original: the buttons are reached by mouse or Alt key.
  delete_->setFocusPolicy(Qt::NoFocus);
  connect(delete_, &QPushButton::clicked, this, &CProg4::DeleteSelectedRows);

  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(11, 11, 11, 11);
  layout->setHorizontalSpacing(14);
  layout->setVerticalSpacing(10);
  layout->addWidget(enabled_, 0, 0);
  layout->addWidget(grid_, 1, 0, 1, 2);
  layout->addWidget(delete_, 2, 1, Qt::AlignRight);
  layout->setRowStretch(3, 1);
  BuildGrid();
}

QString CProg4::TabTitle() const { return "　サマータイムリスト "; }

void CProg4::BuildGrid() {
  grid_->SetFixedRows(1);
  grid_->SetFixedCols(1);
  const int fixedRows = grid_->FixedRows();
  const int fixedCols = grid_->FixedCols();
  grid_->SetRows(fixedRows + summer::kRows);
  grid_->SetCols(fixedCols + summer::kCols);
  for (int r = 0; r < grid_->Rows(); ++r) grid_->SetRowHeight(r, kRowTwips);
  grid_->SetColWidth(0, kLabelColTwips);
  for (int c = fixedCols; c < grid_->Cols(); ++c) grid_->SetColWidth(c, kDataColTwips);

  grid_->SetTextMatrix(0, 0, "サマータイム");
  grid_->SetTextMatrix(0, 1, "月");
  grid_->SetTextMatrix(0, 2, "第何週");
  grid_->SetTextMatrix(0, 3, "曜日");
  grid_->SetTextMatrix(0, 4, "実施時刻");
  // One "曜日" header spans the week and weekday columns: equal texts in the merged fixed row.
  grid_->SetTextMatrix(0, 2, grid_->TextMatrix(0, 3));
  grid_->SetMergeCells(CVSFlexGrid::kMergeFixedOnly);
  grid_->SetMergeRow(0, true);
  grid_->SetTextMatrix(1, 0, "開始");
  grid_->SetTextMatrix(2, 0, "終了");

  for (int c = 0; c < summer::kCols; ++c)
    grid_->SetColList(fixedCols + c, summer::ColumnChoices(c));
  for (int r = fixedRows; r < grid_->Rows(); ++r)
    for (int c = fixedCols; c < grid_->Cols(); ++c) {
      grid_->SetRow(r);
      grid_->SetCol(c);
      grid_->SetCellAlignment(CVSFlexGrid::kAlignCenterCenter);
    }
  grid_->SetEditable(CVSFlexGrid::kEditKeyboardMouse);

  int frame = 2 * grid_->frameWidth();
  int width = frame, height = frame;
  for (int c = 0; c < grid_->Cols(); ++c) width += grid_->ColWidthPixels(c);
  for (int r = 0; r < grid_->Rows(); ++r) height += grid_->RowHeightPixels(r);
  grid_->setFixedSize(width, height);
}

TextTable CProg4::ReadTable() const {
  TextTable table(summer::kRows, summer::kCols);
  for (int r = 0; r < summer::kRows; ++r)
    for (int c = 0; c < summer::kCols; ++c)
      table.at(r, c) =
          grid_->TextMatrix(grid_->FixedRows() + r, grid_->FixedCols() + c).toStdString();
  return table;
}

void CProg4::WriteTable(const TextTable& table) {
  for (int r = 0; r < summer::kRows; ++r)
    for (int c = 0; c < summer::kCols; ++c)
      grid_->SetTextMatrix(grid_->FixedRows() + r, grid_->FixedCols() + c,
                           QString::fromStdString(table.at(r, c)));
}

void CProg4::MoveTo(CellPos cell) {
  grid_->SetRow(grid_->FixedRows() + cell.row);
  grid_->SetCol(grid_->FixedCols() + cell.col);
}

void CProg4::Initialise() {
  grid_->CancelEdit();
  enabled_->setChecked(model_.summerTimeEnabled != 0);
  TextTable table = summer::Fill(model_.summerTime);
  WriteTable(table);
  MoveTo(table.FirstEmptyCell());
  MarkFilled();
  grid_->setFocus();
}

std::vector<std::string> CProg4::ScreenTexts() const {
  std::vector<std::string> texts = ReadShownTable(*grid_, summer::kRows, summer::kCols).cells();
  texts.push_back(enabled_->isChecked() ? "1" : "0");
  return texts;
}

bool CProg4::Apply() {
  grid_->CommitEdit();
  TextTable table = ReadTable();
  CellPos fault;
  if (!summer::Validate(enabled_->isChecked(), table, messages_, fault)) {
    MoveTo(fault);
    grid_->setFocus();
    return false;
  }
  summer::Store(enabled_->isChecked(), table, model_);
  MoveTo({0, 0});
  return true;
}

bool CProg4::AltKey(int key) {
  if (key != Qt::Key_D) return false;
  DeleteSelectedRows();
  return true;
}

void CProg4::DeleteSelectedRows() {
  grid_->CommitEdit();
  int row1, col1, row2, col2;
  grid_->GetSelection(row1, col1, row2, col2);
  TextTable table = ReadTable();
  table.ClearRows(row1 - grid_->FixedRows(), row2 - grid_->FixedRows());
  WriteTable(table);
  MoveTo(table.FirstEmptyCell());
  grid_->setFocus();
}

}  // namespace tavrin
