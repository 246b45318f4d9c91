// The weekly program dialog: the steps of one program on one channel, and the program's name.
#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "editors/OpenedState.h"
#include "editors/StepRules.h"
#include "editors/ui/WeeklyWindows.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tavrin {

class CVSFlexGrid;

class StepDialog : public QDialog {
  Q_OBJECT

 public:
  // Rows for the program's steps and every free slot (weekly::StepRows, at least 1).
  StepDialog(WeeklyContext& context, int program, int channel, int kind, int rows,
             QWidget* parent = nullptr);

  CVSFlexGrid* Grid() const { return grid_; }
  QLineEdit* NameField() const { return name_; }
  // True once the opening timer has fired and the grid answers the mouse.
  bool Ready() const { return ready_; }

  void accept() override;
  // Escape, "キャンセル" and the close box: asks first when work done here would be lost.
  void reject() override;
  void CopyRows();
  void PasteRows();
  void DeleteRows();
  void Confirm();

 signals:
  void ReadyForInput();

 private:
  void BuildGrid(int rows);
  void WriteSheet();
  void ReadSheet();
  bool CheckAndCommit();
  void OnCellChange(int oldRow, int oldCol, int newRow, int newCol);
  void OnMouseUp(int button, int shift, int x, int y);
  void OnKeyUp(int* key, int shift);
  void OnAfterEdit(int row, int col);
  std::vector<std::string> ScreenTexts() const;
  void ToggleAt(CellPos cell);
  void UpdateEditability();

  WeeklyContext& context_;
  int program_;
  int channel_;
  int kind_;
  steps::ActionChoices choices_;
  std::string dayMark_;
  steps::StepSheet sheet_;
  // What "キャンセル" puts back, even after "確認(&K)" has committed.
  std::unique_ptr<std::array<WeeklyStep, kStepCount>> stepsAtOpening_;
  std::array<char, kNameBytes> nameAtOpening_;
  // What Cancel compares with: the model once tidied, the grid and the name as first shown.
  std::unique_ptr<OpenedState> opened_;
  std::vector<std::string> filled_;

  CVSFlexGrid* grid_;
  QLineEdit* name_;
  QLabel* nameNote_;
  QPushButton* paste_;
  bool ready_ = false;
};

}  // namespace tavrin
