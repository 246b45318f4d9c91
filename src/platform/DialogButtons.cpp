#include "platform/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include "platform/ControlNames.h"

namespace tavrin {

QDialogButtonBox* OkCancelButtons(QDialog& dialog) {
  auto* buttons = new QDialogButtonBox(&dialog);
  QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
  QPushButton* cancel = buttons->addButton("キャンセル", QDialogButtonBox::RejectRole);
  ok->setObjectName(ControlName(kIdOk));
  cancel->setObjectName(ControlName(kIdCancel));
  for (QPushButton* button : {ok, cancel}) {
    button->setMinimumSize(75, 23);
    button->setAutoDefault(false);
  }
  ok->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  return buttons;
}

}  // namespace tavrin
