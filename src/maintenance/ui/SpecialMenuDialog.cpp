#include "maintenance/ui/SpecialMenuDialog.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin {

SpecialMenuDialog::SpecialMenuDialog(SpecialMenuHost& host, MessageSink& messages, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("特殊メニュー"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 12, 16, 12);
  layout->setSpacing(4);
  for (const SpecialButton& button : SpecialMenuButtons()) {
    auto* push = new QPushButton(QString::fromUtf8(button.label), this);
    push->setAutoDefault(false);
    push->setMinimumWidth(240);
    const SpecialItem item = button.item;
    connect(push, &QPushButton::clicked, this,
            [&host, &messages, item] { PressSpecialButton(item, host, messages); });
    layout->addWidget(push);
  }
  layout->addSpacing(8);
  auto* close = new QPushButton(QStringLiteral("閉じる"), this);
  close->setObjectName(QStringLiteral("close"));
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(close);
  setFixedSize(sizeHint());
}

}  // namespace tavrin
