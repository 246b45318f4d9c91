// The export writes whatever the working model holds, and the model can come from any settings
// file. Any model, names and "Tavrin.ini" must give a whole report: every write succeeds, each line
// fits the line buffer and ends in CR LF, and writing again gives the same bytes.
//
// Input: one byte of mode and year, one byte of length and that many bytes of "Tavrin.ini", the
// 1600 bytes of names, then the bytes of the model, its steps last so that the rest fits the
// runs' 16384 bytes; whatever is missing stays zero.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "export/WorkingScheduleReport.h"

using namespace tavrin;

namespace {

class Memory : public ByteSink {
 public:
  bool Write(const char* data, std::size_t size) override {
    text.append(data, size);
    return true;
  }
  std::string text;
};

// Copies up to `size` bytes into `target` and moves past them.
void Take(const uint8_t*& data, std::size_t& left, void* target, std::size_t size) {
  const std::size_t n = std::min(left, size);
  std::memcpy(target, data, n);
  data += n;
  left -= n;
}

std::string Report(const WorkingScheduleReport& report) {
  Memory out;
  const LocalTime now{2026, 4, 1, 9, 5, 0};
  if (!report.Write(out, "report.csv", now)) __builtin_trap();
  return out.text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  uint8_t control = 0;
  Take(data, size, &control, 1);
  uint8_t iniSize = 0;
  Take(data, size, &iniSize, 1);
  std::string ini(std::min<std::size_t>(iniSize, size), '\0');
  Take(data, size, ini.data(), ini.size());
  IniSettings settings;
  ParseSettingsIni(ini.data(), ini.size(), settings);
  BuildChimeLists(settings);
  ProgramNameTable names{};
  Take(data, size, &names, sizeof names);
  ScheduleModel model{};
  auto* bytes = reinterpret_cast<uint8_t*>(&model);
  constexpr std::size_t kSteps = offsetof(ScheduleModel, steps);
  constexpr std::size_t kAfterSteps = kSteps + sizeof model.steps;
  Take(data, size, bytes, kSteps);
  Take(data, size, bytes + kAfterSteps, sizeof model - kAfterSteps);
  Take(data, size, bytes + kSteps, sizeof model.steps);

  const ImageContext context{YearsFromClock(2000 + control / 2 % 100), &fuzzing::SampleHolidays(),
                             (control & 1) != 0};
  RadioStation station{};
  SettingsImage image;
  std::array<YearCalendar, 2> calendars;
  WorkingScheduleReport report({model, names, settings, station, context, image, calendars});
  report.Prepare();
  const std::string text = Report(report);

  if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) __builtin_trap();
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos || end + 2 - start > CsvWriter::kLineBuffer) __builtin_trap();
    start = end + 2;
  }
  if (Report(report) != text) __builtin_trap();
  return 0;
}
