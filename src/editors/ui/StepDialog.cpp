#include "editors/ui/StepDialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "editors/ChannelRules.h"
#include "editors/NameListRules.h"
#include "editors/StepSort.h"
#include "framework/ui/ConfirmationForm.h"
#include "framework/ui/ControlIds.h"
#include "framework/ui/DialogParts.h"
#include "framework/ui/GridSetup.h"
#include "model/ShiftJis.h"
#include "platform/CVSFlexGrid.h"
#include "platform/ControlNames.h"
#include "platform/UiFonts.h"

namespace tavrin {
namespace {

constexpr int kOpeningDelayMs = 100;

}  // namespace

StepDialog::StepDialog(WeeklyContext& context, int program, int channel, int kind, int rows,
                       QWidget* parent)
    : QDialog(parent),
      context_(context),
      program_(program),
      channel_(channel),
      kind_(kind),
      choices_(kind, context.ini),
      dayMark_(FromShiftJis(context.ini.dayMark)),
      sheet_(steps::Fill(context.model, program, channel, choices_, dayMark_, std::max(rows, 1))),
      stepsAtOpening_(std::make_unique<std::array<WeeklyStep, kStepCount>>(context.model.steps)),
      nameAtOpening_(context.names.names[static_cast<std::size_t>(program)]) {
  setWindowTitle(steps::kCaption);
  setFont(UiGothicFont());
  grid_ = new CVSFlexGrid(this);
  grid_->setObjectName(ControlName(ids::kGrid));
  BuildGrid(sheet_.table.rows());
  WriteSheet();

  name_ = new QLineEdit(QString::fromStdString(steps::NameForEdit(context.names, program)), this);
  name_->setObjectName(ControlName(ids::kName));
  name_->setFixedWidth(150);
  // One line: the step grid is wide enough for a note naming a few characters.
  nameNote_ = RefusalNoteLabel(this, grid_->width(), 1);
  connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) {
    // The refused character is taken out at once; the note says which it was until the next edit.
    const std::string typed = text.toStdString();
    nameNote_->setText(QString::fromStdString(steps::NameNote(typed)));
    const QString kept = QString::fromStdString(steps::NameInput(typed));
    if (kept == text) return;
    QApplication::beep();
    name_->setText(kept);
  });

  auto* fields = new QHBoxLayout;
  fields->addWidget(new QLabel("週間プログラム番号", this));
  fields->addWidget(ReadOnlyField(this, ids::kProgram, QString::number(program), 40));
  fields->addWidget(new QLabel("名称", this));
  fields->addWidget(name_);
  fields->addWidget(new QLabel("チャンネル番号", this));
  fields->addWidget(ReadOnlyField(this, ids::kChannel, QString::number(channel), 30));
  fields->addWidget(ReadOnlyField(this, ids::kKind,
                                  kind == kChannelKeep ? texts::kKeep : texts::kTimeSignal, 60));
  fields->addStretch();

  auto* commands = new QHBoxLayout;
  commands->addWidget(CommandButton(this, ids::kCopy, "コピー(&C)", [this] { CopyRows(); }));
  paste_ = CommandButton(this, ids::kPaste, "貼り付け(&P)", [this] { PasteRows(); });
  commands->addWidget(paste_);
  commands->addWidget(CommandButton(this, ids::kDelete, "削除(&D)", [this] { DeleteRows(); }));
  commands->addWidget(CommandButton(this, ids::kConfirm, "確認(&K)", [this] { Confirm(); }));
  commands->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addLayout(fields);
  layout->addWidget(nameNote_);
  layout->addWidget(grid_);
  layout->addLayout(commands);
  AddOkCancel(*this, *layout);

  // The grid answers the mouse and the cursor only once the window is up.
  QTimer::singleShot(kOpeningDelayMs, this, [this] {
    ready_ = true;
    MoveTo(*grid_, {steps::FirstEmptyRow(sheet_.table), 0});
    UpdateEditability();
    grid_->setFocus();
    emit ReadyForInput();
  });
  CompactAndSortSteps(context.model);
  opened_ = std::make_unique<OpenedState>(context.model, context.names);
  filled_ = ScreenTexts();
  paste_->setEnabled(steps::CanPaste(
      kind == kChannelKeep ? context.clipboards.keepSteps : context.clipboards.timeSignalSteps,
      kind));
  connect(grid_, &CVSFlexGrid::AfterRowColChange, this, &StepDialog::OnCellChange);
  connect(grid_, &CVSFlexGrid::MouseUp, this, &StepDialog::OnMouseUp);
  connect(grid_, &CVSFlexGrid::KeyUp, this, &StepDialog::OnKeyUp);
  connect(grid_, &CVSFlexGrid::AfterEdit, this, &StepDialog::OnAfterEdit);
}

