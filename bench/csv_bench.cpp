// The whole CSV report of a schedule that fills every table.
#include <benchmark/benchmark.h>

#include <string>

#include "export/WorkingScheduleReport.h"
#include "model/IniSettings.h"

namespace tavrin {
namespace {

class CountingOutput : public ByteSink {
 public:
  bool Write(const char*, std::size_t size) override {
    bytes += size;
    return true;
  }
  std::size_t bytes = 0;
};

ScheduleModel StressModel() {
  ScheduleModel model;
  ClearModel(model);
  for (int ch = 0; ch < kChannelCount; ++ch) {
    model.channels[ch] = {static_cast<uint8_t>(ch % 2 ? kChannelKeep : kChannelTimeSignal), 0, 10,
                          static_cast<uint8_t>(ch % 4)};
  }
  // Filled from the back, so the sort has work to do.
  for (int i = 0; i < kStepCount; ++i) {
    WeeklyStep& step = model.steps[kStepCount - 1 - i];
    step.program = static_cast<uint8_t>(1 + i % 99);
    step.channel = static_cast<uint8_t>(1 + i % 8);
    for (int d = 0; d < 7; ++d) step.days[d] = (i + d) % 3 != 0;
    step.hour = static_cast<uint8_t>(i * 7 % 24);
    step.minute = static_cast<uint8_t>(i * 13 % 60);
    step.action = static_cast<uint8_t>(step.channel % 2 ? 1 + i % 10 : 1 + i % 2);
  }
  for (int i = 0; i < kPeriodCount; ++i) {
    const int16_t years[3] = {kEveryYear, 2025, 2026};
    model.periods[i] = {years[i % 3],
                        static_cast<uint8_t>(1 + i % 12),
                        static_cast<uint8_t>(1 + i % 20),
                        static_cast<uint8_t>(1 + i % 12),
                        static_cast<uint8_t>(10 + i % 18),
                        static_cast<uint8_t>(1 + i % 99)};
  }
  for (int i = 0; i < kDateCount; ++i) {
    model.dates[i] = {static_cast<int16_t>(i % 2 ? 2025 : 2026), static_cast<uint8_t>(1 + i % 12),
                      static_cast<uint8_t>(1 + i % 28), static_cast<uint8_t>(1 + i % 99)};
  }
  model.basicProgram = 1;
  model.holidayEnabled = 1;
  model.holidayProgram = 2;
  model.summerTime = {3, 2, 1, 2, 11, 1, 1, 2};
  model.summerTimeEnabled = 1;
  model.radioFrequency = 825;
  return model;
}

void BM_FullCsvReport(benchmark::State& state) {
  const ScheduleModel stress = StressModel();
  ProgramNameTable names{};
  for (int p = 1; p <= kMaxProgram; ++p) {
    std::string name = "PROGRAM " + std::to_string(p);
    std::copy(name.begin(), name.end(), names.names[p].begin());
  }
  IniSettings settings;
  BuildChimeLists(settings);
  HolidayTable holidays;
  ClearHolidayTable(holidays);
  RadioStation station;
  SettingsImage image{};
  std::array<YearCalendar, 2> calendars{};
  std::size_t bytes = 0;
  for (auto _ : state) {
    ScheduleModel model = stress;
    CountingOutput output;
    WorkingScheduleReport report(
        {model, names, settings, station, {{2025, 2026}, &holidays, true}, image, calendars});
    report.Prepare();
    benchmark::DoNotOptimize(report.Write(output, "stress.CSV", {2025, 4, 1, 12, 0, 0}));
    bytes = output.bytes;
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_FullCsvReport)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin
