#include "editors/ui/CProg2.h"

#include <QGridLayout>
#include <QKeyEvent>

#include "editors/ChannelRules.h"
#include "editors/WeeklyGroups.h"
#include "editors/WeeklyListRules.h"
#include "editors/ui/ChannelDialog.h"
#include "editors/ui/NameListDialog.h"
#include "editors/ui/OverviewDialog.h"
#include "editors/ui/StepDialog.h"
#include "framework/ui/ControlIds.h"
#include "framework/ui/DialogParts.h"
#include "framework/ui/GridSetup.h"
#include "model/ShiftJis.h"
#include "platform/CVSFlexGrid.h"
#include "platform/ControlNames.h"

namespace tavrin {
namespace {

constexpr int kHeaderRows = 2;

}  // namespace

CProg2::CProg2(WeeklyContext context, QWidget* parent) : EditorPage(parent), context_(context) {
  grid_ = new CVSFlexGrid(this);
  grid_->setObjectName(ControlName(ids::kGrid));
  CVSFlexGrid& grid = *grid_;
  ShapeGrid(grid, kMaxProgram, kChannelCount, {1400, 800, 800, 800, 800, 800, 800, 800, 800},
            kHeaderRows);
  const uint32_t number = Rgb(0x99, 0xCC, 0xFF);
  SetHeader(grid, 1, 0, "プログラム番号", number);
  for (int ch = 1; ch <= kChannelCount; ++ch) {
    SetHeader(grid, 0, ch, QString("CH%1").arg(ch), Rgb(0xFF, 0xCC, 0x99));
    grid.SetCellBackColorAt(1, ch, Rgb(0xFF, 0xFF, 0x00));
    grid.SetColForeColor(ch, kBlue);
  }
  for (int p = 1; p <= kMaxProgram; ++p) SetHeader(grid, p + 1, 0, QString::number(p), number);
  FitGrid(grid, 16);

  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(11, 11, 11, 11);
  layout->addWidget(grid_, 1, 0, 1, 3);
  layout->addWidget(
      CommandButton(this, ids::kOverview, "週間プログラム一覧(&W)", [this] { ShowOverview(); }), 2,
      1);
  layout->addWidget(
      CommandButton(this, ids::kNameList, "プログラム名一覧・編集(&E)", [this] { ShowNameList(); }),
      2, 2);
  layout->setColumnStretch(0, 1);
  layout->setRowStretch(3, 1);
  connect(grid_, &CVSFlexGrid::MouseUp, this, &CProg2::OnMouseUp);
  connect(grid_, &CVSFlexGrid::Click, this, &CProg2::OnClick);
  grid_->installEventFilter(this);
}

QString CProg2::TabTitle() const { return "週間プログラムリスト"; }

void CProg2::Initialise() {
  initialised_ = false;
  Refill();
  initialised_ = true;
  grid_->setFocus();
}

void CProg2::Refill() {
  ScheduleModel& model = context_.model;
  for (int ch = 1; ch <= kChannelCount; ++ch) {
    const int kind = ChannelKindOf(model, ch);
    grid_->SetTextMatrix(1, ch, texts::ChannelKindName(kind));
  }
  // Names change in the step dialog and the name list, so the labels follow each refill.
  for (int p = 1; p <= kMaxProgram; ++p)
    grid_->SetTextMatrix(p + 1, 0, QString::fromStdString(ProgramChoice(context_.names, p)));
  weekly::DropStepsOfUnusedChannels(model);
  const weekly::ListMarks marks = weekly::Marks(model);
  const QString mark = QString::fromStdString(FromShiftJis(context_.ini.timeSignalMark));
  grid_->SetSpokenMark(mark);
  for (int p = 1; p <= kMaxProgram; ++p)
    for (int ch = 1; ch <= kChannelCount; ++ch)
      grid_->SetTextMatrix(p + 1, ch,
                           marks[p][static_cast<std::size_t>(ch - 1)] ? mark : QString());
  grid_->SetEditable(CVSFlexGrid::kEditNone);
  MoveTo(*grid_, weekly::FirstEmptyCell(marks));
}

bool CProg2::Apply() { return true; }

bool CProg2::AltKey(int key) {
  if (key == Qt::Key_W) {
    ShowOverview();
    return true;
  }
  if (key == Qt::Key_E) {
    ShowNameList();
    return true;
  }
  return false;
}

void CProg2::OnMouseUp(int button, int, int, int) {
  leftUpOnData_ = button == CVSFlexGrid::kLeftButton && grid_->MouseRow() >= grid_->FixedRows() &&
                  grid_->MouseCol() >= grid_->FixedCols();
}

void CProg2::OnClick() {
  if (!initialised_ || !leftUpOnData_) return;
  leftUpOnData_ = false;
  int row1, col1, row2, col2;
  grid_->GetSelection(row1, col1, row2, col2);
  if (row1 != row2 || col1 != col2) return;
  Pick(row1 - grid_->FixedRows() + 1, col1 - grid_->FixedCols() + 1);
}

bool CProg2::eventFilter(QObject* watched, QEvent* event) {
  // The keyboard's click on the cursor's cell. Taken on the press, not the release: the release of
  // the Enter that closed a step dialog lands here and must not open the next one.
  if (watched != grid_ || event->type() != QEvent::KeyPress || !initialised_)
    return EditorPage::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  const bool opens =
      key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space;
  if (!opens || key->isAutoRepeat() || (key->modifiers() & ~Qt::KeypadModifier) != 0)
    return EditorPage::eventFilter(watched, event);
  Pick(grid_->Row() - grid_->FixedRows() + 1, grid_->Col() - grid_->FixedCols() + 1);
  return true;
}

void CProg2::Pick(int program, int channel) {
  if (ChannelKindOf(context_.model, channel) == kChannelUnused) {
    ChannelDialog setup(context_.model, channel, context_.messages, this);
    if (setup.exec() != QDialog::Accepted) return;
    Refill();
  }
  const int kind = ChannelKindOf(context_.model, channel);
  if (kind == kChannelUnused) return;
  const int rows = weekly::StepRows(context_.model, program, channel, kind);
  if (rows == 0) {
    context_.messages.Show(weekly::kFullMessage, weekly::kListCaption, MsgButtons::Ok,
                           MsgIcon::Exclamation);
    return;
  }
  StepDialog dialog(context_, program, channel, kind, rows, this);
  WindowPos& position = context_.positions.stepDialog;
  RunAtStoredPosition(dialog, position.x, position.y);
  Refill();
}

void CProg2::ShowOverview() {
  OverviewDialog overview(context_.model, context_.ini, this);
  WindowPos& position = context_.positions.overview;
  RunAtStoredPosition(overview, position.x, position.y);
}

void CProg2::ShowNameList() {
  NameListDialog list(context_.model, context_.names, context_.messages, this);
  WindowPos& position = context_.positions.nameList;
  RunAtStoredPosition(list, position.x, position.y);
  Refill();
}

}  // namespace tavrin
