// The CSV report of a working schedule, for the export command: the steps are compacted and sorted
// and the model packed first, as the editors leave them, and those changes stay in the model.
#pragma once

#include <array>
#include <string>

#include "calendar/YearCalendar.h"
#include "document/CsvExportCommand.h"
#include "export/CsvReport.h"
#include "model/ImagePacking.h"
#include "model/IniSettings.h"
#include "model/ScheduleModel.h"

namespace tavrin {

// The working schedule and the buffers packing fills.
struct WorkingSchedule {
  ScheduleModel& model;
  const ProgramNameTable& names;
  const IniSettings& settings;  // chime table (as BuildChimeLists left it) and mode
  RadioStation& currentStation;
  ImageContext context;
  SettingsImage& image;
  std::array<YearCalendar, 2>& calendars;
};

class WorkingScheduleReport : public ScheduleReport {
 public:
  explicit WorkingScheduleReport(WorkingSchedule schedule) : schedule_(schedule) {}

  void Prepare() override;
  bool Write(ByteSink& out, const std::string& title, const LocalTime& now) const override;

 private:
  WorkingSchedule schedule_;
  // The model as sorted, before packing: the radio section shows a station the schedule lacks as
  // none, although packing then takes the remembered one into the model.
  ScheduleModel sorted_{};
};

}  // namespace tavrin
