// The weekly confirmation of one program on one channel: the time-signal form lists the chime
// positions of each hour, the keep form draws the ON/OFF pairs.
#pragma once

#include <QDialog>
#include <QPixmap>

#include "editors/ConfirmationForms.h"

#include "model/IniSettings.h"
#include "model/ScheduleModel.h"

namespace tavrin {

class CVSFlexGrid;

// The picture of a keep form's cell, as the form and the printed report draw it.
const QPixmap& KeepPicture(const forms::KeepCell& cell);

class ConfirmationForm : public QDialog {
  Q_OBJECT

 public:
  // `kind` is the channel's kind and chooses the form.
  ConfirmationForm(const ScheduleModel& model, const ProgramNameTable& names,
                   const IniSettings& ini, int program, int channel, int kind,
                   QWidget* parent = nullptr);
  CVSFlexGrid* Grid() const { return grid_; }

 protected:
  // Scrolling needs the grid's final size.
  void showEvent(QShowEvent* event) override;

 private:
  void FillTimeSignal(const ScheduleModel& model, const IniSettings& ini, int program, int channel);
  void FillKeep(const ScheduleModel& model, int program, int channel);
  QWidget* BuildLegend(const IniSettings& ini);

  CVSFlexGrid* grid_;
  int leftCol_ = 1;
};

}  // namespace tavrin
