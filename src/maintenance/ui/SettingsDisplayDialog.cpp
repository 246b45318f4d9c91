#include "maintenance/ui/SettingsDisplayDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "framework/ui/ControlIds.h"
#include "platform/ControlNames.h"

namespace tavrin {
namespace {

QLineEdit* Field(const std::string& text, int id, QWidget* parent, int width = 0) {
  auto* field = new QLineEdit(QString::fromStdString(text), parent);
  field->setReadOnly(true);
  field->setObjectName(ControlName(id));
  if (width > 0) field->setFixedWidth(width);
  return field;
}

QListWidget* List(int id, QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setObjectName(ControlName(id));
  list->setSelectionMode(QAbstractItemView::NoSelection);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  list->setMinimumSize(260, 200);
  return list;
}

// Lets the list scroll sideways as far as its widest line plus one average character, as a list
// box with a horizontal extent does; every line gets that width so the extent is the content's.
void SetHorizontalExtent(QListWidget* list) {
  const QFontMetrics metrics(list->font());
  int widest = 0;
  for (int i = 0; i < list->count(); ++i) {
    widest = std::max(widest, metrics.horizontalAdvance(list->item(i)->text()));
  }
  const int extent = widest + metrics.averageCharWidth();
  for (int i = 0; i < list->count(); ++i) {
    list->item(i)->setSizeHint(QSize(extent, metrics.height()));
  }
}

}  // namespace

SettingsDisplayDialog::SettingsDisplayDialog(const SettingsDisplay& display,
                                             const HolidayTable& holidays, QWidget* parent)
    : QDialog(parent), holidays_(holidays) {
  setWindowTitle(QStringLiteral("設定ファイル表示"));

  auto* holidayBox = new QGroupBox(this);
  auto* holidayGrid = new QGridLayout(holidayBox);
  holidayGrid->addWidget(Field(display.holidayFileName, ids::display::kHolidayFileName, holidayBox),
                         0, 0, 1, 3);
  holidayGrid->addWidget(
      Field(display.holidayFileRead, ids::display::kHolidayFileRead, holidayBox, 32), 0, 3);
  holidayGrid->addWidget(new QLabel(QStringLiteral("バージョン番号："), holidayBox), 1, 0);
  holidayGrid->addWidget(Field(display.holidayVersion, ids::display::kHolidayVersion, holidayBox),
                         1, 1, 1, 3);
  holidayGrid->addWidget(new QLabel(QStringLiteral("設定年数："), holidayBox), 2, 0);
  holidayGrid->addWidget(Field(display.yearCount, ids::display::kYearCount, holidayBox, 60), 2, 1);
  holidayGrid->addWidget(new QLabel(QStringLiteral("西暦年："), holidayBox), 3, 0);
  years_ = new QComboBox(holidayBox);
  years_->setObjectName(ControlName(ids::display::kYears));
  for (const std::string& year : display.years) years_->addItem(QString::fromStdString(year));
  holidayGrid->addWidget(years_, 3, 1, 1, 2);
  months_ = List(ids::display::kMonths, holidayBox);
  holidayGrid->addWidget(months_, 4, 0, 1, 4);

  auto* iniBox = new QGroupBox(this);
  auto* iniGrid = new QGridLayout(iniBox);
  iniGrid->addWidget(Field(display.settingsFileName, ids::display::kSettingsFileName, iniBox), 0, 0,
                     1, 3);
  iniGrid->addWidget(Field(display.settingsFileRead, ids::display::kSettingsFileRead, iniBox, 32),
                     0, 3);
  iniGrid->addWidget(new QLabel(QStringLiteral("ラジオ選局ボタン："), iniBox), 1, 0);
  iniGrid->addWidget(Field(display.radioButton, ids::display::kRadioButton, iniBox, 60), 1, 1);
  iniGrid->addWidget(new QLabel(QStringLiteral("文字選択："), iniBox), 2, 0);
  iniGrid->addWidget(Field(display.timeSignalMark, ids::display::kTimeSignalMark, iniBox, 60), 2,
                     1);
  iniGrid->addWidget(Field(display.dayMark, ids::display::kDayMark, iniBox, 60), 2, 2);
  iniGrid->addWidget(new QLabel(QStringLiteral("チャイム設定："), iniBox), 3, 0);
  iniGrid->addWidget(Field(display.chimeCount, ids::display::kChimeCount, iniBox, 60), 3, 1);
  auto* chimes = List(ids::display::kChimes, iniBox);
  for (const std::string& line : display.chimeLines) chimes->addItem(QString::fromStdString(line));
  SetHorizontalExtent(chimes);
  iniGrid->addWidget(chimes, 4, 0, 1, 4);

  auto* folderLabel = new QLabel(QStringLiteral("フォルダ："), this);
  auto* folder = Field(display.dataFolder, ids::display::kDataFolder, this);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QGridLayout(this);
  layout->addWidget(folderLabel, 0, 0);
  layout->addWidget(folder, 0, 1, 1, 2);
  layout->addWidget(holidayBox, 1, 0, 1, 2);
  layout->addWidget(iniBox, 1, 2);
  layout->addWidget(ok, 2, 2, Qt::AlignRight);

  connect(years_, &QComboBox::currentIndexChanged, this, &SettingsDisplayDialog::ShowYear);
  ShowYear(years_->currentIndex());
}

void SettingsDisplayDialog::ShowYear(int index) {
  months_->clear();
  for (const std::string& line : HolidayMonthLines(holidays_, index)) {
    months_->addItem(QString::fromStdString(line));
  }
  SetHorizontalExtent(months_);
}

}  // namespace tavrin
