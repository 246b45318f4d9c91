// The USB write and read dialogs: which removable drive to use, as a drop-down list with the
// first drive selected.
#pragma once

#include <QDialog>
#include <QStringList>

#include "transfer/UsbTransfer.h"

class QComboBox;

namespace tavrin {

class UsbDriveDialog : public QDialog {
  Q_OBJECT

 public:
  UsbDriveDialog(UsbDirection direction, const QStringList& drives, const QString& message,
                 QWidget* parent = nullptr);
  int selectedIndex() const;

 private:
  QComboBox* drives_ = nullptr;
};

}  // namespace tavrin
