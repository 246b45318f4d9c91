// The single-channel dialog: sets up one channel that is not in use yet, opened from the weekly
// list when a program cell of that channel is picked.
#pragma once

#include <QDialog>

#include "model/Messages.h"
#include "model/ScheduleModel.h"

namespace tavrin {

class CVSFlexGrid;

class ChannelDialog : public QDialog {
  Q_OBJECT

 public:
  // `channel` is 1..8.
  ChannelDialog(ScheduleModel& model, int channel, MessageSink& messages,
                QWidget* parent = nullptr);

  CVSFlexGrid* Grid() const { return grid_; }
  void accept() override;
  void Reset();

 private:
  // A type about to be stored: "キープ" marks the row's other cells, another type clears them.
  void TypeChosen(int row, int col, const QString& typed);

  ScheduleModel& model_;
  int channel_;
  MessageSink& messages_;
  CVSFlexGrid* grid_;
  bool initialised_ = false;
};

}  // namespace tavrin
