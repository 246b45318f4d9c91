// The summer-time page: whether the timer observes summer time, and the month, week, weekday and
// hour at which it starts and ends.
#pragma once

#include "editors/GridText.h"
#include "framework/ui/EditorPage.h"
#include "model/Messages.h"
#include "model/ScheduleModel.h"

class QCheckBox;
class QPushButton;

namespace tavrin {

class CVSFlexGrid;

class CProg4 : public EditorPage {
  Q_OBJECT

 public:
  CProg4(ScheduleModel& model, MessageSink& messages, QWidget* parent = nullptr);

  QString TabTitle() const override;
  void Initialise() override;
  bool Apply() override;
  bool AltKey(int key) override;
  std::vector<std::string> ScreenTexts() const override;

  // Empties the selected rows without asking and puts the cursor on the first empty cell.
  void DeleteSelectedRows();

  CVSFlexGrid* Grid() const { return grid_; }

 private:
  void BuildGrid();
  TextTable ReadTable() const;
  void WriteTable(const TextTable& table);
  void MoveTo(CellPos cell);

  ScheduleModel& model_;
  MessageSink& messages_;
  CVSFlexGrid* grid_;
  QCheckBox* enabled_;
  QPushButton* delete_;
};

}  // namespace tavrin
