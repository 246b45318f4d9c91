// Packing and unpacking a full schedule: 1000 steps, 200 periods, 200 dates, 100 years of holidays.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "calendar/HolidayFile.h"
#include "calendar/PackImage.h"
#include "model/ImagePacking.h"

using namespace tavrin;

namespace {

HolidayTable FullHolidays() {
  std::ostringstream text;
  text << "[System]\r\nVersion=bench\r\n";
  for (int year = kFirstYear; year <= kLastYear; ++year) {
    text << '[' << year
         << "]\r\n01=1,13\r\n02=11,23\r\n03=20\r\n04=29\r\n05=3,4,5,6\r\n07=20\r\n08=11\r\n"
            "09=15,22,23\r\n10=13\r\n11=3,23\r\n";
  }
  const std::string bytes = text.str();
  HolidayTable table;
  ParseHolidayText(bytes.data(), bytes.size(), table);
  return table;
}

ScheduleModel FullModel(const YearPair& years) {
  ScheduleModel model;
  ClearModel(model);
  model.holidayEnabled = 1;
  model.holidayProgram = 50;
  model.basicProgram = 1;
  for (int i = 0; i < kChannelCount; ++i) {
    model.channels[i] = {static_cast<uint8_t>(i % 2 ? kChannelKeep : kChannelTimeSignal),
                         static_cast<uint8_t>(i % 2 ? 0 : 1), 5, 1};
  }
  for (int i = 0; i < kStepCount; ++i) {
    const uint8_t channel = static_cast<uint8_t>(1 + i % kChannelCount);
    model.steps[i] = {static_cast<uint8_t>(1 + i % kMaxProgram),
                      channel,
                      {1, 1, 1, 1, 1, static_cast<uint8_t>(i % 2), 0},
                      static_cast<uint8_t>(i % 24),
                      static_cast<uint8_t>(i % 60),
                      static_cast<uint8_t>(channel % 2 ? i % 10 : 1 + i % 2)};
  }
  model.stepCount = kStepCount;
  const int16_t periodYears[3] = {kEveryYear, years.currentYear, years.nextYear};
  for (int i = 0; i < kPeriodCount; ++i) {
    const int month = 1 + (i * 5) % 12;
    const int length = 1 + (i * 7) % 45;  // up to a month and a half
    const int startDay = 1 + (i * 3) % 28;
    const int endDay = startDay + length;
    const int endMonth = endDay > 28 ? (month % 12) + 1 : month;
    model.periods[i] = {periodYears[i % 3],
                        static_cast<uint8_t>(month),
                        static_cast<uint8_t>(startDay),
                        static_cast<uint8_t>(endMonth),
                        static_cast<uint8_t>(endDay > 28 ? endDay - 28 : endDay),
                        static_cast<uint8_t>(2 + i % 90)};
  }
  for (int i = 0; i < kDateCount; ++i) {
    model.dates[i] = {periodYears[i % 3], static_cast<uint8_t>(1 + i % 12),
                      static_cast<uint8_t>(1 + (i * 11) % 28), static_cast<uint8_t>(1 + i % 99)};
  }
  model.summerTimeEnabled = 1;
  model.summerTime = {3, 5, 1, 2, 10, 5, 1, 3};
  return model;
}

// Single-day settings in every third slot of both years: unpacking gives back all 200 periods
// and all 200 dates, the most an image can hold.
ScheduleModel DenseModel(const YearPair& years) {
  ScheduleModel model = FullModel(years);
  const int16_t kinds[3] = {kEveryYear, years.currentYear, years.nextYear};
  for (int i = 0; i < kPeriodCount; ++i) {
    const auto month = static_cast<uint8_t>(1 + i / 17);
    const auto day = static_cast<uint8_t>(1 + i % 17);
    model.periods[i] = {kinds[i % 3], month, day, month, day, static_cast<uint8_t>(1 + i % 99)};
  }
  for (int i = 0; i < kDateCount; ++i) {
    // Programs below the holiday program, so that no date reads as a holiday cell.
    model.dates[i] = {kinds[i % 3], static_cast<uint8_t>(1 + i / 17),
                      static_cast<uint8_t>(1 + i % 17), static_cast<uint8_t>(1 + i % 49)};
  }
  return model;
}

struct Fixture {
  explicit Fixture(bool dense)
      : model(dense ? DenseModel(context.years) : FullModel(context.years)) {}
  HolidayTable holidays = FullHolidays();
  ImageContext context{YearsFromClock(2027), &holidays, true};
  ScheduleModel model;
  RadioStation station;
  std::array<YearCalendar, 2> calendars;
  SettingsImage image;
};

// Argument 0: periods of up to six weeks that overlap; 1: the dense model.
void BM_PackImage(benchmark::State& state) {
  Fixture f(state.range(0) != 0);
  for (auto _ : state) {
    PackImage(f.model, f.station, f.context, f.image, f.calendars);
    benchmark::DoNotOptimize(f.image.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PackImage)->Arg(0)->Arg(1);

void BM_UnpackImage(benchmark::State& state) {
  Fixture f(state.range(0) != 0);
  PackImage(f.model, f.station, f.context, f.image, f.calendars);
  ScheduleModel model;
  for (auto _ : state) {
    UnpackImage(f.image, f.context, model);
    benchmark::DoNotOptimize(&model);
    benchmark::ClobberMemory();
  }
  int periods = 0, dates = 0;
  for (const PeriodEntry& entry : model.periods) periods += entry.year != 0;
  for (const DateEntry& entry : model.dates) dates += entry.year != 0;
  state.counters["steps"] = model.stepCount;
  state.counters["periods"] = periods;
  state.counters["dates"] = dates;
}
BENCHMARK(BM_UnpackImage)->Arg(0)->Arg(1);

}  // namespace
