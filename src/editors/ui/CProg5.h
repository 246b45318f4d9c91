// The radio page: the NHK FM station the timer tunes to, picked from a tree of regions,
// prefectures and stations, and its frequency.
#pragma once

#include <map>
#include <string>

#include "editors/RadioRules.h"
#include "framework/ui/EditorPage.h"
#include "model/ImagePacking.h"
#include "model/Messages.h"
#include "model/ScheduleModel.h"

class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace tavrin {

class CProg5 : public EditorPage {
  Q_OBJECT

 public:
  // `remembered` is the view's station, kept between runs.
  CProg5(ScheduleModel& model, MessageSink& messages, RadioStation& remembered,
         QWidget* parent = nullptr);

  QString TabTitle() const override;
  void Initialise() override;
  bool Apply() override;
  std::vector<std::string> ScreenTexts() const override;

  QTreeWidget* Tree() const { return tree_; }
  // The tree item of the station with `key`; null for no such station.
  QTreeWidgetItem* StationItem(int key) const;

 private:
  void BuildTree();
  void ItemChosen(QTreeWidgetItem* item);
  void ShowStation(const radio::StationView& view);

  ScheduleModel& model_;
  MessageSink& messages_;
  RadioStation& remembered_;
  radio::StationView opened_;
  std::string stationName_;  // Shift-JIS, as shown in the name field
  QTreeWidget* tree_;
  QLineEdit* name_;
  QLineEdit* frequency_;
  QLabel* frequencyLabel_;
  QLabel* unitLabel_;
  std::map<int, QTreeWidgetItem*> stations_;
};

}  // namespace tavrin
