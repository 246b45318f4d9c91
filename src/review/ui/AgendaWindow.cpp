#include "review/ui/AgendaWindow.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/UiFonts.h"
#include "review/AgendaCalendar.h"
#include "review/AgendaView.h"

namespace tavrin {
namespace {

QDate ToQDate(const CalendarDate& date) { return QDate(date.year, date.month, date.day); }
CalendarDate FromQDate(const QDate& date) { return {date.year(), date.month(), date.day()}; }
QString Utf8(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

AgendaWindow::AgendaWindow(const SettingsImage& image, const ProgramNameTable& names,
                           const IniSettings& settings, const CalendarDate& first, QWidget* parent)
    : QDialog(parent), image_(image), names_(names), settings_(settings) {
  setWindowTitle(QString::fromUtf8(kAgendaCaption));
  setFont(UiGothicFont());
  picker_ = new QDateEdit(this);
  picker_->setCalendarPopup(true);
  picker_->setDisplayFormat(QStringLiteral("yyyy年M月d日"));
  days_ = new QTreeWidget(this);
  QStringList columns;
  for (const char* column : kAgendaColumns) columns << QString::fromUtf8(column);
  days_->setHeaderLabels(columns);
  days_->setRootIsDecorated(false);
  days_->setSelectionMode(QAbstractItemView::NoSelection);
  days_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  days_->header()->setStretchLastSection(true);
  auto* note = new QLabel(QString::fromUtf8(kAgendaSummerTimeNote), this);
  saveCalendar_ = new QPushButton(QString::fromUtf8(kCalendarSaveButton), this);
  connect(saveCalendar_, &QPushButton::clicked, this, &AgendaWindow::saveCalendarRequested);
  saveCalendar_->setAutoDefault(false);  // Enter still closes the window
  auto* close = new QPushButton(QStringLiteral("閉じる"), this);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  auto* top = new QHBoxLayout;
  auto* dateLabel = new QLabel(QString::fromUtf8(kAgendaDateLabel), this);
  dateLabel->setBuddy(picker_);
  top->addWidget(dateLabel);
  top->addWidget(picker_);
  top->addStretch();
  top->addWidget(saveCalendar_);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(note, 1);
  bottom->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(days_, 1);
  layout->addLayout(bottom);
  resize(560, 520);

  CalendarDate start = first;
  if (const auto range = AgendaRange(image_)) {
    picker_->setDateRange(ToQDate(range->first), ToQDate(range->second));
    start = std::clamp(first, range->first, range->second);
  } else {
    picker_->setEnabled(false);
    saveCalendar_->setEnabled(false);
  }
  picker_->setDate(ToQDate(start));
  connect(picker_, &QDateEdit::dateChanged, this,
          [this](const QDate& date) { ShowFrom(FromQDate(date)); });
  ShowFrom(start);
}

CalendarDate AgendaWindow::firstDay() const { return FromQDate(picker_->date()); }

void AgendaWindow::ShowFrom(const CalendarDate& date) {
  days_->clear();
  const Result<std::vector<AgendaDay>> agenda = AgendaFrom(image_, date, kAgendaDays);
  if (!agenda) {
    auto* item = new QTreeWidgetItem(days_, {Utf8(agenda.message())});
    item->setFirstColumnSpanned(true);
    return;
  }
  QFont bold = days_->font();
  bold.setBold(true);
  for (const AgendaDay& day : *agenda) {
    const AgendaDayText text = DescribeAgendaDay(day, names_, settings_);
    auto* head = new QTreeWidgetItem(days_, {Utf8(DayHeadline(text))});
    head->setFirstColumnSpanned(true);
    head->setFont(0, bold);
    // Events hang under their day, indented, so the days stand out when the list is skimmed.
    if (text.events.empty()) {
      new QTreeWidgetItem(head, {QString(), QString(), QString::fromUtf8(kAgendaNoEvents)});
    }
    for (const AgendaEventText& event : text.events) {
      new QTreeWidgetItem(head, {Utf8(event.time), Utf8(event.channel), Utf8(event.action)});
    }
  }
  days_->expandAll();
}

}  // namespace tavrin
