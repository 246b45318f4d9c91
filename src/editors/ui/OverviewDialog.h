// The weekly overview: every step in use, read-only.
#pragma once

#include <QDialog>

#include "model/IniSettings.h"
#include "model/ScheduleModel.h"

namespace tavrin {

class CVSFlexGrid;

class OverviewDialog : public QDialog {
  Q_OBJECT

 public:
  OverviewDialog(const ScheduleModel& model, const IniSettings& ini, QWidget* parent = nullptr);
  CVSFlexGrid* Grid() const { return grid_; }

 private:
  CVSFlexGrid* grid_;
};

}  // namespace tavrin
