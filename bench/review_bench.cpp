// The comparison of two full schedules and a year's agenda as an iCalendar file.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>

#include "StressModel.h"
#include "calendar/PackImage.h"
#include "document/SettingsFiles.h"
#include "review/ICalendarFile.h"
#include "review/ScheduleDiff.h"

namespace tavrin {
namespace {

// Two full schedules: the second has its steps in reverse order and 50 of them changed.
void BM_DiffFullSchedules(benchmark::State& state) {
  const auto a = std::make_unique<ScheduleModel>(StressModel());
  auto b = std::make_unique<ScheduleModel>(*a);
  std::reverse(b->steps.begin(), b->steps.end());
  for (int i = 0; i < 50; ++i) b->steps[i * 20].minute = static_cast<uint8_t>((i * 7 + 1) % 60);
  ProgramNameTable names{};
  IniSettings settings;
  BuildChimeLists(settings);
  std::size_t found = 0;
  for (auto _ : state) {
    found = CompareSchedules({*a, names}, {*b, names}, settings).size();
    benchmark::DoNotOptimize(found);
  }
  state.counters["differences"] = static_cast<double>(found);
}
BENCHMARK(BM_DiffFullSchedules)->Unit(benchmark::kMillisecond);

// A year of the school example (about 3300 events), and a year of the schedule that fills every
// table, whose programs have about ten steps each.
void YearICalendar(benchmark::State& state, const SettingsImage& image) {
  ProgramNameTable names{};
  IniSettings settings;
  BuildChimeLists(settings);
  const ICalendarOptions options{"Asia/Tokyo", {2026, 12, 8, 9, 0, 0}};
  std::size_t bytes = 0;
  for (auto _ : state) {
    Result<std::string> text =
        AgendaICalendar(image, {2027, 1, 1}, {2027, 12, 31}, names, settings, "x.BIN", options);
    bytes = text.ok() ? text->size() : 0;
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_YearICalendarSchool(benchmark::State& state) {
  SettingsImage image{};
  if (!ReadSettingsFile(TAVRIN_SOURCE_DIR "/examples/school.BIN", image).ok()) {
    state.SkipWithError("examples/school.BIN cannot be read");
    return;
  }
  YearICalendar(state, image);
}
BENCHMARK(BM_YearICalendarSchool)->Unit(benchmark::kMillisecond);

void BM_YearICalendarFull(benchmark::State& state) {
  auto model = std::make_unique<ScheduleModel>(StressModel());
  RadioStation station;
  HolidayTable holidays{};
  ClearHolidayTable(holidays);
  SettingsImage image{};
  std::array<YearCalendar, 2> calendars{};
  PackImage(*model, station, {YearsFromClock(2027), &holidays, true}, image, calendars);
  YearICalendar(state, image);
}
BENCHMARK(BM_YearICalendarFull)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin
