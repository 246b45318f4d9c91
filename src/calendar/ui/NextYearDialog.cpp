#include "calendar/ui/NextYearDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <memory>

#include "calendar/AnnualConfirmation.h"
#include "calendar/ui/AnnualConfirmDialog.h"
#include "editors/GridText.h"
#include "framework/ui/DialogParts.h"
#include "platform/ControlNames.h"
#include "platform/DialogButtons.h"
#include "platform/UiFonts.h"

namespace tavrin {
namespace {

constexpr int kWidth = 620;

// What a screen reader says for a control: its label without the mnemonic and the colon.
QString SpokenName(const char* label) {
  QString text = QString::fromUtf8(label);
  text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
  if (text.endsWith(QLatin1Char(':'))) text.chop(1);
  return text;
}

QListWidget* ListOf(const char* label, QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setAccessibleName(SpokenName(label));
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setWordWrap(true);
  return list;
}

QLabel* LabelFor(const char* text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setBuddy(buddy);
  return label;
}

void Fill(QListWidget* list, const std::vector<std::string>& items, const char* none) {
  list->clear();
  for (const std::string& item : items) list->addItem(QString::fromStdString(item));
  if (items.empty()) list->addItem(QString::fromUtf8(none));
  list->setCurrentRow(0, QItemSelectionModel::NoUpdate);  // read out, not highlighted
}

}  // namespace

NextYearDialog::NextYearDialog(Preview preview, const YearPair& years, const HolidayTable& holidays,
                               const ProgramNameTable& names, MessageSink& messages,
                               QWidget* parent)
    : QDialog(parent),
      preview_(std::move(preview)),
      years_(years),
      holidays_(holidays),
      names_(names),
      messages_(messages) {
  setFont(UiGothicFont());
  setWindowTitle(QString::fromUtf8(next_year::kCaption));

  heading_ = new QLabel(this);
  heading_->setWordWrap(true);

  startMonth_ = new QComboBox(this);
  startMonth_->setAccessibleName(SpokenName(next_year::kStartMonthLabel));
  for (int month = 1; month <= 12; ++month) {
    startMonth_->addItem(QString::fromStdString(ListItem(MonthList(), month)));
  }
  startMonth_->setCurrentIndex(NextYearOptions().startMonth - 1);

  auto* byBox = new QGroupBox(QString::fromUtf8(next_year::kByGroup), this);
  byDate_ = new QRadioButton(QString::fromUtf8(next_year::kByDate), byBox);
  byDate_->setAccessibleName(SpokenName(next_year::kByDate));
  byWeekday_ = new QRadioButton(QString::fromUtf8(next_year::kByWeekday), byBox);
  byWeekday_->setAccessibleName(SpokenName(next_year::kByWeekday));
  auto* byGroup = new QButtonGroup(this);
  byGroup->addButton(byDate_);
  byGroup->addButton(byWeekday_);
  (NextYearOptions().by == NextYearBy::Date ? byDate_ : byWeekday_)->setChecked(true);
  auto* byLayout = new QHBoxLayout(byBox);
  byLayout->addWidget(byDate_);
  byLayout->addWidget(byWeekday_);

  auto* choices = new QHBoxLayout;
  choices->addWidget(LabelFor(next_year::kStartMonthLabel, startMonth_, this));
  choices->addWidget(startMonth_);
  choices->addSpacing(16);
  choices->addWidget(byBox);
  choices->addStretch();

  lines_ = ListOf(next_year::kLinesLabel, this);
  notes_ = ListOf(next_year::kNotesLabel, this);
  notes_->setMaximumHeight(110);
  refusal_ = RefusalNoteLabel(this, kWidth, 2);

  confirm_ = new QPushButton(QString::fromUtf8(next_year::kConfirmButton), this);
  confirm_->setAccessibleName(SpokenName(next_year::kConfirmButton));
  confirm_->setAutoDefault(false);
  QDialogButtonBox* buttons = OkCancelButtons(*this);
  ok_ = FindControl<QPushButton>(buttons, kIdOk);
  for (QAbstractButton* button : buttons->buttons()) button->setAccessibleName(button->text());
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(confirm_);
  bottom->addStretch();
  bottom->addWidget(buttons);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading_);
  layout->addLayout(choices);
  layout->addWidget(LabelFor(next_year::kLinesLabel, lines_, this));
  layout->addWidget(lines_, 1);
  layout->addWidget(LabelFor(next_year::kNotesLabel, notes_, this));
  layout->addWidget(notes_);
  layout->addWidget(refusal_);
  layout->addLayout(bottom);
  resize(kWidth + 24, 480);

  connect(startMonth_, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
  connect(byGroup, &QButtonGroup::buttonToggled, this, [this](QAbstractButton*, bool checked) {
    if (checked) Refresh();
  });
  connect(confirm_, &QPushButton::clicked, this, [this] { Confirm(); });
  Refresh();
  startMonth_->setFocus();
}

NextYearOptions NextYearDialog::options() const {
  return {startMonth_->currentIndex() + 1,
          byWeekday_->isChecked() ? NextYearBy::Weekday : NextYearBy::Date};
}

void NextYearDialog::Refresh() {
  shown_ = preview_(options());
  heading_->setText(QString::fromStdString(shown_.heading));
  Fill(lines_, shown_.lines, next_year::kNothingAdded);
  Fill(notes_, shown_.notes, next_year::kNothingNoted);
  refusal_->setText(QString::fromStdString(shown_.refusal));
  const bool possible = shown_.refusal.empty();
  ok_->setEnabled(possible);
  confirm_->setEnabled(possible);
}

void NextYearDialog::Confirm() {
  // A look at the schedule to be made: nothing done in the calendar reaches it.
  auto model = std::make_unique<ScheduleModel>(shown_.result);
  std::array<YearCalendar, 2> calendars{};
  BuildFullCalendar(years_.currentYear, years_, *model, holidays_, calendars[0]);
  BuildFullCalendar(years_.nextYear, years_, *model, holidays_, calendars[1]);
  confirm::Session session(calendars, *model, years_, shown_.target.startMonth);
  session.Show(shown_.target.firstYear, shown_.target.startMonth);
  AnnualConfirmDialog calendar(session, names_, messages_, this, AnnualConfirmDialog::Mode::Look);
  int x = pos().x() + 40;
  int y = pos().y() + 40;
  calendar.Run(x, y);
  confirm_->setFocus();
}

}  // namespace tavrin
