#include "calendar/ui/AnnualConfirmDialog.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolTip>
#include <QVBoxLayout>
#include <utility>

#include "framework/ui/ControlIds.h"
#include "framework/ui/DialogParts.h"
#include "model/ScheduleTexts.h"
#include "platform/CVSFlexGrid.h"
#include "platform/ControlNames.h"
#include "platform/DialogButtons.h"
#include "platform/UiFonts.h"
#include "platform/UpDownControl.h"

namespace tavrin {
namespace {

constexpr int kRowTwips = 300;
constexpr int kDayColTwips = 900;
// Where the dialog opens when its stored corner lies on no screen.
constexpr QPoint kDefaultCorner(150, 100);

QColor FromRgb(uint32_t rgb) { return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }

QLineEdit* NumberField(int id, int width, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(ControlName(id));
  field->setReadOnly(true);
  field->setAlignment(Qt::AlignRight);
  field->setFixedWidth(width);
  return field;
}

QLabel* LegendLabel(const char* text, uint32_t rgb, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, FromRgb(rgb));
  label->setPalette(palette);
  return label;
}

}  // namespace

AnnualConfirmDialog::AnnualConfirmDialog(confirm::Session& session, const ProgramNameTable& names,
                                         MessageSink& messages, QWidget* parent)
    : QDialog(parent),
      session_(session),
      names_(names),
      messages_(messages),
      opened_(session.model(), names) {
  setFont(UiGothicFont());
  setWindowTitle(confirm::kCaption);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);

  year_ = NumberField(ids::confirmation::kYear, 48, this);
  month_ = NumberField(ids::confirmation::kMonth, 32, this);
  yearUpDown_ = new UpDownControl(year_, this);
  yearUpDown_->setObjectName(ControlName(ids::confirmation::kYearUpDown));
  yearUpDown_->SetRange(session.years().currentYear, session.years().nextYear);
  monthUpDown_ = new UpDownControl(month_, this);
  monthUpDown_->setObjectName(ControlName(ids::confirmation::kMonthUpDown));
  monthUpDown_->SetRange(1, 12);
  connect(year_, &QLineEdit::textChanged, this, &AnnualConfirmDialog::FieldEdited);
  connect(month_, &QLineEdit::textChanged, this, &AnnualConfirmDialog::FieldEdited);
  auto* fields = new QHBoxLayout;
  fields->setSpacing(2);
  fields->addWidget(year_);
  fields->addWidget(yearUpDown_);
  fields->addWidget(new QLabel("年", this));
  fields->addSpacing(16);
  fields->addWidget(month_);
  fields->addWidget(monthUpDown_);
  fields->addWidget(new QLabel("月", this));
  fields->addStretch();

  grid_ = new CVSFlexGrid(this);
  grid_->setObjectName(ControlName(ids::confirmation::kGrid));
  BuildGrid();
  grid_->viewport()->installEventFilter(this);

  QDialogButtonBox* buttons = OkCancelButtons(*this);
  ok_ = FindControl<QPushButton>(buttons, kIdOk);
  // Leaving a half-typed day for Cancel must not first be answered by its check.
  grid_->DropEditOnFocusTo(FindControl<QPushButton>(buttons, kIdCancel));

  auto* bottom = new QHBoxLayout;
  bottom->setSpacing(14);
  bottom->addWidget(LegendLabel("黒 ： 期間設定", confirm::kPeriodText, this));
  bottom->addWidget(LegendLabel("赤 ： 祭日設定", confirm::kHolidayText, this));
  bottom->addWidget(LegendLabel("青 ： 個別設定", confirm::kIndividualText, this));
  bottom->addWidget(LegendLabel("灰色 ： 基本設定", confirm::kBasicText, this));
  bottom->addStretch();
  bottom->addWidget(buttons);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(11, 11, 11, 11);
  layout->setSpacing(8);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addLayout(fields);
  layout->addWidget(grid_);
  layout->addLayout(bottom);

  connect(grid_, &CVSFlexGrid::AfterRowColChange, this,
          [this](int, int, int row, int col) { CurrentCellChanged(row, col); });
  grid_->SetLeaveCheck([this](int row, int col, int, int) {
    return !Refused(row, col, grid_->TextMatrix(row, col).toStdString());
  });
  connect(grid_, &CVSFlexGrid::BeforeEdit, this, &AnnualConfirmDialog::EditStarting);
  grid_->SetEditCheck([this](int row, int col, const QString& text) {
    return !Refused(row, col, text.toStdString());
  });
  connect(grid_, &CVSFlexGrid::AfterEdit, this, &AnnualConfirmDialog::EditStored);

  ShowFields();
  ShowMonth();
  busy_ = false;
  CurrentCellChanged(grid_->Row(), grid_->Col());
}

void AnnualConfirmDialog::BuildGrid() {
  grid_->SetFixedRows(1);
  grid_->SetFixedCols(0);  // Sunday is a day like the others
  grid_->SetRows(1 + confirm::kSheetRows);
  grid_->SetCols(confirm::kSheetCols);
  for (int r = 0; r < grid_->Rows(); ++r) grid_->SetRowHeight(r, kRowTwips);
  for (int c = 0; c < grid_->Cols(); ++c) {
    grid_->SetColWidth(c, kDayColTwips);
    grid_->SetTextMatrix(0, c, QString::fromUtf8(texts::kWeekdays[c]));
  }
  for (int r = 0; r < grid_->Rows(); ++r)
    for (int c = 0; c < grid_->Cols(); ++c) {
      grid_->SetCurrentCell(r, c);
      grid_->SetCellAlignment(CVSFlexGrid::kAlignCenterCenter);
      if (r == 0) grid_->SetCellBackColor(confirm::ColumnBackground(c));
    }
  int width = 2 * grid_->frameWidth();
  int height = width;
  for (int c = 0; c < grid_->Cols(); ++c) width += grid_->ColWidthPixels(c);
  for (int r = 0; r < grid_->Rows(); ++r) height += grid_->RowHeightPixels(r);
  grid_->setFixedSize(width, height);
}

bool AnnualConfirmDialog::Run(int& x, int& y) {
  adjustSize();
  QPoint corner(x, y);
  if (!QGuiApplication::screenAt(corner + QPoint(40, 10))) corner = kDefaultCorner;
  move(corner);
  const int result = exec();
  x = pos().x();
  y = pos().y();
  return result == QDialog::Accepted;
}

void AnnualConfirmDialog::ShowFields() {
  const bool wasBusy = std::exchange(busy_, true);
  year_->setText(QString::number(session_.year()));
  month_->setText(QString::number(session_.month()));
  busy_ = wasBusy;
}

void AnnualConfirmDialog::PutCell(int row, int col, const confirm::SheetCell& cell) {
  grid_->SetCurrentCell(row, col);
  grid_->SetTextMatrix(row, col, QString::fromStdString(cell.text));
  grid_->SetCellBackColor(cell.back);
  grid_->SetCellForeColor(cell.fore);
  grid_->SetCellFontBold(cell.bold);
}

void AnnualConfirmDialog::ShowMonth() {
  const bool wasBusy = std::exchange(busy_, true);
  grid_->CancelEdit();
  const confirm::MonthSheet sheet = confirm::LayOutMonth(session_.Shown(), session_.basicProgram());
  for (int r = 0; r < confirm::kSheetRows; ++r)
    for (int c = 0; c < confirm::kSheetCols; ++c) PutCell(1 + r, c, sheet[r][c]);
  filled_ = ProgramTexts();
  grid_->SetCurrentCell(1, 0);
  busy_ = wasBusy;
  CurrentCellChanged(1, 0);
  ok_->setFocus();
}

std::optional<int> AnnualConfirmDialog::DayAt(int row, int col) const {
  if (row < 1) return std::nullopt;
  return confirm::DayOfProgramCell(session_.Shown(), {row - 1, col});
}

std::vector<std::string> AnnualConfirmDialog::ProgramTexts(bool withOpenEdit) const {
  const MonthCalendar& month = session_.Shown();
  std::vector<std::string> texts;
  for (int day = 1; day <= month.dayCount; ++day) {
    const CellPos at = confirm::DayCellOf(month, day);
    const int row = at.row + 2;
    const std::string typed = grid_->EditText().toStdString();
    // A number the calendar refuses is no work to lose: it could never be stored.
    const bool edited = withOpenEdit && grid_->IsEditing() && grid_->Row() == row &&
                        grid_->Col() == at.col &&
                        (typed.empty() || confirm::ValidProgramText(typed));
    texts.push_back(edited ? typed : grid_->TextMatrix(row, at.col).toStdString());
  }
  return texts;
}

