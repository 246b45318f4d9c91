#include "calendar/ui/CProg6.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "calendar/AnnualConfirmation.h"
#include "calendar/ui/AnnualConfirmDialog.h"
#include "framework/ui/ControlIds.h"
#include "framework/ui/DialogParts.h"
#include "framework/ui/GridSetup.h"
#include "platform/CVSFlexGrid.h"
#include "platform/ControlNames.h"

namespace tavrin {
namespace {

using annual::Kind;

constexpr int kRowTwips = 300;
constexpr int kVisibleListRows = 15;

struct KindFace {
  int radioId;
  const char* radioText;
  int gridId;
  const char* rowLabel;  // the fixed column of a single-cell grid
};
constexpr std::array<KindFace, annual::kKindCount> kFaces = {{
    {ids::annual::kBasic, "基本設定　　<", ids::annual::kBasicGrid, "基本設定"},
    {ids::annual::kPeriod, "期間設定　　<", ids::annual::kPeriodGrid, nullptr},
    {ids::annual::kHoliday, "祭日設定　　<", ids::annual::kHolidayGrid, "祭日実施"},
    {ids::annual::kIndividual, "個別設定", ids::annual::kIndividualGrid, nullptr},
}};

constexpr std::array<const char*, annual::kPeriodCols> kPeriodHeaders = {
    "開始年", "開始月", "開始日", "終了月", "終了日", "プログラム番号"};
constexpr std::array<const char*, annual::kDateCols> kDateHeaders = {"実施年", "実施月", "実施日",
                                                                     "プログラム番号"};

// Column widths in twips: the row number, the year, the months and days, the program.
int ListColumnTwips(int col, int cols) {
  if (col == 0) return 800;
  if (col == 1) return 1000;
  return col == cols - 1 ? 1400 : 880;
}

}  // namespace

CProg6::CProg6(ScheduleModel& model, const ProgramNameTable& names, MessageSink& messages,
               EditorClipboards& clipboards, CalendarContext& calendar, QWidget* parent)
    : EditorPage(parent),
      model_(model),
      names_(names),
      messages_(messages),
      clipboards_(clipboards),
      calendar_(calendar) {
  auto* radios = new QHBoxLayout;
  kinds_ = new QButtonGroup(this);
  for (std::size_t i = 0; i < kFaces.size(); ++i) {
    auto* radio = new QRadioButton(QString::fromUtf8(kFaces[i].radioText), this);
    radio->setObjectName(ControlName(kFaces[i].radioId));
    kinds_->addButton(radio, static_cast<int>(i));
    radios->addWidget(radio);
  }
  radios->addStretch();
  radios->addWidget(new QLabel("<　： 優先順位", this));
  connect(kinds_, &QButtonGroup::idClicked, this,
          [this](int id) { ChooseKind(static_cast<Kind>(id)); });

  // Every kind's grid sits in the same place; the area keeps the size of the largest, so that
  // the sheet does not change its size with the kind.
  auto* area = new QWidget(this);
  auto* areaLayout = new QVBoxLayout(area);
  areaLayout->setContentsMargins(0, 0, 0, 0);
  holidayEnabled_ = new QCheckBox("祭日設定を実施する", area);
  holidayEnabled_->setObjectName(ControlName(ids::annual::kHolidayEnabled));
  areaLayout->addWidget(holidayEnabled_);
  // The check box sits above the holiday grid only; room is kept for it under every kind.
  const int boxHeight = holidayEnabled_->sizeHint().height() + areaLayout->spacing();
  QSize areaSize;
  for (std::size_t i = 0; i < kFaces.size(); ++i) {
    grids_[i] = new CVSFlexGrid(area);
    grids_[i]->setObjectName(ControlName(kFaces[i].gridId));
    BuildGrid(static_cast<Kind>(i));
    areaLayout->addWidget(grids_[i], 0, Qt::AlignLeft | Qt::AlignTop);
    areaSize = areaSize.expandedTo(grids_[i]->size() + QSize(0, boxHeight));
  }
  areaLayout->addStretch();
  area->setFixedSize(areaSize);

  copy_ = CommandButton(this, ids::annual::kCopy, "コピー(&C)", [this] { Copy(); });
  paste_ = CommandButton(this, ids::annual::kPaste, "貼り付け(&P)", [this] { Paste(); });
  delete_ = CommandButton(this, ids::annual::kDelete, "削除(&D)", [this] { Delete(); });
  confirmRows_ = CommandButton(this, ids::annual::kConfirmRows, "確認(&K)", [this] { Confirm(); });
  confirmSingle_ =
      CommandButton(this, ids::annual::kConfirmSingle, "確認(&K)", [this] { Confirm(); });
  auto* commands = new QVBoxLayout;
  for (QPushButton* button : {copy_, paste_, delete_}) commands->addWidget(button);
  commands->addStretch();
  commands->addWidget(confirmRows_);
  commands->addWidget(confirmSingle_);

  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(11, 11, 11, 11);
  layout->setHorizontalSpacing(14);
  layout->setVerticalSpacing(10);
  layout->addLayout(radios, 0, 0, 1, 2);
  layout->addWidget(area, 1, 0);
  layout->addLayout(commands, 1, 1);
}

QString CProg6::TabTitle() const { return "　年間プログラムリスト　"; }

bool CProg6::HasRows(Kind kind) { return kind == Kind::Period || kind == Kind::Individual; }

void CProg6::BuildGrid(Kind kind) {
  CVSFlexGrid* grid = Grid(kind);
  grid->SetFixedRows(1);
  grid->SetFixedCols(1);
  const bool rows = HasRows(kind);
  const int dataCols = kind == Kind::Period       ? annual::kPeriodCols
                       : kind == Kind::Individual ? annual::kDateCols
                                                  : 1;
  grid->SetRows(1 + (rows ? annual::kListRows : 1));
  grid->SetCols(1 + dataCols);
  for (int r = 0; r < grid->Rows(); ++r) grid->SetRowHeight(r, kRowTwips);
  for (int c = 0; c < grid->Cols(); ++c)
    grid->SetColWidth(c, rows ? ListColumnTwips(c, grid->Cols()) : 1400);

  const YearPair& years = calendar_.years;
  if (rows) {
    for (int c = 0; c < dataCols; ++c) {
      const bool period = kind == Kind::Period;
      grid->SetTextMatrix(0, 1 + c, period ? kPeriodHeaders[c] : kDateHeaders[c]);
      const annual::Column column = period ? annual::kPeriodColumns[c] : annual::kDateColumns[c];
      grid->SetColList(1 + c, annual::ColumnChoices(column, years, names_));
    }
    for (int r = 1; r < grid->Rows(); ++r) grid->SetTextMatrix(r, 0, QString::number(r));
  } else {
    grid->SetTextMatrix(0, 1, "プログラム番号");
    grid->SetTextMatrix(1, 0, kFaces[Index(kind)].rowLabel);
    grid->SetColList(1, annual::ColumnChoices(annual::Column::Program, years, names_));
  }
  for (int r = 1; r < grid->Rows(); ++r)
    for (int c = 1; c < grid->Cols(); ++c) {
      grid->SetCurrentCell(r, c);
      grid->SetCellAlignment(CVSFlexGrid::kAlignCenterCenter);
    }
  // Back to the top, so that the grid first shows its first rows, not the last one centred.
  grid->SetCurrentCell(1, 1);
  grid->SetEditable(CVSFlexGrid::kEditKeyboardMouse);

  const int frame = 2 * grid->frameWidth();
  int width = frame, height = frame;
  for (int c = 0; c < grid->Cols(); ++c) width += grid->ColWidthPixels(c);
  const int shownRows = rows ? 1 + kVisibleListRows : grid->Rows();
  for (int r = 0; r < shownRows; ++r) height += grid->RowHeightPixels(r);
  if (rows) width += grid->verticalScrollBar()->sizeHint().width();
  grid->setFixedSize(width, height);
}

void CProg6::Initialise() {
  for (CVSFlexGrid* grid : grids_) grid->CancelEdit();
  shown_.fill(false);
  ShowKind(Kind::Basic);
}

void CProg6::ChooseKind(Kind kind) {
  if (kind == current_) return;
  Grid(current_)->CommitEdit();
  const auto checkAndStore = [this] {
    return annual::CheckAndStore(current_, ReadTexts(), calendar_.years,
                                 annual::BasicMessages::Skipped, model_);
  };
  Verdict verdict = checkAndStore();
  while (!verdict && current_ == Kind::Period && SplitOverNewYear(verdict))
    verdict = checkAndStore();
  if (!verdict) {
    kinds_->button(static_cast<int>(current_))->setChecked(true);
    ShowFault(current_, verdict);
    return;
  }
  ShowKind(kind);
}

void CProg6::ShowKind(Kind kind) {
  current_ = kind;
  for (std::size_t i = 0; i < grids_.size(); ++i) grids_[i]->setVisible(i == Index(kind));
  holidayEnabled_->setVisible(kind == Kind::Holiday);
  shown_[Index(kind)] = true;
  FillGrid(kind);
  const bool rows = HasRows(kind);
  for (QPushButton* button : {copy_, paste_, delete_, confirmRows_}) button->setVisible(rows);
  confirmSingle_->setVisible(!rows);
  kinds_->button(static_cast<int>(kind))->setChecked(true);
  UpdatePaste();
  MarkFilled();
  Grid(kind)->setFocus();
}

std::vector<std::string> CProg6::ScreenTexts() const {
  const CVSFlexGrid* grid = Grid(current_);
  std::vector<std::string> texts =
      ReadShownTable(*grid, grid->Rows() - grid->FixedRows(), grid->Cols() - grid->FixedCols())
          .cells();
  texts.push_back(holidayEnabled_->isChecked() ? "1" : "0");
  return texts;
}

void CProg6::FillGrid(Kind kind) {
  TextTable table(1, 1);
  switch (kind) {
    case Kind::Basic:
      table = annual::FillBasic(model_, names_);
      break;
    case Kind::Holiday:
      holidayEnabled_->setChecked(model_.holidayEnabled != 0);
      table = annual::FillHoliday(model_, names_);
      break;
    case Kind::Period:
      table = annual::FillPeriods(model_, names_);
      break;
    case Kind::Individual:
      table = annual::FillDates(model_, names_);
      break;
  }
  Grid(kind)->CancelEdit();
  WriteTable(kind, table);
  MoveTo(kind, table.FirstEmptyCell());
}

TextTable CProg6::ReadTable(Kind kind) const {
  const CVSFlexGrid* grid = Grid(kind);
  TextTable table(grid->Rows() - grid->FixedRows(), grid->Cols() - grid->FixedCols());
  for (int r = 0; r < table.rows(); ++r)
    for (int c = 0; c < table.cols(); ++c)
      table.at(r, c) = grid->TextMatrix(grid->FixedRows() + r, grid->FixedCols() + c).toStdString();
  return table;
}

void CProg6::WriteTable(Kind kind, const TextTable& table) {
  CVSFlexGrid* grid = Grid(kind);
  for (int r = 0; r < table.rows(); ++r)
    for (int c = 0; c < table.cols(); ++c)
      grid->SetTextMatrix(grid->FixedRows() + r, grid->FixedCols() + c,
                          QString::fromStdString(table.at(r, c)));
}

annual::PageTexts CProg6::ReadTexts() const {
  annual::PageTexts texts;
  for (std::size_t i = 0; i < grids_.size(); ++i)
    if (shown_[i]) texts.tables[i] = ReadTable(static_cast<Kind>(i));
  texts.holidayEnabled = holidayEnabled_->isChecked();
  return texts;
}

void CProg6::MoveTo(Kind kind, CellPos cell) {
  CVSFlexGrid* grid = Grid(kind);
  grid->SetCurrentCell(grid->FixedRows() + cell.row, grid->FixedCols() + cell.col);
}

void CProg6::ShowFault(Kind kind, const Verdict& verdict) {
  CellPos fault;
  if (ShowVerdict(verdict, messages_, annual::KindCaption(kind), fault)) return;
  // A kind off screen passed its own check when it was left (the basic kind without its
  // messages), so the model holds what its grid showed and refilling it loses nothing.
  if (kind != current_) ShowKind(kind);
  MoveTo(kind, fault);
  Grid(kind)->setFocus();
}

bool CProg6::CheckAll(annual::BasicMessages basic) {
  Grid(current_)->CommitEdit();
  annual::KindVerdict result =
      annual::CheckAndStoreAll(ReadTexts(), calendar_.years, basic, model_);
  while (!result.verdict && result.kind == Kind::Period && SplitOverNewYear(result.verdict))
    result = annual::CheckAndStoreAll(ReadTexts(), calendar_.years, basic, model_);
  if (result.verdict) return true;
  ShowFault(result.kind, result.verdict);
  return false;
}

bool CProg6::SplitOverNewYear(const Verdict& verdict) {
  if (!shown_[Index(Kind::Period)]) return false;
  const std::optional<annual::NewYearSplit> split =
      annual::OfferNewYearSplit(ReadTable(Kind::Period), verdict, calendar_.years);
  if (!split || messages_.Show(split->question, annual::KindCaption(Kind::Period),
                               MsgButtons::YesNo, MsgIcon::Exclamation) != MsgAnswer::Yes)
    return false;
  WriteTable(Kind::Period, split->table);
  return true;
}

bool CProg6::Apply() { return CheckAll(annual::BasicMessages::Shown); }

bool CProg6::AltKey(int key) {
  if (key == Qt::Key_K) {
    Confirm();
    return true;
  }
  if (!HasRows(current_)) return false;
  switch (key) {
    case Qt::Key_C:
      Copy();
      return true;
    case Qt::Key_P:
      if (paste_->isEnabled()) Paste();
      return true;
    case Qt::Key_D:
      Delete();
      return true;
    default:
      return false;
  }
}

void CProg6::SelectedRows(int& first, int& last) const {
  const CVSFlexGrid* grid = Grid(current_);
  int col1, col2;
  grid->GetSelection(first, col1, last, col2);
  first -= grid->FixedRows();
  last -= grid->FixedRows();
}

void CProg6::Copy() {
  Grid(current_)->CommitEdit();
  int first, last;
  SelectedRows(first, last);
  const TextTable table = ReadTable(current_);
  if (current_ == Kind::Period)
    annual::CopyPeriods(table, first, last, clipboards_);
  else
    annual::CopyDates(table, first, last, clipboards_);
  UpdatePaste();
}

void CProg6::Paste() {
  CVSFlexGrid* grid = Grid(current_);
  grid->CommitEdit();
  int first, last;
  SelectedRows(first, last);
  TextTable table = ReadTable(current_);
  if (current_ == Kind::Period)
    annual::PastePeriods(clipboards_, names_, first, table);
  else
    annual::PasteDates(clipboards_, names_, first, table);
  WriteTable(current_, table);
  grid->setFocus();
}

void CProg6::Delete() {
  CVSFlexGrid* grid = Grid(current_);
  grid->CommitEdit();
  if (messages_.Show("選択行を削除します。よろしいですか？", annual::KindCaption(current_),
                     MsgButtons::OkCancel, MsgIcon::Exclamation) != MsgAnswer::Ok)
    return;
  int first, last;
  SelectedRows(first, last);
  TextTable table = ReadTable(current_);
  table.ClearRows(first, last);
  WriteTable(current_, table);
  MoveTo(current_, table.FirstEmptyCell());
  grid->setFocus();
}

void CProg6::Confirm() {
  if (!CheckAll(annual::BasicMessages::Skipped)) return;
  const YearPair& years = calendar_.years;
  BuildFullCalendar(years.currentYear, years, model_, calendar_.holidays, calendar_.calendars[0]);
  BuildFullCalendar(years.nextYear, years, model_, calendar_.holidays, calendar_.calendars[1]);
  confirm::Session session(calendar_.calendars, model_, years, calendar_.currentMonth);
  AnnualConfirmDialog dialog(session, names_, messages_, this);
  if (dialog.Run(calendar_.confirmX, calendar_.confirmY)) {
    // The calendar may have added individual settings, and every grid shown so far is stored
    // again on OK: each one is refilled, not only the one on screen, or an older grid would
    // write the dates back as they were.
    for (std::size_t i = 0; i < grids_.size(); ++i)
      if (shown_[i]) FillGrid(static_cast<Kind>(i));
    MarkFilled();
  }
  Grid(current_)->setFocus();
}

void CProg6::UpdatePaste() {
  const int rows = current_ == Kind::Period       ? clipboards_.periodCount
                   : current_ == Kind::Individual ? clipboards_.dateCount
                                                  : 0;
  paste_->setEnabled(rows > 0);
}

}  // namespace tavrin
