#include "editors/NameListRules.h"

#include <cstring>

#include "editors/WeeklyGroups.h"
#include "model/ShiftJis.h"

namespace tavrin::names {
namespace {

std::string UsageText(const ProgramUsage& usage) {
  std::string text;
  for (const std::string& word : UsageWords(usage)) {
    if (!text.empty()) text += ", ";
    text += word;
  }
  return text;
}

std::string ShownName(const ProgramNameTable& names, int program) {
  return FromShiftJis(ProgramNameText(names, program));
}

}  // namespace

NameList Fill(const ScheduleModel& model, const ProgramNameTable& names) {
  NameList list;
  const std::array<ProgramUsage, kProgramCount> usage = CountUsage(model);
  for (int program = 1; program <= kMaxProgram; ++program) {
    const int row = program - 1;
    const std::string name = ShownName(names, program);
    list.table.at(row, kUsageCol) = UsageText(usage[program]);
    if (name.empty() && usage[program].steps == 0) {
      list.unused[static_cast<std::size_t>(row)] = true;
      continue;
    }
    list.table.at(row, kNameCol) = name;
    list.table.at(row, kStepsCol) = std::to_string(usage[program].steps);
  }
  return list;
}

CellPos FirstCursor(const TextTable& table) {
  for (int row = 0; row < table.rows(); ++row)
    if (table.at(row, kNameCol).empty()) return {row, kNameCol};
  return {0, kNameCol};
}

std::vector<int> OverlongNames(const TextTable& table, const ProgramNameTable& original) {
  std::vector<int> rows;
  for (int row = 0; row < table.rows(); ++row) {
    if (table.at(row, kNameCol) == ShownName(original, row + 1)) continue;
    std::optional<std::string> sjis = ToShiftJis(table.at(row, kNameCol));
    // A character without a Shift-JIS form never gets into a cell; should one, count it as long.
    if (!sjis || sjis->size() > static_cast<std::size_t>(kNameBytes)) rows.push_back(row);
  }
  return rows;
}

ProgramNameTable Store(const TextTable& table, const ProgramNameTable& original) {
  ProgramNameTable names{};
  for (int program = 1; program <= kMaxProgram && program <= table.rows(); ++program) {
    const std::string& cell = table.at(program - 1, kNameCol);
    auto& entry = names.names[static_cast<std::size_t>(program)];
    if (cell.empty()) continue;
    if (cell == ShownName(original, program)) {
      entry = original.names[static_cast<std::size_t>(program)];
      continue;
    }
    const std::string bytes = CutShiftJis(ToShiftJis(cell).value_or(std::string()), kNameBytes);
    std::memcpy(entry.data(), bytes.data(), bytes.size());
  }
  return names;
}

std::string RefusalNote(const std::string& typed) {
  std::string refused;
  for (const std::string& character : Utf8Characters(typed)) {
    if (!ToShiftJis(character) && refused.find(character) == std::string::npos)
      refused += character;
  }
  if (refused.empty()) return {};
  return "「" + refused + "」はシフトJISで表せない文字のため、プログラム名に使えません。";
}

std::string LengthNote() {
  // The numbers as the window's other texts write them, in full-width digits.
  const auto fullWidth = [](int number) {
    std::string text;
    for (char digit : std::to_string(number))
      text +=
          std::string("０１２３４５６７８９").substr(3 * static_cast<std::size_t>(digit - '0'), 3);
    return text;
  };
  return "名称は半角で" + fullWidth(kNameBytes) + "文字（全角で" + fullWidth(kNameBytes / 2) +
         "文字）までです。";
}

std::string OverlongMessage(int row) {
  return "プログラム番号 " + std::to_string(row + 1) +
         " の＜プログラム名＞は半角で１６文字まで有効とします。";
}

}  // namespace tavrin::names
