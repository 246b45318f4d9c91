// The annual page: the basic, period, holiday and individual settings, one kind at a time in its
// own grid, with the row commands and the confirmation calendar.
#pragma once

#include <array>

#include "calendar/AnnualRules.h"
#include "calendar/ui/CalendarContext.h"
#include "editors/EditorClipboards.h"
#include "editors/GridText.h"
#include "framework/ui/EditorPage.h"
#include "model/Messages.h"
#include "model/ScheduleModel.h"

class QButtonGroup;
class QCheckBox;
class QPushButton;

namespace tavrin {

class CVSFlexGrid;

class CProg6 : public EditorPage {
  Q_OBJECT

 public:
  CProg6(ScheduleModel& model, const ProgramNameTable& names, MessageSink& messages,
         EditorClipboards& clipboards, CalendarContext& calendar, QWidget* parent = nullptr);

  QString TabTitle() const override;
  void Initialise() override;
  bool Apply() override;
  bool AltKey(int key) override;
  std::vector<std::string> ScreenTexts() const override;

  void Copy();
  void Paste();
  void Delete();
  // The full check, then the confirmation calendar over the settings just stored.
  void Confirm();

  annual::Kind CurrentKind() const { return current_; }
  CVSFlexGrid* Grid(annual::Kind kind) const { return grids_[Index(kind)]; }

 private:
  static std::size_t Index(annual::Kind kind) { return static_cast<std::size_t>(kind); }
  static bool HasRows(annual::Kind kind);
  void BuildGrid(annual::Kind kind);
  void ChooseKind(annual::Kind kind);
  void ShowKind(annual::Kind kind);
  void FillGrid(annual::Kind kind);
  TextTable ReadTable(annual::Kind kind) const;
  void WriteTable(annual::Kind kind, const TextTable& table);
  annual::PageTexts ReadTexts() const;
  void MoveTo(annual::Kind kind, CellPos cell);
  bool CheckAll(annual::BasicMessages basic);
  // Offers to split the period row that `verdict` finds running over New Year; true when the
  // user took the offer and the period grid shows the two rows.
  bool SplitOverNewYear(const Verdict& verdict);
  void ShowFault(annual::Kind kind, const Verdict& verdict);
  void SelectedRows(int& first, int& last) const;
  void UpdatePaste();

  ScheduleModel& model_;
  const ProgramNameTable& names_;
  MessageSink& messages_;
  EditorClipboards& clipboards_;
  CalendarContext& calendar_;
  annual::Kind current_ = annual::Kind::Basic;
  // A kind's grid counts, and is checked and stored, once it has been shown since the sheet
  // opened.
  std::array<bool, annual::kKindCount> shown_{};
  std::array<CVSFlexGrid*, annual::kKindCount> grids_{};
  QButtonGroup* kinds_;
  QCheckBox* holidayEnabled_;
  QPushButton* copy_;
  QPushButton* paste_;
  QPushButton* delete_;
  QPushButton* confirmRows_;
  QPushButton* confirmSingle_;
};

}  // namespace tavrin
