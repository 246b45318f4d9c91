// The serial settings dialog: port COM1..COM16 and speed; the other line settings are fixed.
#pragma once

#include <QDialog>

class QComboBox;

namespace tavrin {

class SerialSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  // Opens on the current indexes (a speed index out of range shows 9600).
  SerialSettingsDialog(int portIndex, int speedIndex, QWidget* parent = nullptr);
  int portIndex() const;
  int speedIndex() const;

 private:
  QComboBox* ports_ = nullptr;
  QComboBox* speeds_ = nullptr;
};

}  // namespace tavrin
