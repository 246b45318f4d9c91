// The program-name list: the names of programs 1..99 with their step counts and where the annual
// program uses them.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "editors/OpenedState.h"
#include "model/Messages.h"
#include "model/ScheduleModel.h"

class QLabel;

namespace tavrin {

class CVSFlexGrid;

class NameListDialog : public QDialog {
  Q_OBJECT

 public:
  NameListDialog(const ScheduleModel& model, ProgramNameTable& names, MessageSink& messages,
                 QWidget* parent = nullptr);
  CVSFlexGrid* Grid() const { return grid_; }
  // The note under the grid that says why a typed name was refused; empty otherwise.
  QLabel* Note() const { return note_; }
  // Stores the open cell edit first; a refused one keeps the list open, its note saying why.
  void accept() override;
  // Escape, "キャンセル" and the close box: asks first when edited names would be lost.
  void reject() override;

 private:
  void OnClick();
  void OnChangeEdit();
  // False, with the note and a beep, for a name the name file cannot hold.
  bool NameFits(const QString& text);
  // The name column, an open edit with what is typed so far.
  std::vector<std::string> ShownNames() const;

  const ScheduleModel& model_;
  ProgramNameTable& names_;
  MessageSink& messages_;
  OpenedState opened_;
  std::vector<std::string> filled_;
  CVSFlexGrid* grid_;
  QLabel* note_;
  bool initialised_ = false;
};

}  // namespace tavrin
