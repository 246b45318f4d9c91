// The weekly program dialog's rules over its grid texts: one row per step of one program on one
// channel; seven day columns, then hour, minute and action.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "editors/EditorClipboards.h"
#include "editors/GridText.h"
#include "editors/Verdict.h"
#include "model/IniSettings.h"
#include "model/Result.h"
#include "model/ScheduleModel.h"

namespace tavrin::steps {

inline constexpr int kDayCols = 7;  // Sunday first
inline constexpr int kHourCol = 7;
inline constexpr int kMinuteCol = 8;
inline constexpr int kActionCol = 9;
inline constexpr int kCols = 10;

inline constexpr char kCaption[] = "週間プログラム設定";

// "0 分|...|59 分"; the hour column offers HourList().
const std::string& MinuteList();

// The action column of a channel kind: chime items "0.（なし）", "1.name", ... for a time-signal
// channel, "ON" and "OFF" for a keep channel. Texts are UTF-8.
class ActionChoices {
 public:
  ActionChoices(int kind, const IniSettings& settings);
  int kind() const { return kind_; }
  const std::string& list() const { return list_; }
  // A chime code shows as the item of the first record with that code, "0.（なし）" otherwise; a
  // keep code as "（なし）", "ON" or "OFF".
  std::string Text(int code) const;
  // The code an item stands for (chime items compared without regard to case); 0 otherwise.
  int Code(const std::string& text) const;
  const std::string& header() const { return header_; }

 private:
  int kind_;
  std::string list_;
  std::string header_;
  std::vector<std::string> items_;  // chime items in table order, "0.（なし）" first
  std::vector<int> codes_;          // the code of each item
  IniSettings settings_;
};

// The list of data column `col`: hours, minutes and chimes as numbers, ON and OFF as texts; none
// for the day columns, which are marked, not typed into.
std::optional<grid::CellList> ColumnChoices(int col, const ActionChoices& choices);

// The dialog's rows and, per row, the action code the row was written from. Until an edit of its
// action cell is stored, the row keeps that code, even one that no list item names (a chime the
// settings file no longer lists shows as "0.（なし）"); after one, the cell's text decides, even
// when the user picked the very text that was there.
struct StepSheet {
  explicit StepSheet(int rows) : table(rows, kCols), actions(static_cast<std::size_t>(rows)) {}
  struct Action {
    int code = 0;
    bool edited = false;
  };
  TextTable table;
  std::vector<Action> actions;

  // Writes a step's action into the row, as not edited.
  void SetAction(int row, const std::string& text, int code);
  // The user stored an edit into the row's action cell.
  void ActionEdited(int row);
  int ActionCode(int row, const ActionChoices& choices) const;
  void ClearRows(int first, int last);
};

// `rows` rows, the steps of `program` on `channel` first, in slot order. `dayMark` is UTF-8.
StepSheet Fill(const ScheduleModel& model, int program, int channel, const ActionChoices& choices,
               const std::string& dayMark, int rows);
// The first row whose cells are all empty; the first row when none is.
int FirstEmptyRow(const TextTable& table);
// Marks or unmarks a day cell; false (nothing changed) for a cell outside the day columns.
bool ToggleDay(TextTable& table, CellPos cell, const std::string& dayMark);

Verdict Check(const TextTable& table, int kind);

// The name as the dialog edits it (UTF-8), from at most 16 bytes of the table entry.
std::string NameForEdit(const ProgramNameTable& names, int program);
// What the name field keeps of typed text: characters without a Shift-JIS form are left out and
// the text ends before it would pass 16 bytes (UTF-8 in and out).
std::string NameInput(const std::string& utf8);
// The note under the name field for typed text (UTF-8): the characters the name file cannot hold
// (names::RefusalNote), else that the name was cut at the bytes an entry holds
// (names::LengthNote); empty when the field keeps all of it.
std::string NameNote(const std::string& utf8);
// The name as the table stores it: Shift-JIS cut to 16 bytes on a character boundary; refused
// when a character has no Shift-JIS form.
Result<std::string> NameBytes(const std::string& utf8);
// What the name field `edited` (UTF-8) writes into the program's entry: nothing while it still
// shows the entry's name, whose bytes then stay as they are (bytes that do not decode, half a
// character at the end, codes with two forms); else NameBytes, or nothing when that refuses.
std::optional<std::string> NameToStore(const ProgramNameTable& names, int program,
                                       const std::string& edited);

// The checked rows become the steps of `program` on `channel`; with every other step in use
// they are compacted and sorted into the model. A name, when given, goes into its table entry.
void Commit(const StepSheet& sheet, const ActionChoices& choices, int program, int channel,
            const std::optional<std::string>& nameBytes, ScheduleModel& model,
            ProgramNameTable& names);

void Copy(const StepSheet& sheet, int first, int last, const ActionChoices& choices, int program,
          StepClipboard& clipboard);
// Whether the clipboard holds entries for a channel of `kind`.
bool CanPaste(const StepClipboard& clipboard, int kind);
// Writes the entries from row `first` down, as far as the last row.
void Paste(StepSheet& sheet, int first, const StepClipboard& clipboard,
           const ActionChoices& choices, const std::string& dayMark);

}  // namespace tavrin::steps
