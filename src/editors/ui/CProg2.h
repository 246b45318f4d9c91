// The weekly list page: programs 1..99 against channels 1..8, with a mark where a program has
// steps. Picking a cell (a click, or Enter or Space on it) sets the channel up if needed and opens
// the program's steps.
#pragma once

#include "editors/ui/WeeklyWindows.h"
#include "framework/ui/EditorPage.h"

namespace tavrin {

class CVSFlexGrid;

class CProg2 : public EditorPage {
  Q_OBJECT

 public:
  CProg2(WeeklyContext context, QWidget* parent = nullptr);

  QString TabTitle() const override;
  void Initialise() override;
  bool Apply() override;
  bool AltKey(int key) override;

  CVSFlexGrid* Grid() const { return grid_; }
  // Program 1..99 on channel 1..8, as a click on its cell.
  void Pick(int program, int channel);
  void ShowOverview();
  void ShowNameList();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Refill();
  void OnMouseUp(int button, int shift, int x, int y);
  void OnClick();

  WeeklyContext context_;
  CVSFlexGrid* grid_;
  bool initialised_ = false;
  bool leftUpOnData_ = false;
};

}  // namespace tavrin
