#include "editors/ui/NameListDialog.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

#include "editors/NameListRules.h"
#include "framework/ui/ControlIds.h"
#include "framework/ui/DialogParts.h"
#include "framework/ui/GridSetup.h"
#include "platform/CVSFlexGrid.h"
#include "platform/ControlNames.h"
#include "platform/UiFonts.h"

namespace tavrin {

NameListDialog::NameListDialog(const ScheduleModel& model, ProgramNameTable& names,
                               MessageSink& messages, QWidget* parent)
    : QDialog(parent), model_(model), names_(names), messages_(messages), opened_(model, names) {
  setWindowTitle(names::kCaption);
  setFont(UiGothicFont());
  grid_ = new CVSFlexGrid(this);
  grid_->setObjectName(ControlName(ids::kGrid));
  CVSFlexGrid& grid = *grid_;
  ShapeGrid(grid, kMaxProgram, names::kCols, {1400, 2100, 1000, 2260});
  const uint32_t number = Rgb(0x99, 0xCC, 0xFF);
  SetHeader(grid, 0, 0, "プログラム番号", number);
  SetHeader(grid, 0, 1, "プログラム名", Rgb(0x00, 0x80, 0xFF));
  SetHeader(grid, 0, 2, "ステップ数", Rgb(0xCC, 0x99, 0xFF));
  grid.SetTextMatrix(0, 3, "年間プログラム");
  for (int row = 1; row <= kMaxProgram; ++row)
    SetHeader(grid, row, 0, QString::number(row), number);
  grid.SetColAlignment(1, CVSFlexGrid::kAlignLeftCenter);

  const names::NameList list = names::Fill(model, names);
  WriteTable(grid, list.table);
  for (int row = 0; row < kMaxProgram; ++row)
    if (list.unused[static_cast<std::size_t>(row)])
      grid.SetCellForeColorAt(row + 1, 1 + names::kUsageCol, kRed);
  grid.SetEditable(CVSFlexGrid::kEditKeyboardMouse);
  FitGrid(grid, 20);
  MoveTo(grid, names::FirstCursor(list.table));
  filled_ = ShownNames();

  note_ = RefusalNoteLabel(this, grid_->width(), 2);

  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(new QLabel("プログラム名の編集が出来ます （半角で１６文字以内）", this));
  layout->addWidget(grid_);
  layout->addWidget(note_);
  AddOkCancel(*this, *layout);
  connect(grid_, &CVSFlexGrid::Click, this, &NameListDialog::OnClick);
  grid_->SetEditCheck([this](int, int, const QString& text) { return NameFits(text); });
  connect(grid_, &CVSFlexGrid::ChangeEdit, this, &NameListDialog::OnChangeEdit);
  connect(grid_, &CVSFlexGrid::AfterEdit, note_, &QLabel::clear);
  initialised_ = true;
}

std::vector<std::string> NameListDialog::ShownNames() const {
  const TextTable table = ReadShownTable(*grid_, kMaxProgram, names::kCols);
  std::vector<std::string> shown;
  for (int row = 0; row < table.rows(); ++row) shown.push_back(table.at(row, names::kNameCol));
  return shown;
}

void NameListDialog::OnClick() {
  if (!initialised_) return;
  int row1, col1, row2, col2;
  grid_->GetSelection(row1, col1, row2, col2);
  if (row1 != row2 || col1 != col2) return;
  grid_->SetEditable(col1 == 1 + names::kNameCol ? CVSFlexGrid::kEditKeyboardMouse
                                                 : CVSFlexGrid::kEditNone);
}

// The note comes as the character is typed, so the user learns why before the edit is refused.
void NameListDialog::OnChangeEdit() {
  note_->setText(QString::fromStdString(names::RefusalNote(grid_->EditText().toStdString())));
}

bool NameListDialog::NameFits(const QString& text) {
  // A character the name file cannot hold is refused where it is typed, and the note says which.
  const std::string note = names::RefusalNote(text.toStdString());
  if (!initialised_ || note.empty()) return true;
  note_->setText(QString::fromStdString(note));
  QApplication::beep();
  return false;
}

void NameListDialog::accept() {
  grid_->CommitEdit();
  if (grid_->IsEditing()) return;  // refused: the edit stays open under its note
  const TextTable table = ReadTable(*grid_, kMaxProgram, names::kCols);
  for (int row : names::OverlongNames(table, names_)) {
    if (messages_.Show(names::OverlongMessage(row), names::kCaption, MsgButtons::OkCancel,
                       MsgIcon::Exclamation) != MsgAnswer::Ok) {
      MoveTo(*grid_, {row, names::kNameCol});
      grid_->setFocus();
      return;
    }
  }
  names_ = names::Store(table, names_);
  QDialog::accept();
}

void NameListDialog::reject() {
  if (!MayDiscard(messages_, names::kCaption,
                  opened_.Changed(model_, names_, {filled_, ShownNames()})))
    return;
  QDialog::reject();
}

}  // namespace tavrin
