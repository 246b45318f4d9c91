#include "transfer/ui/UsbDriveDialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "framework/ui/ControlIds.h"
#include "platform/ControlNames.h"

namespace tavrin {

UsbDriveDialog::UsbDriveDialog(UsbDirection direction, const QStringList& drives,
                               const QString& message, QWidget* parent)
    : QDialog(parent) {
  const bool writing = direction == UsbDirection::Write;
  setWindowTitle(QString::fromUtf8(writing ? kUsbWriteTitle : kUsbReadTitle));
  auto* text = new QLabel(message, this);
  text->setObjectName(ControlName(ids::transfer::kText));
  text->setWordWrap(true);
  drives_ = new QComboBox(this);
  drives_->setObjectName(ControlName(ids::transfer::kDrives));
  drives_->addItems(drives);
  drives_->setCurrentIndex(0);
  // Alt+W or Alt+R is the button's own mnemonic.
  auto* ok = new QPushButton(
      writing ? QStringLiteral("書き込み開始(&W)") : QStringLiteral("読み込み開始(&R)"), this);
  ok->setObjectName(ControlName(kIdOk));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
  cancel->setObjectName(ControlName(kIdCancel));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addSpacing(8);
  layout->addWidget(new QLabel(QStringLiteral("USBメモリのドライブの指定"), this));
  layout->addWidget(drives_);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  setFixedSize(sizeHint().expandedTo(QSize(400, 0)));
}

int UsbDriveDialog::selectedIndex() const { return drives_->currentIndex(); }

}  // namespace tavrin