void StepDialog::BuildGrid(int rows) {
  CVSFlexGrid& grid = *grid_;
  ShapeGrid(grid, rows, steps::kCols, {1000, 400, 400, 400, 400, 400, 400, 400, 1000, 1000, 2350});
  const uint32_t number = Rgb(0xCC, 0x99, 0xFF);
  const uint32_t time = Rgb(0xCC, 0xFF, 0xCC);
  SetHeader(grid, 0, 0, "ステップ", number);
  for (int day = 0; day < steps::kDayCols; ++day)
    SetHeader(grid, 0, 1 + day, texts::kWeekdays[day], DayColour(day));
  SetHeader(grid, 0, 1 + steps::kHourCol, "時刻（時）", time);
  SetHeader(grid, 0, 1 + steps::kMinuteCol, "時刻（分）", time);
  SetHeader(grid, 0, 1 + steps::kActionCol, QString::fromStdString(choices_.header()),
            Rgb(0xFF, 0xFF, 0x00));
  for (int row = 1; row <= rows; ++row) SetHeader(grid, row, 0, QString::number(row), number);
  for (int day = 0; day < steps::kDayCols; ++day) grid.SetColForeColor(1 + day, kBlue);
  for (int col = 0; col < steps::kCols; ++col)
    grid.SetColList(1 + col, steps::ColumnChoices(col, choices_));
  if (kind_ == kChannelTimeSignal)
    grid.SetColAlignment(1 + steps::kActionCol, CVSFlexGrid::kAlignLeftCenter);
  FitGrid(grid, 15);
}

void StepDialog::WriteSheet() { WriteTable(*grid_, sheet_.table); }

void StepDialog::ReadSheet() {
  grid_->CommitEdit();
  sheet_.table = ReadTable(*grid_, sheet_.table.rows(), steps::kCols);
}

void StepDialog::UpdateEditability() {
  const CellPos cell = Cursor(*grid_);
  grid_->SetEditable(cell.col >= steps::kHourCol ? CVSFlexGrid::kEditKeyboardMouse
                                                 : CVSFlexGrid::kEditNone);
}

std::vector<std::string> StepDialog::ScreenTexts() const {
  std::vector<std::string> texts =
      ReadShownTable(*grid_, sheet_.table.rows(), steps::kCols).cells();
  texts.push_back(name_->text().toStdString());
  return texts;
}

void StepDialog::OnAfterEdit(int row, int col) {
  if (col - grid_->FixedCols() == steps::kActionCol) sheet_.ActionEdited(row - grid_->FixedRows());
}

void StepDialog::OnCellChange(int, int, int, int) {
  if (ready_) UpdateEditability();
}

void StepDialog::ToggleAt(CellPos cell) {
  if (cell.row < 0 || cell.col < 0 || cell.col >= steps::kDayCols) return;
  const QString text =
      grid_->TextMatrix(grid_->FixedRows() + cell.row, grid_->FixedCols() + cell.col);
  grid_->SetTextMatrix(grid_->FixedRows() + cell.row, grid_->FixedCols() + cell.col,
                       text.isEmpty() ? QString::fromStdString(dayMark_) : QString());
}

