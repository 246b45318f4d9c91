// The weekly list page's rules: which program has steps on which channel, which steps the page
// drops, and how many rows the step dialog of a program gets.
#pragma once

#include <array>

#include "editors/GridText.h"
#include "model/ScheduleModel.h"

namespace tavrin::weekly {

// marks[p][c]: program p (1..99) has a step in use on channel c + 1.
using ListMarks = std::array<std::array<bool, kChannelCount>, kProgramCount>;

// Clears every slot whose step is in use on a channel 1..8 that has no kind. The whole slot goes:
// a slot left with a program but no channel would count as neither used nor free.
void DropStepsOfUnusedChannels(ScheduleModel& model);
// Steps of programs and channels outside 1..99 and 1..8 are not marked.
ListMarks Marks(const ScheduleModel& model);
// The first program without a mark, channel by channel; the first cell when every one is marked.
// Rows are programs 1..99, columns channels 1..8.
CellPos FirstEmptyCell(const ListMarks& marks);

// Slots that can take a new step: every slot not in use.
int FreeSlots(const ScheduleModel& model);
// Steps in use of `program` on `channel`, while the channel is of `kind`.
int OwnSteps(const ScheduleModel& model, int program, int channel, int kind);
// The step dialog's row count, never above 1000; 0 means it must not open.
int StepRows(const ScheduleModel& model, int program, int channel, int kind);

inline constexpr char kListCaption[] = "週間プログラム";
inline constexpr char kFullMessage[] =
    "設定されている週間プログラムのステップ数が最大数(1000)に達しています。";

}  // namespace tavrin::weekly
