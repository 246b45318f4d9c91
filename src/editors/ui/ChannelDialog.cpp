#include "editors/ui/ChannelDialog.h"

#include <QLabel>
#include <QVBoxLayout>

#include "editors/ChannelRules.h"
#include "editors/ui/ChannelGrid.h"
#include "framework/ui/ControlIds.h"
#include "framework/ui/DialogParts.h"
#include "framework/ui/GridSetup.h"
#include "platform/CVSFlexGrid.h"
#include "platform/ControlNames.h"
#include "platform/UiFonts.h"

namespace tavrin {

ChannelDialog::ChannelDialog(ScheduleModel& model, int channel, MessageSink& messages,
                             QWidget* parent)
    : QDialog(parent), model_(model), channel_(channel), messages_(messages) {
  setWindowTitle("チャンネル設定");
  setFont(UiGothicFont());
  grid_ = new CVSFlexGrid(this);
  grid_->setObjectName(ControlName(ids::kGrid));
  BuildChannelGrid(*grid_, 1, channel, 1200);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(new QLabel("次のチャンネルを設定して下さい", this));
  layout->addWidget(grid_);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(CommandButton(this, ids::kReset, "リセット(&R)", [this] { Reset(); }));
  layout->addLayout(row);
  AddOkCancel(*this, *layout);

  TextTable table(1, channels::kCols);
  channels::FillRow(table, 0, model.channels[static_cast<std::size_t>(channel - 1)]);
  WriteTable(*grid_, table);
  MoveTo(*grid_, {0, channels::kTypeCol});
  ApplyChannelEditability(*grid_);
  connect(grid_, &CVSFlexGrid::AfterRowColChange, this, [this] {
    if (initialised_) ApplyChannelEditability(*grid_);
  });
  grid_->SetEditCheck([this](int row, int col, const QString& text) {
    TypeChosen(row, col, text);
    return true;
  });
  initialised_ = true;
}

void ChannelDialog::TypeChosen(int row, int col, const QString& typed) {
  if (!initialised_ || col != grid_->FixedCols() + channels::kTypeCol) return;
  // The type decides the rest of the row as soon as it is chosen.
  TextTable table = ReadChannelTable(*grid_);
  const int dataRow = row - grid_->FixedRows();
  if (typed == texts::kKeep) {
    channels::MarkKeepRow(table, dataRow);
  } else if (table.at(dataRow, channels::kTypeCol) == texts::kKeep) {
    for (int c = channels::kMinuteCol; c <= channels::kRiseCol; ++c) table.at(dataRow, c).clear();
  }
  for (int c = channels::kMinuteCol; c <= channels::kRiseCol; ++c)
    grid_->SetTextMatrix(row, grid_->FixedCols() + c, QString::fromStdString(table.at(dataRow, c)));
}

void ChannelDialog::Reset() {
  grid_->CancelEdit();
  grid_->SetEditable(CVSFlexGrid::kEditKeyboardMouse);
  WriteTable(*grid_, TextTable(1, channels::kCols));
  MoveTo(*grid_, {0, channels::kTypeCol});
  grid_->setFocus();
}

void ChannelDialog::accept() {
  grid_->CommitEdit();
  const TextTable table = ReadChannelTable(*grid_);
  CellPos fault;
  if (!ShowVerdict(channels::CheckDialogRow(table, 0), messages_, channels::kDialogCaption,
                   fault)) {
    MoveTo(*grid_, fault);
    grid_->setFocus();
    return;
  }
  model_.channels[static_cast<std::size_t>(channel_ - 1)] = channels::StoredRow(table, 0);
  QDialog::accept();
}

}  // namespace tavrin
