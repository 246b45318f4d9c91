// The program-name list's rules: one row per program 1..99 with its name, its step count and where
// the annual program uses it; OK stores the names.
#pragma once

#include <vector>

#include "editors/GridText.h"
#include "model/ScheduleModel.h"

namespace tavrin::names {

inline constexpr int kNameCol = 0;
inline constexpr int kStepsCol = 1;
inline constexpr int kUsageCol = 2;
inline constexpr int kCols = 3;

inline constexpr char kCaption[] = "プログラム名一覧";

struct NameList {
  TextTable table{kMaxProgram, kCols};  // UTF-8
  // Rows of programs with neither steps nor a name: only their usage, in red.
  std::vector<bool> unused = std::vector<bool>(kMaxProgram);
};
NameList Fill(const ScheduleModel& model, const ProgramNameTable& names);
// The name cell of the first program without a name; program 1 when all have one.
CellPos FirstCursor(const TextTable& table);

// Rows whose edited name takes more than 16 bytes in Shift-JIS, in order; a cell still showing
// its stored name is never too long.
std::vector<int> OverlongNames(const TextTable& table, const ProgramNameTable& original);
// The table from the name cells. A cell still showing what Fill wrote keeps its entry's bytes as
// they were, even bytes that do not decode; every other name is cut to its first 16 bytes.
ProgramNameTable Store(const TextTable& table, const ProgramNameTable& original);

std::string OverlongMessage(int row);

// The note beside the list when a typed name holds characters the name file cannot hold, naming
// them: "「…」はシフトJISで表せない文字のため、プログラム名に使えません。"; empty when there are
// none (UTF-8).
std::string RefusalNote(const std::string& typed);
// The note when a typed name passes the bytes an entry holds:
// "名称は半角で１６文字（全角で８文字）までです。"
std::string LengthNote();

}  // namespace tavrin::names
