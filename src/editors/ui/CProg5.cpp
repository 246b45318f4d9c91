#include "editors/ui/CProg5.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include "framework/ui/ControlIds.h"
#include "model/ShiftJis.h"
#include "platform/ControlNames.h"

namespace tavrin {
namespace {

constexpr char kStationLabel[] = "放送局：";

// Which row of the station table an item shows; -1 for a region or a prefecture.
constexpr int kRecordRole = Qt::UserRole;

// The normal and the selected picture of a tree item.
QIcon TreeIcon(const char* normal, const char* selected) {
  QIcon icon;
  icon.addFile(QString::fromLatin1(normal), QSize(16, 16), QIcon::Normal);
  icon.addFile(QString::fromLatin1(selected), QSize(16, 16), QIcon::Selected);
  return icon;
}

}  // namespace

CProg5::CProg5(ScheduleModel& model, MessageSink& messages, RadioStation& remembered,
               QWidget* parent)
    : EditorPage(parent), model_(model), messages_(messages), remembered_(remembered) {
  tree_ = new QTreeWidget(this);
  tree_->setObjectName(ControlName(ids::radio::kTree));
  tree_->setHeaderHidden(true);
  // Hidden, the header still names the column to a screen reader.
  tree_->setHeaderLabel(QString::fromUtf8(kStationLabel).chopped(1));
  tree_->setIndentation(30);
  tree_->setIconSize(QSize(16, 16));
  tree_->setMinimumSize(230, 320);
  BuildTree();
  connect(tree_, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* item) { ItemChosen(item); });

  auto* frame = new QGroupBox("NHK FM-放送", this);
  name_ = new QLineEdit(frame);
  name_->setObjectName(ControlName(ids::radio::kStation));
  name_->setReadOnly(true);
  name_->setFixedWidth(120);
  frequency_ = new QLineEdit(frame);
  frequency_->setObjectName(ControlName(ids::radio::kFrequency));
  frequency_->setMaxLength(10);
  frequency_->setFixedWidth(72);
  frequencyLabel_ = new QLabel(radio::kFrequencyLabel, frame);
  frequencyLabel_->setObjectName(ControlName(ids::radio::kFrequencyLabel));
  unitLabel_ = new QLabel(radio::kUnitLabel, frame);
  unitLabel_->setObjectName(ControlName(ids::radio::kUnit));
  // The labels keep their room when blank, so the fields do not move for a television channel.
  frequencyLabel_->setMinimumWidth(frequencyLabel_->sizeHint().width());
  unitLabel_->setMinimumWidth(unitLabel_->sizeHint().width());
  // Named by their labels without the colon; the frequency keeps its name while its label is
  // blank for a television channel, and neither takes the group's title.
  name_->setAccessibleName(QString::fromUtf8(kStationLabel).chopped(1));
  frequency_->setAccessibleName(QString::fromUtf8(radio::kFrequencyLabel).chopped(1));
  frequencyLabel_->setBuddy(frequency_);
  auto* fields = new QGridLayout(frame);
  fields->setHorizontalSpacing(6);
  fields->setVerticalSpacing(10);
  auto* stationLabel = new QLabel(kStationLabel, frame);
  stationLabel->setBuddy(name_);
  fields->addWidget(stationLabel, 0, 0);
  fields->addWidget(name_, 0, 1, 1, 2, Qt::AlignLeft);
  fields->addWidget(frequencyLabel_, 1, 0);
  fields->addWidget(frequency_, 1, 1);
  fields->addWidget(unitLabel_, 1, 2);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(11, 11, 11, 11);
  layout->setSpacing(14);
  layout->addWidget(tree_);
  auto* side = new QVBoxLayout;
  side->addWidget(frame);
  side->addStretch();
  layout->addLayout(side);
}

QString CProg5::TabTitle() const { return "ラジオ選局リスト"; }

void CProg5::BuildTree() {
  const QIcon group = TreeIcon(":/pictures/tree-group.png", ":/pictures/tree-group-selected.png");
  const QIcon station =
      TreeIcon(":/pictures/tree-station.png", ":/pictures/tree-station-selected.png");
  QTreeWidgetItem* region = nullptr;
  QTreeWidgetItem* prefecture = nullptr;
  const auto table = radio::StationTable();
  for (std::size_t i = 0; i < table.size(); ++i) {
    const radio::StationRecord& record = table[i];
    QTreeWidgetItem* item = nullptr;
    if (*record.region != '\0') {
      item = region = new QTreeWidgetItem(tree_, {QString::fromUtf8(record.region)});
    } else if (*record.prefecture != '\0') {
      item = prefecture = new QTreeWidgetItem(region, {QString::fromUtf8(record.prefecture)});
    } else {
      item = new QTreeWidgetItem(prefecture, {QString::fromUtf8(record.station)});
      stations_[record.key] = item;
    }
    item->setIcon(0, record.IsStation() ? station : group);
    item->setData(0, kRecordRole, record.IsStation() ? static_cast<int>(i) : -1);
  }
}

QTreeWidgetItem* CProg5::StationItem(int key) const {
  auto found = stations_.find(key);
  return found == stations_.end() ? nullptr : found->second;
}

void CProg5::Initialise() {
  opened_ = radio::OpenStation(model_, remembered_);
  ShowStation(opened_);
  QTreeWidgetItem* selected = StationItem(opened_.selectedKey);
  tree_->setCurrentItem(selected);
  if (selected) tree_->scrollToItem(selected, QAbstractItemView::PositionAtCenter);
  MarkFilled();
}

std::vector<std::string> CProg5::ScreenTexts() const {
  return {stationName_, frequency_->text().toStdString()};
}

void CProg5::ItemChosen(QTreeWidgetItem* item) {
  if (item == nullptr) return;
  const int row = item->data(0, kRecordRole).toInt();
  if (row < 0) return;
  ShowStation(radio::SelectStation(radio::StationTable()[static_cast<std::size_t>(row)], opened_));
}

void CProg5::ShowStation(const radio::StationView& view) {
  stationName_ = view.name;
  name_->setText(QString::fromStdString(FromShiftJis(view.name)));
  frequency_->setText(QString::fromStdString(view.frequency));
  frequencyLabel_->setText(view.frequencyLabels ? radio::kFrequencyLabel : "");
  unitLabel_->setText(view.frequencyLabels ? radio::kUnitLabel : "");
}

bool CProg5::Apply() {
  Result<void> stored =
      radio::StoreStation(stationName_, frequency_->text().toStdString(), model_, remembered_);
  if (stored) return true;
  messages_.Show(stored.message(), radio::kCaption, MsgButtons::Ok, MsgIcon::Exclamation);
  frequency_->setFocus();
  return false;
}

}  // namespace tavrin
