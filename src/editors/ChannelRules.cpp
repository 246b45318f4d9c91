#include "editors/ChannelRules.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "model/TimerLimits.h"

namespace tavrin::channels {
namespace {

std::string Minutes(int value) { return NumberItem(value, "分"); }
std::string Seconds(int value) { return NumberItem(value, "秒"); }

int CellOrEmpty(const std::string& text) {
  return text.empty() ? kEmptyCell : std::min(ReadCellNumber(text).value_or(0), 254);
}

std::string Missing(int channel, const char* item) {
  return "CH" + std::to_string(channel) + " の＜" + item + "＞の指定が有りません。";
}

}  // namespace

grid::CellList ColumnChoices(int col) {
  switch (col) {
    case kTypeCol:
      return TextChoices(TypeList());
    case kMinuteCol:
      return NumberChoices(MinuteList());
    case kSecondCol:
      return NumberChoices(SecondList());
    default:
      return TextChoices(RiseList());
  }
}

const std::string& TypeList() {
  static const std::string list = std::string(texts::kTimeSignal) + "|" + texts::kKeep;
  return list;
}

const std::string& RiseList() {
  static const std::string list = JoinList(texts::kRiseTimes);
  return list;
}

const std::string& MinuteList() {
  static const std::string list = NumberList(limits::kSignalMinutes, "分");
  return list;
}

const std::string& SecondList() {
  static const std::string list = NumberList(limits::kSignalSeconds, "秒");
  return list;
}

ChannelKind KindOfText(const std::string& type) {
  if (type == texts::kTimeSignal) return kChannelTimeSignal;
  if (type == texts::kKeep) return kChannelKeep;
  return kChannelUnused;
}

void FillRow(TextTable& table, int row, const ChannelSetting& channel) {
  for (int col = 0; col < kCols; ++col) table.at(row, col).clear();
  if (channel.kind == kChannelKeep) {
    table.at(row, kTypeCol) = texts::kKeep;
    MarkKeepRow(table, row);
  } else if (channel.kind == kChannelTimeSignal) {
    table.at(row, kTypeCol) = texts::kTimeSignal;
    const int minutes = std::min<int>(channel.signalMinutes, limits::kSignalMinutes.high);
    const int seconds = std::min<int>(channel.signalSeconds, limits::kSignalSeconds.high);
    if (minutes != 0 || seconds != 0) {
      table.at(row, kMinuteCol) = Minutes(minutes);
      table.at(row, kSecondCol) = Seconds(seconds);
    }
    table.at(row, kRiseCol) =
        texts::kRiseTimes[std::min<int>(channel.riseTime, limits::kRiseTime.high)];
  }
}

TextTable Fill(const ScheduleModel& model) {
  TextTable table(kChannelCount, kCols);
  for (int row = 0; row < kChannelCount; ++row)
    FillRow(table, row, model.channels[static_cast<std::size_t>(row)]);
  return table;
}

CursorPlace PlaceCursor(const TextTable& table) {
  for (int row = 0; row < table.rows(); ++row)
    if (table.at(row, kTypeCol).empty()) return {{row, kTypeCol}, false};
  for (int row = 0; row < table.rows(); ++row) {
    if (table.at(row, kTypeCol) != texts::kTimeSignal) continue;
    for (int col = kMinuteCol; col <= kRiseCol; ++col)
      if (table.at(row, col).empty()) return {{row, col}, false};
  }
  return {{0, kTypeCol}, true};
}

bool Editable(const TextTable& table, CellPos cell) {
  switch (KindOfText(table.at(cell.row, kTypeCol))) {
    case kChannelUnused:
      return cell.col == kTypeCol;
    case kChannelTimeSignal:
      return cell.col != kTypeCol;
    case kChannelKeep:
      return false;
  }
  return false;
}

void MarkKeepRow(TextTable& table, int row) {
  for (int col = kMinuteCol; col <= kRiseCol; ++col) table.at(row, col) = kNoValue;
}

Verdict CheckPage(const TextTable& table) {
  for (int row = 0; row < table.rows(); ++row) {
    if (table.at(row, kTypeCol) != texts::kTimeSignal) continue;
    const int channel = row + 1;
    if (table.at(row, kMinuteCol).empty())
      return Verdict({row, kMinuteCol}, Missing(channel, "報時（分）"));
    if (table.at(row, kSecondCol).empty())
      return Verdict({row, kSecondCol}, Missing(channel, "報時（秒）"));
    const long length = ReadCellNumber(table.at(row, kMinuteCol)).value_or(0) * 60L +
                        ReadCellNumber(table.at(row, kSecondCol)).value_or(0);
    if (!limits::kSignalLength.Holds(length))
      return Verdict({row, kSecondCol},
                     "CH" + std::to_string(channel) + " の＜報時＞の設定が不正です。");
  }
  return {};
}

Verdict CheckDialogRow(const TextTable& table, int row) {
  const std::string& type = table.at(row, kTypeCol);
  if (type.empty()) return Verdict({row, kTypeCol}, "＜タイプ＞の指定が有りません。");
  if (type == texts::kKeep) return {};
  if (table.at(row, kMinuteCol).empty())
    return Verdict({row, kMinuteCol}, "＜報時（分）＞の指定が有りません。");
  if (table.at(row, kSecondCol).empty())
    return Verdict({row, kSecondCol}, "＜報時（秒）＞の指定が有りません。");
  // The dialog has no upper limit: only a signal of no length is refused.
  const long length = ReadCellNumber(table.at(row, kMinuteCol)).value_or(0) * 60L +
                      ReadCellNumber(table.at(row, kSecondCol)).value_or(0);
  if (length < limits::kSignalLength.low)
    return Verdict({row, kSecondCol}, "＜報時＞の設定が不正です。");
  return {};
}

ChannelSetting StoredRow(const TextTable& table, int row) {
  ChannelSetting channel{};
  channel.kind = KindOfText(table.at(row, kTypeCol));
  if (channel.kind != kChannelTimeSignal) return channel;
  // The lists offer 0..60 and 0..59; a typed number larger than a byte keeps its low byte.
  channel.signalMinutes =
      static_cast<uint8_t>(ReadCellNumber(table.at(row, kMinuteCol)).value_or(0));
  channel.signalSeconds =
      static_cast<uint8_t>(ReadCellNumber(table.at(row, kSecondCol)).value_or(0));
  const int rise = ListPosition(RiseList(), table.at(row, kRiseCol));
  channel.riseTime = static_cast<uint8_t>(rise > 1 ? rise - 1 : 0);
  return channel;
}

void Store(const TextTable& table, ScheduleModel& model) {
  const std::array<ChannelSetting, kChannelCount> before = model.channels;
  for (int row = 0; row < kChannelCount; ++row)
    model.channels[static_cast<std::size_t>(row)] = StoredRow(table, row);
  DropStepsOfChangedChannels(before, model);
}

void DropStepsOfChangedChannels(const std::array<ChannelSetting, kChannelCount>& before,
                                ScheduleModel& model) {
  for (WeeklyStep& step : model.steps) {
    if (step.channel < 1 || step.channel > kChannelCount) continue;
    const auto index = static_cast<std::size_t>(step.channel - 1);
    if (before[index].kind != model.channels[index].kind) std::memset(&step, 0, sizeof step);
  }
}

void Copy(const TextTable& table, int first, int last, EditorClipboards& clipboards) {
  clipboards.channelCount = 0;
  for (int row = std::max(first, 0); row <= last && row < table.rows(); ++row) {
    if (clipboards.channelCount == kChannelCount) break;
    ChannelClip& clip = clipboards.channels[static_cast<std::size_t>(clipboards.channelCount++)];
    clip.row = static_cast<uint8_t>(row);
    clip.kind = KindOfText(table.at(row, kTypeCol));
    clip.minutes = static_cast<uint8_t>(CellOrEmpty(table.at(row, kMinuteCol)));
    clip.seconds = static_cast<uint8_t>(CellOrEmpty(table.at(row, kSecondCol)));
    const std::string& rise = table.at(row, kRiseCol);
    const int position = ListPosition(RiseList(), rise);
    clip.rise = rise.empty() ? kEmptyCell : static_cast<uint8_t>(position > 1 ? position - 1 : 0);
  }
}

Result<void> Paste(TextTable& table, int first, const EditorClipboards& clipboards) {
  const int last = std::min(first + clipboards.channelCount, table.rows()) - 1;
  for (int row = std::max(first, 0); row <= last; ++row)
    if (!table.at(row, kTypeCol).empty())
      return Fail("設定済みのチャンネルには、貼り付け出来ません");
  for (int row = std::max(first, 0); row <= last; ++row) {
    const ChannelClip& clip = clipboards.channels[static_cast<std::size_t>(row - first)];
    for (int col = 0; col < kCols; ++col) table.at(row, col).clear();
    if (clip.kind == kChannelKeep) {
      table.at(row, kTypeCol) = texts::kKeep;
      MarkKeepRow(table, row);
    } else if (clip.kind == kChannelTimeSignal) {
      table.at(row, kTypeCol) = texts::kTimeSignal;
      if (clip.minutes != kEmptyCell) table.at(row, kMinuteCol) = Minutes(clip.minutes);
      if (clip.seconds != kEmptyCell) table.at(row, kSecondCol) = Seconds(clip.seconds);
      if (clip.rise != kEmptyCell) table.at(row, kRiseCol) = ListItem(RiseList(), clip.rise + 1);
    }
  }
  return {};
}

}  // namespace tavrin::channels
