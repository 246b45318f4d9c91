#include "transfer/ui/SerialSettingsDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "framework/ui/ControlIds.h"
#include "platform/ControlNames.h"

namespace tavrin {

SerialSettingsDialog::SerialSettingsDialog(int portIndex, int speedIndex, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("設定"));
  ports_ = new QComboBox(this);
  ports_->setObjectName(ControlName(ids::transfer::kPorts));
  for (int i = 1; i <= 16; ++i) ports_->addItem(QStringLiteral("COM%1").arg(i));
  ports_->setCurrentIndex(portIndex >= 0 && portIndex < 16 ? portIndex : 0);
  speeds_ = new QComboBox(this);
  speeds_->setObjectName(ControlName(ids::transfer::kSpeeds));
  speeds_->addItems({QStringLiteral("9600"), QStringLiteral("19200"), QStringLiteral("38400")});
  speeds_->setCurrentIndex(speedIndex >= 0 && speedIndex <= 2 ? speedIndex : 0);

  auto* defaults = new QGroupBox(QStringLiteral("デフォルト設定"), this);
  auto* fixed = new QGridLayout(defaults);
  const char* const lines[][2] = {{"・パリティ ", "：　無し"},
                                  {"・データ長 ", "：　８ ビット"},
                                  {"・ストップビット", "：　１ ビット"},
                                  {"・ﾌﾛｰ・ｺﾝﾄﾛｰﾙ", "：　無し"}};
  for (int row = 0; row < 4; ++row) {
    fixed->addWidget(new QLabel(QString::fromUtf8(lines[row][0]), defaults), row, 0);
    fixed->addWidget(new QLabel(QString::fromUtf8(lines[row][1]), defaults), row, 1);
  }

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("ポート番号 ："), this), 0, 0);
  layout->addWidget(ports_, 1, 0);
  layout->addWidget(new QLabel(QStringLiteral("通信速度 pbs ："), this), 2, 0);
  layout->addWidget(speeds_, 3, 0);
  layout->addWidget(defaults, 4, 0);
  layout->addWidget(ok, 0, 1);
  layout->addWidget(cancel, 1, 1);
  setFixedSize(sizeHint());
}

int SerialSettingsDialog::portIndex() const { return ports_->currentIndex(); }
int SerialSettingsDialog::speedIndex() const { return speeds_->currentIndex(); }

}  // namespace tavrin
