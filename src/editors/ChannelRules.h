// The channel page's and the single-channel dialog's rules over their grid texts: one row per
// channel; type, signal minutes, signal seconds and rise-time columns.
#pragma once

#include <array>

#include "editors/EditorClipboards.h"
#include "editors/GridText.h"
#include "editors/Verdict.h"
#include "model/Result.h"
#include "model/ScheduleModel.h"
#include "model/ScheduleTexts.h"

namespace tavrin::channels {

inline constexpr int kCols = 4;
inline constexpr int kTypeCol = 0;
inline constexpr int kMinuteCol = 1;
inline constexpr int kSecondCol = 2;
inline constexpr int kRiseCol = 3;

inline constexpr char kPageCaption[] = "チャンネル設定";
inline constexpr char kDialogCaption[] = "チャネル設定";
inline constexpr char kNoValue[] = "----";

// "報時|キープ" and "（なし）|-3 秒|-10 秒|-30 秒".
const std::string& TypeList();
const std::string& RiseList();
// "0 分|1 分|...|60 分" and "0 秒|...|59 秒": the signal's limits.
const std::string& MinuteList();
const std::string& SecondList();

// The list of data column `col`: type and rise time as texts, minutes and seconds as numbers.
grid::CellList ColumnChoices(int col);

// The kind a type text stands for.
ChannelKind KindOfText(const std::string& type);

// One row showing `channel`: minutes capped at 60, seconds at 59, rise time at 3; a signal of
// 0:00 leaves both cells empty.
void FillRow(TextTable& table, int row, const ChannelSetting& channel);
// The eight channels, CH1 first.
TextTable Fill(const ScheduleModel& model);

// Where the cursor goes after filling and after a successful check; `readOnly` when every row is
// complete, which makes the page read-only.
struct CursorPlace {
  CellPos cell;
  bool readOnly = false;
};
CursorPlace PlaceCursor(const TextTable& table);

// Whether a cell may be edited: the type column of a row without type, every other column of a
// time-signal row, nothing of a keep row.
bool Editable(const TextTable& table, CellPos cell);
// A keep row shows "----" in its signal and rise cells.
void MarkKeepRow(TextTable& table, int row);

Verdict CheckPage(const TextTable& table);
Verdict CheckDialogRow(const TextTable& table, int row);

ChannelSetting StoredRow(const TextTable& table, int row);
// Writes all eight rows into the model. Steps of a channel whose kind changes are removed: read
// back for the new kind their actions would mean something else (a chime would turn into ON/OFF).
void Store(const TextTable& table, ScheduleModel& model);
// Clears every step slot of a channel whose kind differs between `before` and the model.
void DropStepsOfChangedChannels(const std::array<ChannelSetting, kChannelCount>& before,
                                ScheduleModel& model);

// Copies rows first..last (at most eight) into the clipboard, replacing it.
void Copy(const TextTable& table, int first, int last, EditorClipboards& clipboards);
// Writes the clipboard from row `first` down, cut off at the last row; refused, changing nothing,
// when a target row already has a type.
Result<void> Paste(TextTable& table, int first, const EditorClipboards& clipboards);

}  // namespace tavrin::channels
