// What the program read at start-up from the holiday file and from "Tavrin.ini", read-only.
#pragma once

#include <QDialog>

#include "maintenance/MaintenanceTexts.h"
#include "model/HolidayTable.h"

class QComboBox;
class QListWidget;

namespace tavrin {

class SettingsDisplayDialog : public QDialog {
  Q_OBJECT

 public:
  SettingsDisplayDialog(const SettingsDisplay& display, const HolidayTable& holidays,
                        QWidget* parent = nullptr);

 private:
  void ShowYear(int index);

  const HolidayTable& holidays_;
  QComboBox* years_ = nullptr;
  QListWidget* months_ = nullptr;
};

}  // namespace tavrin
