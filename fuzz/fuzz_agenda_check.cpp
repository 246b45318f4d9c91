// Any bytes as a settings image through the agenda, and as a working model (values a lenient
// model JSON lets through included) through the schedule check: every carried year resolves, every
// event is one the timer can run, and every finding says something.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <tuple>

#include "calendar/HolidayFile.h"
#include "review/Agenda.h"
#include "review/ScheduleCheck.h"

using namespace tavrin;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckAgenda(const SettingsImage& image) {
  for (int year : ImageYears(image)) {
    Result<std::vector<AgendaDay>> days = AgendaBetween(image, {year, 1, 1}, {year, 12, 31});
    Check(days.ok());
    Check(static_cast<int>(days->size()) == (year % 4 == 0 ? 366 : 365));
    for (const AgendaDay& day : *days) {
      Check(day.weekday >= 0 && day.weekday <= 6);
      Check(day.program != 0 || day.events.empty());
      for (std::size_t i = 0; i < day.events.size(); ++i) {
        const AgendaEvent& event = day.events[i];
        Check(event.hour <= 23 && event.minute <= 59 && event.chime <= 15);
        Check(event.channel >= 1 && event.channel <= kChannelCount);
        if (i > 0) {
          const AgendaEvent& before = day.events[i - 1];
          Check(std::tie(before.hour, before.minute, before.channel) <=
                std::tie(event.hour, event.minute, event.channel));
        }
      }
    }
  }
}

// The input repeated over the whole record, so that every field gets some of its bytes.
template <typename T>
void FillFrom(const uint8_t* data, std::size_t size, T& target) {
  auto* bytes = reinterpret_cast<uint8_t*>(&target);
  for (std::size_t i = 0; i < sizeof target; ++i) bytes[i] = data[i % size];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  SettingsImage image{};
  std::memcpy(image.data(), data + 1, std::min(size - 1, image.size()));
  CheckAgenda(image);

  ScheduleModel model;
  ProgramNameTable names;
  FillFrom(data + 1, size - 1, model);
  FillFrom(data, size, names);
  HolidayTable holidays;
  ParseHolidayText(reinterpret_cast<const char*>(data), size, holidays);
  const std::vector<Finding> findings =
      CheckSchedule({model, names, holidays, YearsFromClock(2000 + data[0] % 100)});
  for (const Finding& finding : findings) {
    Check(!finding.message.empty() && finding.severity == RuleSeverity(finding.rule));
  }
  return 0;
}
