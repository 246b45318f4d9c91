// A schedule and everything else the CSV report reads, rendered to UTF-8 lines for checking.
#pragma once

#include <array>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "MakeStep.h"
#include "export/WorkingScheduleReport.h"
#include "model/HolidayTable.h"
#include "model/IniSettings.h"
#include "model/ShiftJis.h"

namespace tavrin::testing {

class StringOutput : public ByteSink {
 public:
  bool Write(const char* data, std::size_t size) override {
    if (failAfter >= 0 && writes >= failAfter) return false;
    ++writes;
    chunks.push_back(std::string(data, size));
    bytes.append(data, size);
    return true;
  }
  std::string bytes;
  std::vector<std::string> chunks;
  int writes = 0;
  int failAfter = -1;
};

struct CsvFixture {
  ScheduleModel model;
  ProgramNameTable names{};
  IniSettings settings;
  RadioStation station;
  HolidayTable holidays;
  SettingsImage image{};
  std::array<YearCalendar, 2> calendars{};
  YearPair years{2025, 2026};
  LocalTime now{2025, 4, 1, 8, 5, 9};
  std::string title = "report.CSV";  // Shift-JIS
  StringOutput output;

  WorkingSchedule Schedule() {
    return {model, names,    settings, station, {years, &holidays, settings.RadioModeOn()},
            image, calendars};
  }

  CsvFixture() {
    ClearModel(model);
    ClearHolidayTable(holidays);
    BuildChimeLists(settings);
  }

  void SetName(int program, const std::string& sjis) {
    std::memset(names.names[program].data(), 0, kNameBytes);
    std::memcpy(names.names[program].data(), sjis.data(), std::min<std::size_t>(sjis.size(), 16));
  }

  bool Write() {
    output = StringOutput{};
    WorkingScheduleReport report(Schedule());
    report.Prepare();
    return report.Write(output, title, now);
  }

  // The report as UTF-8 lines (without CR LF); checks the line ends on the way.
  std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    const std::string& b = output.bytes;
    std::size_t start = 0;
    while (start < b.size()) {
      std::size_t end = b.find("\r\n", start);
      if (end == std::string::npos) {
        lines.push_back("<no CR LF>" + FromShiftJis(b.substr(start)));
        break;
      }
      lines.push_back(FromShiftJis(b.substr(start, end - start)));
      start = end + 2;
    }
    return lines;
  }

  // The lines of the section that begins with `heading`, heading excluded.
  std::vector<std::string> Section(const std::string& heading) {
    std::vector<std::string> lines = Lines(), body;
    bool inside = false;
    for (const std::string& line : lines) {
      if (inside && line.rfind(";＜", 0) == 0) break;
      if (inside) body.push_back(line);
      if (line == heading) inside = true;
    }
    return body;
  }
};

}  // namespace tavrin::testing
