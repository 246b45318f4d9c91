// The program-name list: the names of programs 1..99 with their step counts and where the annual
// program uses them.
#pragma once

#include <QDialog>

#include "model/Messages.h"
#include "model/ScheduleModel.h"

namespace tavrin {

class CVSFlexGrid;

class NameListDialog : public QDialog {
  Q_OBJECT

 public:
  NameListDialog(const ScheduleModel& model, ProgramNameTable& names, MessageSink& messages,
                 QWidget* parent = nullptr);
  CVSFlexGrid* Grid() const { return grid_; }
  void accept() override;

 private:
  void OnClick();
  void OnValidateEdit(int row, int col, bool* cancel);

  ProgramNameTable& names_;
  MessageSink& messages_;
  CVSFlexGrid* grid_;
  bool initialised_ = false;
};

}  // namespace tavrin
