// The channel page: the eight output channels, each unused, a time-signal channel or a keep
// channel.
#pragma once

#include "editors/EditorClipboards.h"
#include "framework/ui/EditorPage.h"
#include "model/Messages.h"
#include "model/ScheduleModel.h"

class QPushButton;

namespace tavrin {

class CVSFlexGrid;

class CProg1 : public EditorPage {
  Q_OBJECT

 public:
  CProg1(ScheduleModel& model, MessageSink& messages, EditorClipboards& clipboards,
         QWidget* parent = nullptr);

  QString TabTitle() const override;
  void Initialise() override;
  bool Apply() override;
  bool AltKey(int key) override;
  std::vector<std::string> ScreenTexts() const override;

  void CopyRows();
  void PasteRows();
  void DeleteRows();

 private:
  void OnCellChange(int oldRow, int oldCol, int newRow, int newCol);
  void PlaceCursor();

  ScheduleModel& model_;
  MessageSink& messages_;
  EditorClipboards& clipboards_;
  CVSFlexGrid* grid_;
  QPushButton* paste_;
  bool initialised_ = false;
};

}  // namespace tavrin
