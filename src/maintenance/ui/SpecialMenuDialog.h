// The hidden special menu for service staff: a column of buttons and "閉じる".
#pragma once

#include <QDialog>

#include "maintenance/SpecialMenu.h"

namespace tavrin {

class SpecialMenuDialog : public QDialog {
  Q_OBJECT

 public:
  SpecialMenuDialog(SpecialMenuHost& host, MessageSink& messages, QWidget* parent = nullptr);
};

}  // namespace tavrin
