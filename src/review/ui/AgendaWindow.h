// "予定表": what the timer will run from a chosen day on, as the document would be saved. The
// window only lays out the texts the core decides.
#pragma once

#include <QDialog>

#include "model/ImageLayout.h"
#include "model/IniSettings.h"
#include "model/ScheduleModel.h"
#include "review/Agenda.h"

class QDateEdit;
class QPushButton;
class QTreeWidget;

namespace tavrin {

class AgendaWindow : public QDialog {
  Q_OBJECT

 public:
  // `image` is the packed document; `first` the day shown first, moved into the years the image
  // carries.
  AgendaWindow(const SettingsImage& image, const ProgramNameTable& names,
               const IniSettings& settings, const CalendarDate& first, QWidget* parent = nullptr);

  QDateEdit* datePicker() const { return picker_; }
  QTreeWidget* days() const { return days_; }
  QPushButton* saveCalendarButton() const { return saveCalendar_; }
  // The first day shown.
  CalendarDate firstDay() const;

 signals:
  // "iCalendarに保存...": the agenda from the first day shown, as a file for calendar apps.
  void saveCalendarRequested();

 private:
  void ShowFrom(const CalendarDate& date);

  SettingsImage image_;
  ProgramNameTable names_;
  IniSettings settings_;
  QDateEdit* picker_ = nullptr;
  QTreeWidget* days_ = nullptr;
  QPushButton* saveCalendar_ = nullptr;
};

}  // namespace tavrin
