#include "editors/ui/CProg1.h"

#include <QGridLayout>
#include <QPushButton>

#include "editors/ChannelRules.h"
#include "editors/ui/ChannelGrid.h"
#include "framework/ui/ControlIds.h"
#include "framework/ui/DialogParts.h"
#include "framework/ui/GridSetup.h"
#include "platform/CVSFlexGrid.h"
#include "platform/ControlNames.h"

namespace tavrin {

CProg1::CProg1(ScheduleModel& model, MessageSink& messages, EditorClipboards& clipboards,
               QWidget* parent)
    : EditorPage(parent), model_(model), messages_(messages), clipboards_(clipboards) {
  grid_ = new CVSFlexGrid(this);
  grid_->setObjectName(ControlName(ids::kGrid));
  BuildChannelGrid(*grid_, kChannelCount, 1, 1315);
  QPushButton* copy = CommandButton(this, ids::kCopy, "コピー(&C)", [this] { CopyRows(); });
  paste_ = CommandButton(this, ids::kPaste, "貼り付け(&P)", [this] { PasteRows(); });
  QPushButton* remove = CommandButton(this, ids::kDelete, "削除(&D)", [this] { DeleteRows(); });

  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(11, 11, 11, 11);
  layout->addWidget(grid_, 1, 0, 1, 4);
  layout->addWidget(copy, 2, 1);
  layout->addWidget(paste_, 2, 2);
  layout->addWidget(remove, 2, 3);
  layout->setColumnStretch(0, 1);
  layout->setRowStretch(3, 1);
  connect(grid_, &CVSFlexGrid::AfterRowColChange, this, &CProg1::OnCellChange);
}

QString CProg1::TabTitle() const { return "チャンネル設定リスト"; }

void CProg1::Initialise() {
  initialised_ = false;
  grid_->CancelEdit();
  WriteTable(*grid_, channels::Fill(model_));
  PlaceCursor();
  paste_->setEnabled(clipboards_.channelCount > 0);
  initialised_ = true;
  MarkFilled();
  grid_->setFocus();
}

std::vector<std::string> CProg1::ScreenTexts() const {
  return ReadShownTable(*grid_, kChannelCount, channels::kCols).cells();
}

void CProg1::PlaceCursor() {
  channels::CursorPlace place = channels::PlaceCursor(ReadChannelTable(*grid_));
  MoveTo(*grid_, place.cell);
  if (place.readOnly)
    grid_->SetEditable(CVSFlexGrid::kEditNone);
  else
    ApplyChannelEditability(*grid_);
}

void CProg1::OnCellChange(int oldRow, int, int newRow, int) {
  if (!initialised_) return;
  if (oldRow != newRow && oldRow >= grid_->FixedRows()) {
    const int row = oldRow - grid_->FixedRows();
    TextTable table = ReadChannelTable(*grid_);
    if (table.at(row, channels::kTypeCol) == texts::kKeep) {
      channels::MarkKeepRow(table, row);
      WriteTable(*grid_, table);
    }
  }
  ApplyChannelEditability(*grid_);
}

bool CProg1::Apply() {
  grid_->CommitEdit();
  TextTable table = ReadChannelTable(*grid_);
  CellPos fault;
  if (!ShowVerdict(channels::CheckPage(table), messages_, channels::kPageCaption, fault)) {
    MoveTo(*grid_, fault);
    grid_->setFocus();
    return false;
  }
  channels::Store(table, model_);
  return true;
}

bool CProg1::AltKey(int key) {
  switch (key) {
    case Qt::Key_C:
      CopyRows();
      return true;
    case Qt::Key_P:
      if (paste_->isEnabled()) PasteRows();
      return true;
    case Qt::Key_D:
      DeleteRows();
      return true;
    default:
      return false;
  }
}

void CProg1::CopyRows() {
  grid_->CommitEdit();
  int row1, col1, row2, col2;
  grid_->GetSelection(row1, col1, row2, col2);
  channels::Copy(ReadChannelTable(*grid_), row1 - grid_->FixedRows(), row2 - grid_->FixedRows(),
                 clipboards_);
  paste_->setEnabled(clipboards_.channelCount > 0);
}

void CProg1::PasteRows() {
  grid_->CommitEdit();
  int row1, col1, row2, col2;
  grid_->GetSelection(row1, col1, row2, col2);
  TextTable table = ReadChannelTable(*grid_);
  Result<void> pasted = channels::Paste(table, row1 - grid_->FixedRows(), clipboards_);
  if (!pasted) {
    messages_.Show(pasted.message(), channels::kPageCaption, MsgButtons::Ok, MsgIcon::Exclamation);
    return;
  }
  WriteTable(*grid_, table);
  // The pasted rows change what may be edited where the cursor stands.
  ApplyChannelEditability(*grid_);
  grid_->setFocus();
}

void CProg1::DeleteRows() {
  grid_->CommitEdit();
  if (!ConfirmDelete(messages_, channels::kPageCaption)) return;
  int row1, col1, row2, col2;
  grid_->GetSelection(row1, col1, row2, col2);
  TextTable table = ReadChannelTable(*grid_);
  table.ClearRows(row1 - grid_->FixedRows(), row2 - grid_->FixedRows());
  WriteTable(*grid_, table);
  // Whatever column the selection began in, an emptied row takes only a type now.
  ApplyChannelEditability(*grid_);
  grid_->setFocus();
}

}  // namespace tavrin
