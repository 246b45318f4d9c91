#include "maintenance/ui/AboutDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "framework/ui/ControlIds.h"
#include "maintenance/MaintenanceTexts.h"
#include "platform/ControlNames.h"

namespace tavrin {

AboutDialog::AboutDialog(const QString& programText, const QString& holidayText, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QString::fromUtf8(kAboutCaption));
  auto* icon = new QLabel(this);
  icon->setPixmap(QPixmap(QStringLiteral(":/pictures/tavrin.png")));
  auto* program = new QLabel(programText, this);
  program->setObjectName(ControlName(ids::about::kProgramVersion));
  auto* holiday = new QLabel(holidayText, this);
  holiday->setObjectName(ControlName(ids::about::kHolidayVersion));
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(16, 16, 16, 12);
  layout->setHorizontalSpacing(16);
  layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
  layout->addWidget(program, 0, 1);
  layout->addWidget(holiday, 1, 1);
  layout->addWidget(ok, 0, 2, Qt::AlignTop);
  layout->setColumnStretch(1, 1);
  setFixedSize(sizeHint().expandedTo(QSize(380, 0)));
}

}  // namespace tavrin
