#include "editors/ui/OverviewDialog.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "editors/OverviewRules.h"
#include "framework/ui/ControlIds.h"
#include "framework/ui/DialogParts.h"
#include "framework/ui/GridSetup.h"
#include "model/ShiftJis.h"
#include "platform/CVSFlexGrid.h"
#include "platform/ControlNames.h"
#include "platform/UiFonts.h"

namespace tavrin {

OverviewDialog::OverviewDialog(const ScheduleModel& model, const IniSettings& ini, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle("週間プログラム一覧");
  setFont(UiGothicFont());
  grid_ = new CVSFlexGrid(this);
  grid_->setObjectName(ControlName(ids::kGrid));
  CVSFlexGrid& grid = *grid_;
  ShapeGrid(grid, kStepCount, overview::kCols,
            {1000, 1300, 1000, 1000, 1300, 380, 380, 380, 380, 380, 380, 380, 2350});
  const uint32_t number = Rgb(0xCC, 0x99, 0xFF);
  const uint32_t time = Rgb(0xCC, 0xFF, 0xCC);
  SetHeader(grid, 0, 0, "ステップ", number);
  SetHeader(grid, 0, 1, "プログラム番号", Rgb(0x99, 0xCC, 0xFF));
  SetHeader(grid, 0, 2, "時刻(時）", time);
  SetHeader(grid, 0, 3, "時刻(分）", time);
  SetHeader(grid, 0, 4, "チャンネル番号", Rgb(0xFF, 0xCC, 0x99));
  for (int day = 0; day < 7; ++day)
    SetHeader(grid, 0, 5 + day, texts::kWeekdays[day], DayColour(day));
  SetHeader(grid, 0, 12, "設定", Rgb(0xFF, 0xFF, 0x00));
  for (int row = 1; row <= kStepCount; ++row) SetHeader(grid, row, 0, QString::number(row), number);
  for (int day = 0; day < 7; ++day) grid.SetColForeColor(5 + day, kBlue);
  grid.SetColAlignment(1 + overview::kSettingCol, CVSFlexGrid::kAlignLeftCenter);

  const std::string dayMark = FromShiftJis(ini.dayMark);
  grid.SetSpokenMark(QString::fromStdString(dayMark));
  const std::vector<overview::Row> rows = overview::Rows(model, ini, dayMark);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    for (int col = 0; col < overview::kCols; ++col)
      grid.SetTextMatrix(row, col + 1, QString::fromStdString(rows[i].cells[col]));
    grid.SetCellForeColorAt(row, 1 + overview::kChannelCol, rows[i].timeSignal ? kBlue : kRed);
  }
  grid.SetEditable(CVSFlexGrid::kEditNone);
  FitGrid(grid, 20);
  MoveTo(grid, {0, 0});

  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(grid_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(CommandButton(this, ids::kClose, "閉じる(&C)", [this] { accept(); }));
  layout->addLayout(buttons);
}

}  // namespace tavrin
