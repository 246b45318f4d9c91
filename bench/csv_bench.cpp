// The whole CSV report of a schedule that fills every table.
#include <benchmark/benchmark.h>

#include <string>

#include "StressModel.h"
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