void StepDialog::OnMouseUp(int button, int, int, int) {
  if (!ready_ || button != CVSFlexGrid::kLeftButton) return;
  if (grid_->MouseRow() < grid_->FixedRows() || grid_->MouseCol() < grid_->FixedCols()) return;
  int row1, col1, row2, col2;
  grid_->GetSelection(row1, col1, row2, col2);
  if (row1 != row2) return;
  ToggleAt({row1 - grid_->FixedRows(), col1 - grid_->FixedCols()});
}

void StepDialog::OnKeyUp(int* key, int) {
  if (!ready_ || *key != Qt::Key_Space) return;
  ToggleAt(Cursor(*grid_));
  *key = 0;  // the toggle is the space key's whole effect
}

bool StepDialog::CheckAndCommit() {
  ReadSheet();
  CellPos fault;
  if (!ShowVerdict(steps::Check(sheet_.table, kind_), context_.messages, steps::kCaption, fault)) {
    MoveTo(*grid_, fault);
    grid_->setFocus();
    return false;
  }
  steps::Commit(sheet_, choices_, program_, channel_,
                steps::NameToStore(context_.names, program_, name_->text().toStdString()),
                context_.model, context_.names);
  return true;
}

void StepDialog::accept() {
  if (CheckAndCommit()) QDialog::accept();
}

void StepDialog::reject() {
  if (!MayDiscard(context_.messages, steps::kCaption,
                  opened_->Changed(context_.model, context_.names, {filled_, ScreenTexts()})))
    return;
  // What "確認(&K)" committed goes as well: the dialog leaves the model as it found it.
  context_.model.steps = *stepsAtOpening_;
  context_.names.names[static_cast<std::size_t>(program_)] = nameAtOpening_;
  QDialog::reject();
}

void StepDialog::Confirm() {
  if (!CheckAndCommit()) return;
  ConfirmationForm form(context_.model, context_.names, context_.ini, program_, channel_, kind_,
                        this);
  WindowPos& position = context_.positions.confirmation;
  RunAtStoredPosition(form, position.x, position.y);
  grid_->setFocus();
}

void StepDialog::CopyRows() {
  ReadSheet();
  int row1, col1, row2, col2;
  grid_->GetSelection(row1, col1, row2, col2);
  StepClipboard& clipboard =
      kind_ == kChannelKeep ? context_.clipboards.keepSteps : context_.clipboards.timeSignalSteps;
  steps::Copy(sheet_, row1 - grid_->FixedRows(), row2 - grid_->FixedRows(), choices_, program_,
              clipboard);
  paste_->setEnabled(steps::CanPaste(clipboard, kind_));
}

void StepDialog::PasteRows() {
  const StepClipboard& clipboard =
      kind_ == kChannelKeep ? context_.clipboards.keepSteps : context_.clipboards.timeSignalSteps;
  if (!steps::CanPaste(clipboard, kind_)) return;
  ReadSheet();
  int row1, col1, row2, col2;
  grid_->GetSelection(row1, col1, row2, col2);
  steps::Paste(sheet_, row1 - grid_->FixedRows(), clipboard, choices_, dayMark_);
  WriteSheet();
  MoveTo(*grid_, {row1 - grid_->FixedRows(), col1 - grid_->FixedCols()});
  grid_->setFocus();
}

void StepDialog::DeleteRows() {
  ReadSheet();
  if (!ConfirmDelete(context_.messages, steps::kCaption)) return;
  int row1, col1, row2, col2;
  grid_->GetSelection(row1, col1, row2, col2);
  sheet_.ClearRows(row1 - grid_->FixedRows(), row2 - grid_->FixedRows());
  WriteSheet();
  MoveTo(*grid_, {steps::FirstEmptyRow(sheet_.table), 0});
  UpdateEditability();
  grid_->setFocus();
}

}  // namespace tavrin
