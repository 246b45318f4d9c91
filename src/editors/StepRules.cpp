#include "editors/StepRules.h"

#include <strings.h>
#include <algorithm>
#include <cstring>

#include "editors/NameListRules.h"
#include "editors/StepSort.h"
#include "editors/WeeklyGroups.h"
#include "model/ScheduleTexts.h"
#include "model/ShiftJis.h"

namespace tavrin::steps {
namespace {

std::string Hour(int value) { return NumberItem(value, "時"); }
std::string Minute(int value) { return NumberItem(value, "分"); }

bool RowEmpty(const TextTable& table, int row) {
  for (int col = 0; col < kCols; ++col)
    if (!table.at(row, col).empty()) return false;
  return true;
}

uint8_t CellByte(const std::string& text) {
  return static_cast<uint8_t>(std::min(ReadCellNumber(text).value_or(0), 255));
}

void WriteStep(StepSheet& sheet, int row, const WeeklyStep& step, const ActionChoices& choices,
               const std::string& dayMark) {
  TextTable& table = sheet.table;
  for (int day = 0; day < kDayCols; ++day)
    table.at(row, day) = step.days[static_cast<std::size_t>(day)] ? dayMark : std::string();
  table.at(row, kHourCol) = step.hour == kEmptyCell ? std::string() : Hour(step.hour);
  table.at(row, kMinuteCol) = step.minute == kEmptyCell ? std::string() : Minute(step.minute);
  sheet.SetAction(row, choices.Text(step.action), step.action);
}

std::string Missing(int row, const char* item) {
  return "ステップ " + std::to_string(row + 1) + " の＜" + item + "＞の指定が有りません。";
}

}  // namespace

const std::string& MinuteList() {
  static const std::string list = NumberList(limits::kMinute, "分");
  return list;
}

std::optional<grid::CellList> ColumnChoices(int col, const ActionChoices& choices) {
  switch (col) {
    case kHourCol:
      return NumberChoices(HourList());
    case kMinuteCol:
      return NumberChoices(MinuteList());
    case kActionCol:
      return choices.kind() == kChannelTimeSignal ? NumberChoices(choices.list())
                                                  : TextChoices(choices.list());
    default:
      return std::nullopt;
  }
}

ActionChoices::ActionChoices(int kind, const IniSettings& settings)
    : kind_(kind), settings_(settings) {
  if (kind != kChannelTimeSignal) {
    list_ = std::string(texts::KeepActionName(kKeepOn)) + "|" + texts::KeepActionName(kKeepOff);
    header_ = "ON / OFF";
    return;
  }
  header_ = "チャイム";
  items_.emplace_back(texts::kNoChime);
  codes_.push_back(0);
  for (int i = 0; i < settings.chimeCount && i < kMaxChimes; ++i) {
    items_.push_back(texts::ChimeItem(settings, i + 1));
    codes_.push_back(settings.chimes[static_cast<std::size_t>(i)].code);
  }
  for (const std::string& item : items_) {
    if (!list_.empty()) list_ += '|';
    list_ += item;
  }
}

std::string ActionChoices::Text(int code) const {
  if (kind_ != kChannelTimeSignal) return texts::KeepActionName(code);
  return items_[static_cast<std::size_t>(ChimePosition(settings_, code))];
}

int ActionChoices::Code(const std::string& text) const {
  if (kind_ != kChannelTimeSignal) {
    if (text == texts::KeepActionName(kKeepOn)) return kKeepOn;
    return text == texts::KeepActionName(kKeepOff) ? kKeepOff : 0;
  }
  for (std::size_t i = 1; i < items_.size(); ++i)
    if (strcasecmp(items_[i].c_str(), text.c_str()) == 0) return codes_[i];
  return 0;
}

void StepSheet::SetAction(int row, const std::string& text, int code) {
  table.at(row, kActionCol) = text;
  actions[static_cast<std::size_t>(row)] = {code, false};
}

void StepSheet::ActionEdited(int row) {
  if (row >= 0 && row < table.rows()) actions[static_cast<std::size_t>(row)].edited = true;
}

int StepSheet::ActionCode(int row, const ActionChoices& choices) const {
  const Action& action = actions[static_cast<std::size_t>(row)];
  return action.edited ? choices.Code(table.at(row, kActionCol)) : action.code;
}

void StepSheet::ClearRows(int first, int last) {
  table.ClearRows(first, last);
  for (int row = std::max(first, 0); row <= std::min(last, table.rows() - 1); ++row)
    actions[static_cast<std::size_t>(row)] = {};
}

StepSheet Fill(const ScheduleModel& model, int program, int channel, const ActionChoices& choices,
               const std::string& dayMark, int rows) {
  StepSheet sheet(rows);
  int row = 0;
  for (const WeeklyStep& step : model.steps) {
    if (row == rows) break;
    if (step.used() && step.program == program && step.channel == channel)
      WriteStep(sheet, row++, step, choices, dayMark);
  }
  return sheet;
}

int FirstEmptyRow(const TextTable& table) {
  for (int row = 0; row < table.rows(); ++row)
    if (RowEmpty(table, row)) return row;
  return 0;
}

bool ToggleDay(TextTable& table, CellPos cell, const std::string& dayMark) {
  if (cell.col < 0 || cell.col >= kDayCols || cell.row < 0 || cell.row >= table.rows())
    return false;
  std::string& text = table.at(cell.row, cell.col);
  text = text.empty() ? dayMark : std::string();
  return true;
}

Verdict Check(const TextTable& table, int kind) {
  for (int row = 0; row < table.rows(); ++row) {
    if (RowEmpty(table, row)) continue;
    bool anyDay = false;
    for (int day = 0; day < kDayCols; ++day) anyDay = anyDay || !table.at(row, day).empty();
    if (!anyDay) return Verdict({row, 0}, Missing(row, "曜日"));
    if (table.at(row, kHourCol).empty())
      return Verdict({row, kHourCol}, Missing(row, "時刻（時）"));
    if (table.at(row, kMinuteCol).empty())
      return Verdict({row, kMinuteCol}, Missing(row, "時刻（分）"));
    if (table.at(row, kActionCol).empty())
      return Verdict({row, kActionCol},
                     Missing(row, kind == kChannelTimeSignal ? "チャイム" : "ON / OFF"));
  }
  return {};
}

std::string NameForEdit(const ProgramNameTable& names, int program) {
  return FromShiftJis(ProgramNameText(names, program));
}

std::string NameInput(const std::string& utf8) {
  std::string kept;
  std::size_t bytes = 0;
  for (const std::string& character : Utf8Characters(utf8)) {
    const std::optional<std::string> sjis = ToShiftJis(character);
    if (!sjis) continue;
    if (bytes + sjis->size() > static_cast<std::size_t>(kNameBytes)) break;
    bytes += sjis->size();
    kept += character;
  }
  return kept;
}

std::string NameNote(const std::string& utf8) {
  std::string note = names::RefusalNote(utf8);
  if (note.empty() && NameInput(utf8) != utf8) note = names::LengthNote();
  return note;
}

Result<std::string> NameBytes(const std::string& utf8) {
  std::optional<std::string> sjis = ToShiftJis(utf8);
  if (!sjis) return Fail("シフトJISで表せない文字が有ります。");
  return CutShiftJis(*sjis, kNameBytes);
}

std::optional<std::string> NameToStore(const ProgramNameTable& names, int program,
                                       const std::string& edited) {
  if (edited == NameForEdit(names, program)) return std::nullopt;
  Result<std::string> bytes = NameBytes(edited);
  if (!bytes) return std::nullopt;
  return *bytes;
}

void Commit(const StepSheet& sheet, const ActionChoices& choices, int program, int channel,
            const std::optional<std::string>& nameBytes, ScheduleModel& model,
            ProgramNameTable& names) {
  if (nameBytes && program >= 1 && program <= kMaxProgram) {
    auto& entry = names.names[static_cast<std::size_t>(program)];
    entry.fill('\0');
    std::memcpy(entry.data(), nameBytes->data(), std::min(nameBytes->size(), entry.size()));
  }
  std::vector<WeeklyStep> all;
  all.reserve(kStepCount);
  const TextTable& table = sheet.table;
  for (int row = 0; row < table.rows(); ++row) {
    if (RowEmpty(table, row)) continue;
    WeeklyStep step{};
    step.program = static_cast<uint8_t>(program);
    step.channel = static_cast<uint8_t>(channel);
    for (int day = 0; day < kDayCols; ++day)
      step.days[static_cast<std::size_t>(day)] = table.at(row, day).empty() ? 0 : 1;
    step.hour = CellByte(table.at(row, kHourCol));
    step.minute = CellByte(table.at(row, kMinuteCol));
    step.action = static_cast<uint8_t>(sheet.ActionCode(row, choices));
    all.push_back(step);
  }
  for (const WeeklyStep& step : model.steps)
    if (step.used() && (step.program != program || step.channel != channel)) all.push_back(step);
  CompactAndSortSteps(model, all);
}

void Copy(const StepSheet& sheet, int first, int last, const ActionChoices& choices, int program,
          StepClipboard& clipboard) {
  std::memset(&clipboard, 0, sizeof clipboard);
  const TextTable& table = sheet.table;
  for (int row = std::max(first, 0); row <= last && row < table.rows(); ++row) {
    WeeklyStep& entry = clipboard.steps[static_cast<std::size_t>(clipboard.count++)];
    entry.program = static_cast<uint8_t>(row);  // where it came from; the paste does not use it
    for (int day = 0; day < kDayCols; ++day)
      entry.days[static_cast<std::size_t>(day)] = table.at(row, day).empty() ? 0 : 1;
    const std::string& hour = table.at(row, kHourCol);
    const std::string& minute = table.at(row, kMinuteCol);
    entry.hour = hour.empty() ? kEmptyCell : std::min<uint8_t>(CellByte(hour), 254);
    entry.minute = minute.empty() ? kEmptyCell : std::min<uint8_t>(CellByte(minute), 254);
    entry.action = static_cast<uint8_t>(sheet.ActionCode(row, choices));
  }
  clipboard.program = program;
  clipboard.channelKind = choices.kind();
}

bool CanPaste(const StepClipboard& clipboard, int kind) {
  return clipboard.count > 0 && clipboard.channelKind == kind;
}

void Paste(StepSheet& sheet, int first, const StepClipboard& clipboard,
           const ActionChoices& choices, const std::string& dayMark) {
  if (!CanPaste(clipboard, choices.kind())) return;
  for (int i = 0; i < clipboard.count && first + i < sheet.table.rows(); ++i) {
    const WeeklyStep& entry = clipboard.steps[static_cast<std::size_t>(i)];
    const int row = first + i;
    const bool anyDay =
        std::any_of(entry.days.begin(), entry.days.end(), [](uint8_t d) { return d; });
    if (!anyDay && entry.hour == kEmptyCell && entry.minute == kEmptyCell && entry.action == 0) {
      sheet.ClearRows(row, row);
      continue;
    }
    WriteStep(sheet, row, entry, choices, dayMark);
  }
}

}  // namespace tavrin::steps
