// The schedule check in the desktop program: the window listing the findings, and the question
// before a write that the check finds errors in.
#pragma once

#include <QDialog>
#include <vector>

#include "review/ScheduleCheck.h"

class QLabel;
class QTableWidget;

namespace tavrin {

class CheckWindow : public QDialog {
  Q_OBJECT

 public:
  explicit CheckWindow(const std::vector<Finding>& findings, QWidget* parent = nullptr);

  QLabel* summary() const { return summary_; }
  QTableWidget* findings() const { return table_; }

 private:
  QLabel* summary_ = nullptr;
  QTableWidget* table_ = nullptr;
};

// "続行" / "キャンセル" over the errors of `findings`; true when the user goes on.
bool ConfirmWriteDespiteErrors(QWidget* parent, const std::vector<Finding>& findings);

}  // namespace tavrin
