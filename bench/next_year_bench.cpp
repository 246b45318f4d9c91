// The next school year of a full settings file: 200 one-day periods and 200 individual dates on
// the first 200 days of the school year from April 2026 (neighbouring periods of other programs,
// so that none merge), read with the file's own years, copied into 2027, listed as comparison
// lines, and the new file packed: the whole of tavrin-cli next-year but the files.
#include <benchmark/benchmark.h>

#include <memory>

#include "calendar/PackImage.h"
#include "review/NextYearReport.h"

namespace tavrin {
namespace {

std::unique_ptr<SettingsImage> FullFile(const HolidayTable& holidays) {
  auto model = std::make_unique<ScheduleModel>();
  ClearModel(*model);
  model->basicProgram = 1;
  int month = 4;
  int day = 1;
  for (int i = 0; i < kPeriodCount; ++i) {
    const auto m = static_cast<uint8_t>(month);
    const auto d = static_cast<uint8_t>(day);
    const auto program = static_cast<uint8_t>(1 + i % 98);
    model->periods[i] = {2026, m, d, m, d, program};
    model->dates[i] = {2026, m, d, static_cast<uint8_t>(99 - program)};
    if (++day > MonthLength(2026, month)) {
      day = 1;
      ++month;
    }
  }
  RadioStation station;
  auto image = std::make_unique<SettingsImage>();
  std::array<YearCalendar, 2> calendars{};
  PackImage(*model, station, {YearsFromClock(2026), &holidays, true}, *image, calendars);
  return image;
}

void BM_NextYearFullFile(benchmark::State& state) {
  HolidayTable holidays{};
  ClearHolidayTable(holidays);
  const std::unique_ptr<SettingsImage> old = FullFile(holidays);
  const ImageContext context{YearsFromClock(2027), &holidays, true};
  std::size_t added = 0;
  std::size_t notes = 0;
  for (auto _ : state) {
    const Result<NextYearReport> report = NextSchoolYearOf(*old, context, NextYearOptions());
    if (!report || !report->refusal.empty()) {
      state.SkipWithError("the full file was refused");
      return;
    }
    auto model = std::make_unique<ScheduleModel>(report->plan.result);
    RadioStation station;
    SettingsImage image{};
    std::array<YearCalendar, 2> calendars{};
    PackImage(*model, station, context, image, calendars);
    benchmark::DoNotOptimize(image);
    added = report->added.size();
    notes = report->notes.size();
  }
  state.counters["added"] = static_cast<double>(added);
  state.counters["notes"] = static_cast<double>(notes);
}
BENCHMARK(BM_NextYearFullFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin
