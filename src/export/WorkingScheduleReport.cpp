#include "export/WorkingScheduleReport.h"

#include "calendar/PackImage.h"
#include "editors/StepSort.h"

namespace tavrin {

void WorkingScheduleReport::Prepare() {
  CompactAndSortSteps(schedule_.model);
  sorted_ = schedule_.model;
  PackImage(schedule_.model, schedule_.currentStation, schedule_.context, schedule_.image,
            schedule_.calendars);
}

bool WorkingScheduleReport::Write(ByteSink& out, const std::string& title,
                                  const LocalTime& now) const {
  CsvWriter writer(out);
  const CsvReportInput input{sorted_,
                             schedule_.names,
                             schedule_.settings,
                             schedule_.context.radioMode,
                             schedule_.context.years,
                             schedule_.calendars,
                             title,
                             now};
  return WriteCsvReport(writer, input);
}

}  // namespace tavrin