QString AnnualConfirmDialog::TipAt(QPoint pos) const {
  for (int row = 2; row < grid_->Rows(); row += 2)
    for (int col = 0; col < grid_->Cols(); ++col) {
      if (!grid_->CellRect(row, col).contains(pos)) continue;
      const std::optional<int> day = DayAt(row, col);
      if (!day) return {};
      return QString::fromStdString(confirm::ProgramTip(grid_->TextMatrix(row, col).toStdString(),
                                                        session_.Shown().cells[*day - 1],
                                                        session_.basicProgram(), names_));
    }
  return {};
}

bool AnnualConfirmDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_->viewport() && event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = TipAt(help->pos());
    if (tip.isEmpty())
      QToolTip::hideText();
    else
      QToolTip::showText(help->globalPos(), tip, grid_->viewport());
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void AnnualConfirmDialog::ShowFault(const Verdict& verdict) {
  messages_.Show(verdict.message(), confirm::kCaption, MsgButtons::Ok, MsgIcon::Exclamation);
  const bool wasBusy = std::exchange(busy_, true);
  grid_->SetCurrentCell(1 + verdict.cell().row, verdict.cell().col);
  busy_ = wasBusy;
  CurrentCellChanged(grid_->Row(), grid_->Col());
  grid_->setFocus();
}

bool AnnualConfirmDialog::LeaveMonth() {
  const std::vector<std::string> texts = ProgramTexts();
  if (Verdict checked = session_.CheckMonth(texts); !checked) {
    ShowFault(checked);
    return false;
  }
  if (Verdict applied = session_.ApplyMonth(texts); !applied) {
    // The day that found no free slot shows what it still has.
    const CellPos cell = applied.cell();
    const bool wasBusy = std::exchange(busy_, true);
    PutCell(1 + cell.row, cell.col,
            confirm::LayOutMonth(session_.Shown(), session_.basicProgram())[cell.row][cell.col]);
    busy_ = wasBusy;
    ShowFault(applied);
    return false;
  }
  return true;
}

void AnnualConfirmDialog::FieldEdited() {
  if (busy_) return;
  grid_->CommitEdit();
  if (grid_->IsEditing() || !LeaveMonth()) {
    ShowFields();
    return;
  }
  session_.Show(year_->text().toInt(), month_->text().toInt());
  ShowFields();
  ShowMonth();
  busy_ = false;
  CurrentCellChanged(grid_->Row(), grid_->Col());
}

void AnnualConfirmDialog::accept() {
  grid_->CommitEdit();
  if (grid_->IsEditing() || !LeaveMonth()) return;
  QDialog::accept();
}

void AnnualConfirmDialog::reject() {
  if (!MayDiscard(messages_, confirm::kCaption,
                  opened_.Changed(session_.model(), names_, {filled_, ProgramTexts(true)})))
    return;
  grid_->CancelEdit();
  session_.Restore();
  QDialog::reject();
}

void AnnualConfirmDialog::CurrentCellChanged(int row, int col) {
  if (busy_) return;
  grid_->SetEditable(DayAt(row, col) ? CVSFlexGrid::kEditKeyboardMouse : CVSFlexGrid::kEditNone);
}

bool AnnualConfirmDialog::Refused(int row, int col, const std::string& text) {
  const std::optional<int> day = DayAt(row, col);
  if (busy_ || !day || text.empty() || confirm::ValidProgramText(text)) return false;
  messages_.Show(confirm::InvalidProgramMessage(session_.year(), session_.month(), *day),
                 confirm::kCaption, MsgButtons::Ok, MsgIcon::Exclamation);
  return true;
}

void AnnualConfirmDialog::EditStarting(int row, int col) {
  textBeforeEdit_ = grid_->TextMatrix(row, col);
}

void AnnualConfirmDialog::EditStored(int row, int col) {
  const std::optional<int> day = DayAt(row, col);
  if (busy_ || !day) return;
  const confirm::SheetCell cell = confirm::EditedProgramCell(
      grid_->TextMatrix(row, col).toStdString(), textBeforeEdit_.toStdString(),
      session_.Opened().cells[*day - 1], session_.basicProgram());
  PutCell(row, col, cell);
}

}  // namespace tavrin
