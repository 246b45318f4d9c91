// The comma-separated report of the whole working schedule: a header and up to thirteen
// sections, Shift-JIS, every line ending in CR LF. It doubles as a printable confirmation.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "calendar/YearCalendar.h"
#include "model/ByteSink.h"
#include "model/Clock.h"
#include "model/ImagePacking.h"
#include "model/IniSettings.h"
#include "model/ScheduleModel.h"

namespace tavrin {

// Lines are built in a 512-byte line buffer and collected in a 2048-byte output buffer, which is
// handed on whenever the next line would not fit it, and at the end.
class CsvWriter {
 public:
  static constexpr std::size_t kLineBuffer = 512;
  static constexpr std::size_t kOutputBuffer = 2048;

  explicit CsvWriter(ByteSink& output) : output_(output) {}

  // A piece that does not fit into the line buffer (with the line end) is left out of its line.
  CsvWriter& Add(std::string_view piece);
  CsvWriter& AddNumber(long value);
  // Ends the line with CR LF; false once a write has failed.
  bool EndLine();
  bool Line(std::string_view text) { return Add(text).EndLine(); }
  // Hands on what is left in the output buffer.
  bool Flush();
  bool failed() const { return failed_; }

 private:
  bool WriteOut();

  ByteSink& output_;
  char line_[kLineBuffer];
  std::size_t lineLength_ = 0;
  char out_[kOutputBuffer];
  std::size_t outLength_ = 0;
  bool failed_ = false;
};

// What the report reads: the schedule as the editors leave it, its steps compacted and sorted, and
// the calendars that packing it resolved.
struct CsvReportInput {
  const ScheduleModel& model;
  const ProgramNameTable& names;
  const IniSettings& settings;  // chime table (as BuildChimeLists left it) and mode
  bool radioMode;
  YearPair years;
  const std::array<YearCalendar, 2>& calendars;  // current year first
  std::string title;                             // the export file's name, Shift-JIS
  LocalTime now;
};

// Writes the header and every section, stopping at the first failed write; then flushes.
bool WriteCsvReport(CsvWriter& writer, const CsvReportInput& input);

}  // namespace tavrin
