#include "framework/ui/ConfirmationForm.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTimer>
#include <QVBoxLayout>

#include "editors/ConfirmationForms.h"
#include "framework/ui/ControlIds.h"
#include "framework/ui/DialogParts.h"
#include "framework/ui/GridSetup.h"
#include "platform/CVSFlexGrid.h"
#include "platform/ControlNames.h"
#include "platform/UiFonts.h"

// The pictures live in the program's resources, which a static library must register itself.
static void InitPictures() { Q_INIT_RESOURCE(tavrin); }

namespace tavrin {
namespace {

// The bitmap resources of each shape: blue for even pairs, magenta for odd ones.
constexpr int kPictures[forms::kShapeCount][2] = {{168, 169}, {155, 165}, {184, 185}, {163, 166},
                                                  {186, 187}, {164, 167}, {206, 207}, {204, 205}};

}  // namespace

const QPixmap& KeepPicture(const forms::KeepCell& cell) {
  static QPixmap pictures[forms::kShapeCount][2];
  static const bool registered = (InitPictures(), true);
  (void)registered;
  QPixmap& picture = pictures[static_cast<int>(cell.shape)][cell.odd ? 1 : 0];
  if (picture.isNull())
    picture.load(QString(":/pictures/keep/%1.png")
                     .arg(kPictures[static_cast<int>(cell.shape)][cell.odd ? 1 : 0]));
  return picture;
}

ConfirmationForm::ConfirmationForm(const ScheduleModel& model, const ProgramNameTable& names,
                                   const IniSettings& ini, int program, int channel, int kind,
                                   QWidget* parent)
    : QDialog(parent) {
  const bool keep = kind == kChannelKeep;
  setWindowTitle(keep ? "週間プログラム確認 - キープ" : "週間プログラムの確認 - 報時");
  setFont(UiGothicFont());
  grid_ = new CVSFlexGrid(this);
  grid_->setObjectName(ControlName(ids::kGrid));
  CVSFlexGrid& grid = *grid_;
  ShapeGrid(grid, kDays, kHours, {820});
  for (int hour = 0; hour < kHours; ++hour) {
    grid.SetColWidth(hour + 1, 610);
    SetHeader(grid, 0, hour + 1, QString("%1 時").arg(hour), Rgb(0xCC, 0xFF, 0xCC));
  }
  grid.SetTextMatrix(0, 0, "曜/時");
  for (int day = 0; day < kDays; ++day)
    SetHeader(grid, day + 1, 0, texts::kWeekdays[day], DayColour(day));
  grid.SetEditable(CVSFlexGrid::kEditNone);
  FitGrid(grid, kDays);
  // The form shows a part of the day and scrolls sideways.
  grid.setFixedWidth(grid.ColWidthPixels(0) + 12 * grid.ColWidthPixels(1) + 2 * grid.frameWidth());
  grid.setMinimumHeight(grid.height() + 18);

  const forms::Title title = forms::TitleOf(names, program, channel, kind);
  auto* fields = new QHBoxLayout;
  fields->addWidget(new QLabel("週間プログラム番号", this));
  fields->addWidget(ReadOnlyField(this, ids::kProgram, QString::fromStdString(title.program), 40));
  fields->addWidget(new QLabel("名称", this));
  fields->addWidget(ReadOnlyField(this, ids::kName, QString::fromStdString(title.name), 150));
  fields->addWidget(new QLabel(keep ? "チャネル番号" : "チャンネル番号", this));
  fields->addWidget(ReadOnlyField(this, ids::kChannel, QString::fromStdString(title.channel), 30));
  fields->addWidget(ReadOnlyField(this, ids::kKind, QString::fromStdString(title.kind), 60));
  fields->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addLayout(fields);
  layout->addWidget(grid_);
  auto* bottom = new QHBoxLayout;
  if (keep) {
    FillKeep(model, program, channel);
    bottom->addStretch();
  } else {
    FillTimeSignal(model, ini, program, channel);
    bottom->addWidget(BuildLegend(ini));
  }
  bottom->addStretch();
  bottom->addWidget(CommandButton(this, ids::kClose, "閉じる(&C)", [this] { accept(); }), 0,
                    Qt::AlignBottom);
  layout->addLayout(bottom);
  MoveTo(grid, {0, 0});
}

void ConfirmationForm::FillTimeSignal(const ScheduleModel& model, const IniSettings& ini,
                                      int program, int channel) {
  const forms::TimeSignalView view = forms::TimeSignal(model, ini, program, channel);
  for (int day = 0; day < kDays; ++day)
    for (int hour = 0; hour < kHours; ++hour)
      grid_->SetTextMatrix(day + 1, hour + 1, QString::fromStdString(view.cells[day][hour]));
  leftCol_ = view.leftCol;
}

void ConfirmationForm::FillKeep(const ScheduleModel& model, int program, int channel) {
  const forms::KeepView view = forms::Keep(model, program, channel);
  for (int day = 0; day < kDays; ++day)
    for (int hour = 0; hour < kHours; ++hour) {
      const auto& cell = view.cells[day][hour];
      if (!cell) continue;
      grid_->SetCurrentCell(day + 1, hour + 1);
      grid_->SetCellPicture(KeepPicture(*cell));
      grid_->SetCellPictureFit(CVSFlexGrid::PictureFit::Fill);
    }
  leftCol_ = view.leftCol;
}

void ConfirmationForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  QTimer::singleShot(0, this, [this] { grid_->SetLeftCol(leftCol_); });
}

QWidget* ConfirmationForm::BuildLegend(const IniSettings& ini) {
  auto* frame = new QGroupBox(this);
  auto* grid = new QGridLayout(frame);
  const std::array<std::string, 11> labels = forms::Legend(ini);
  for (int i = 0; i < 11; ++i) {
    auto* label = new QLabel(QString::fromStdString(labels[static_cast<std::size_t>(i)]), frame);
    label->setObjectName(ControlName(ids::kFirstLegend + i));
    label->setFont(UiGothicFont());
    label->setMinimumWidth(200);
    grid->addWidget(label, i < 6 ? i : i - 6, i < 6 ? 0 : 1);
  }
  return frame;
}

}  // namespace tavrin
