// The annual confirmation: one month of the resolved calendar, Sunday first, with a program row
// under every day row. A day's program can be overwritten; the new value becomes an individual
// setting when the month is left or the dialog closes with OK.
#pragma once

#include <QDialog>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "calendar/AnnualConfirmation.h"
#include "editors/OpenedState.h"
#include "model/Messages.h"

class QLineEdit;
class QPushButton;

namespace tavrin {

class CVSFlexGrid;
class UpDownControl;

class AnnualConfirmDialog : public QDialog {
  Q_OBJECT

 public:
  // `names` name the programs in the cells' tips.
  AnnualConfirmDialog(confirm::Session& session, const ProgramNameTable& names,
                      MessageSink& messages, QWidget* parent = nullptr);

  // Runs modally with the top-left corner at (x, y), which receive the corner when it closes.
  // True for OK.
  bool Run(int& x, int& y);

  CVSFlexGrid* Grid() const { return grid_; }

  void accept() override;
  // Escape, "キャンセル" and the close box: asks first when days set here would be lost.
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildGrid();
  void ShowMonth();
  void PutCell(int row, int col, const confirm::SheetCell& cell);
  void ShowFields();
  void FieldEdited();
  bool LeaveMonth();
  void ShowFault(const Verdict& verdict);
  // The day of the program cell at grid position (row, col); nothing elsewhere.
  std::optional<int> DayAt(int row, int col) const;
  // The program cell of every day of the shown month, day 1 first; `withOpenEdit` takes an open
  // cell edit with what is typed so far, when that is a program number or nothing.
  std::vector<std::string> ProgramTexts(bool withOpenEdit = false) const;
  // The tip of the cell under `pos` (viewport coordinates); empty for no program cell.
  QString TipAt(QPoint pos) const;
  // Shows the dated message when `text` is no program for the day at (row, col): a cell may be
  // neither stored nor left so.
  bool Refused(int row, int col, const std::string& text);

  void CurrentCellChanged(int row, int col);
  void EditStarting(int row, int col);
  void EditStored(int row, int col);

  confirm::Session& session_;
  const ProgramNameTable& names_;
  MessageSink& messages_;
  OpenedState opened_;
  std::vector<std::string> filled_;  // the program cells as the shown month was written
  CVSFlexGrid* grid_;
  QLineEdit* year_;
  QLineEdit* month_;
  UpDownControl* yearUpDown_;
  UpDownControl* monthUpDown_;
  QPushButton* ok_;
  QString textBeforeEdit_;
  // Set while the dialog itself moves the cursor or sets the fields, which the user's handlers
  // must not see.
  bool busy_ = true;
};

}  // namespace tavrin
