// "次の年度を作成": the school year's first month and whether dates keep their date or their
// weekday, what that adds and what it does not copy as it was, and the confirmation calendar of
// the schedule it makes. The choices are worked out elsewhere; the dialog shows each answer.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "calendar/NextSchoolYear.h"
#include "model/HolidayTable.h"
#include "model/Messages.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace tavrin {

// What the choices give.
struct NextYearPreview {
  std::string heading;             // the two school years
  SchoolYear target;               // the one made
  std::vector<std::string> lines;  // what is added
  std::vector<std::string> notes;  // what is not copied as it was
  std::string refusal;             // why it cannot be made; empty when it can
  ScheduleModel result{};          // the schedule made, when it can be
};

class NextYearDialog : public QDialog {
  Q_OBJECT

 public:
  using Preview = std::function<NextYearPreview(const NextYearOptions&)>;

  // `years` are the schedule's; `holidays` and `names` dress the confirmation calendar.
  NextYearDialog(Preview preview, const YearPair& years, const HolidayTable& holidays,
                 const ProgramNameTable& names, MessageSink& messages, QWidget* parent = nullptr);

  NextYearOptions options() const;
  // The preview of the choices shown now.
  const NextYearPreview& shown() const { return shown_; }

 private:
  void Refresh();
  void Confirm();

  Preview preview_;
  YearPair years_;
  const HolidayTable& holidays_;
  const ProgramNameTable& names_;
  MessageSink& messages_;
  NextYearPreview shown_;

  QLabel* heading_;
  QComboBox* startMonth_;
  QRadioButton* byDate_;
  QRadioButton* byWeekday_;
  QListWidget* lines_;
  QListWidget* notes_;
  QLabel* refusal_;
  QPushButton* confirm_;
  QPushButton* ok_;
};

}  // namespace tavrin
