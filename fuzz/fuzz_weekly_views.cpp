// Any bytes as a schedule, names and chime table, as an image made elsewhere may leave them
// (programs up to 255, channels up to 15, hours and minutes up to 255, any chime codes): every
// window's rules and the report must stay inside their tables.
#include <cstdint>
#include <cstring>

#include "editors/ChannelRules.h"
#include "editors/ConfirmationForms.h"
#include "editors/NameListRules.h"
#include "editors/OverviewRules.h"
#include "editors/StepRules.h"
#include "editors/WeeklyListRules.h"
#include "export/WorkingScheduleReport.h"

using namespace tavrin;

namespace {

class NullOutput : public ByteSink {
 public:
  bool Write(const char*, std::size_t) override { return true; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  ScheduleModel model{};
  ProgramNameTable names{};
  IniSettings ini;
  std::size_t at = 0;
  auto take = [&](void* target, std::size_t bytes) {
    const std::size_t n = std::min(bytes, size - at);
    std::memcpy(target, data + at, n);
    at += n;
  };
  take(&model.channels, sizeof model.channels);
  take(&model.basicProgram, sizeof model.basicProgram);
  take(&model.holidayProgram, sizeof model.holidayProgram);
  take(&model.holidayEnabled, sizeof model.holidayEnabled);
  take(&ini.chimeCount, sizeof ini.chimeCount);
  for (ChimeRecord& chime : ini.chimes) take(&chime.code, sizeof chime.code);
  take(&model.steps, sizeof model.steps);
  take(&model.periods, sizeof model.periods);
  take(&model.dates, sizeof model.dates);
  take(&names, sizeof names);

  const TextTable channelTable = channels::Fill(model);
  (void)channels::PlaceCursor(channelTable);
  const weekly::ListMarks marks = weekly::Marks(model);
  (void)weekly::FirstEmptyCell(marks);
  (void)names::Fill(model, names);
  (void)overview::Rows(model, ini, "*");
  for (int kind : {kChannelTimeSignal, kChannelKeep}) {
    const steps::ActionChoices choices(kind, ini);
    for (int program : {1, 99, 255})
      for (int channel : {1, 8, 15}) {
        (void)forms::TimeSignal(model, ini, program, channel);
        (void)forms::Keep(model, program, channel);
        const int rows = std::min(weekly::StepRows(model, program, channel, kind), 50);
        steps::StepSheet sheet = steps::Fill(model, program, channel, choices, "*", rows);
        (void)steps::Check(sheet.table, kind);
      }
  }
  ScheduleModel committed = model;
  ProgramNameTable committedNames = names;
  const steps::ActionChoices chimes(kChannelTimeSignal, ini);
  steps::Commit(steps::Fill(model, 1, 1, chimes, "*", 10), chimes, 1, 1, "x", committed,
                committedNames);
  weekly::DropStepsOfUnusedChannels(committed);
  channels::Store(channelTable, committed);

  // The report reads the same kind of schedule.
  RadioStation station;
  HolidayTable holidays{};
  SettingsImage image{};
  std::array<YearCalendar, 2> calendars{};
  WorkingSchedule schedule{model, names,    ini, station, {{2025, 2026}, &holidays, true},
                           image, calendars};
  WorkingScheduleReport report(schedule);
  report.Prepare();
  NullOutput output;
  (void)report.Write(output, "t", LocalTime{2025, 1, 1, 0, 0, 0});
  return 0;
}
