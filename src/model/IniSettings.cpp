#include "model/IniSettings.h"

#include <cstring>
#include <string_view>

#include "model/FileHead.h"
#include "model/ScheduleTexts.h"
#include "model/ShiftJis.h"

namespace tavrin {
namespace {

constexpr std::size_t kLineBuffer = 510;
constexpr std::size_t kChimeNameBytes = 63;
constexpr std::size_t kMarkBytes = 31;
constexpr std::size_t kChimeItemBytes = 63;  // items of 64 bytes with their terminator

const char* const kDefaultChimes[kMaxChimes] = {"ウエストミンスターの鐘",
                                                "エーデルワイス",
                                                "小さな恋のメロディ",
                                                "チムチム・チェリー",
                                                "ビビディ・バビディ・ブー",
                                                "夕焼け小焼け",
                                                "家路",
                                                "別れの曲",
                                                "美女と野獣",
                                                "ア・ホール・ニュー・ワールド"};

enum class Section { kNone, kSystem, kChime, kSign };

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

std::string WithoutChars(std::string_view text, std::string_view remove) {
  std::string out;
  for (char c : text) {
    if (remove.find(c) == std::string_view::npos) out.push_back(c);
  }
  return out;
}

void SetChimeName(ChimeRecord& record, std::string_view sjis) {
  record.name.fill('\0');
  std::string name = CutShiftJis(sjis, kChimeNameBytes);
  std::memcpy(record.name.data(), name.data(), name.size());
}

// Lines end at CR LF only; a lone LF stays inside the line. Of each line the first 510 bytes
// count. The reader keeps no more than one line, whatever the size of the input.
class IniParser {
 public:
  explicit IniParser(IniSettings& settings) : settings_(settings) {}

  void Feed(const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
      char c = data[i];
      if (c == '\n' && lastWasCr_) {
        FinishLine();
        lastWasCr_ = false;
        continue;
      }
      lastWasCr_ = c == '\r';
      if (line_.size() < kLineBuffer) line_.push_back(c);
    }
  }

  void End() {
    if (!line_.empty()) FinishLine();
  }

 private:
  void FinishLine() {
    // A NUL ends the line's text, as it ends any text the program keeps.
    std::string text = WithoutChars(line_.substr(0, line_.find('\0')), "\r\n");
    line_.clear();
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) ++start;
    std::string_view view = std::string_view(text).substr(start);
    if (view.empty() || view[0] == ';') return;
    if (view[0] == '[') {
      SelectSection(view);
    } else if (section_ == Section::kSystem) {
      SystemLine(view);
    } else if (section_ == Section::kChime) {
      ChimeLine(view);
    } else if (section_ == Section::kSign) {
      SignLine(view);
    }
  }

  void SelectSection(std::string_view line) {
    section_ = Section::kNone;
    std::size_t close = line.find(']');
    if (close == std::string_view::npos) return;
    std::string_view name = line.substr(1, close - 1);
    if (SameText(name, "System")) section_ = Section::kSystem;
    if (SameText(name, "Chime")) section_ = Section::kChime;
    if (SameText(name, "Sign")) section_ = Section::kSign;
  }

  void SystemLine(std::string_view line) {
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return;
    if (!SameText(WithoutChars(line.substr(0, equals), " \t"), "RadioSet")) return;
    std::string value = WithoutChars(line.substr(equals + 1), " \t");
    if (SameText(value, "ON")) settings_.mode = 1;
    if (SameText(value, "OFF")) settings_.mode = 2;
  }

  void ChimeLine(std::string_view line) {
    std::size_t at = 0;
    long code = 0;
    while (at < line.size() && line[at] >= '0' && line[at] <= '9') {
      // Saturates: a long digit string is simply a code far out of range.
      if (code <= kHighestChimeCode) code = code * 10 + (line[at] - '0');
      ++at;
    }
    if (at == 0) return;
    while (at < line.size() && IsBlank(line[at])) ++at;
    if (at == line.size() || line[at] != '=') return;
    ++at;
    while (at < line.size() && IsBlank(line[at])) ++at;
    // A name that is only half a double-byte character is as empty as no name.
    std::string name = CutShiftJis(line.substr(at), kChimeNameBytes);
    if (name.empty() || code < kLowestChimeCode || code > kHighestChimeCode) return;
    if (settings_.chimeCount >= kMaxChimes) return;
    ChimeRecord& record = settings_.chimes[static_cast<std::size_t>(settings_.chimeCount++)];
    record.code = static_cast<int16_t>(code);
    SetChimeName(record, name);
  }

  void SignLine(std::string_view line) {
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return;
    std::string key = WithoutChars(line.substr(0, equals), " \t");
    std::string text = CutShiftJis(WithoutChars(line.substr(equals + 1), " \t\r\n"), kMarkBytes);
    // An empty mark would leave no day settable and no program visible in the list.
    if (text.empty()) return;
    if (SameText(key, "TimeSignal/Keep")) settings_.timeSignalMark = text;
    if (SameText(key, "Dayoftheweek")) settings_.dayMark = text;
  }

  IniSettings& settings_;
  Section section_ = Section::kNone;
  std::string line_;
  bool lastWasCr_ = false;
};

}  // namespace

IniSettings::IniSettings()
    : timeSignalMark("\x81\x9B"),  // "○"
      dayMark("\x81\x9A") {}       // "★"

void ParseSettingsIni(const char* data, std::size_t size, IniSettings& settings) {
  settings = IniSettings();
  IniParser parser(settings);
  parser.Feed(data, size);
  parser.End();
}

bool ReadSettingsIni(const std::string& path, IniSettings& settings, bool* cut, int* error) {
  settings = IniSettings();
  int reason = 0;
  const std::optional<FileHead> head = ReadFileHead(path, kDataFileLimitBytes, reason);
  if (error) *error = reason;
  if (!head) return false;
  ParseSettingsIni(head->bytes.data(), head->bytes.size(), settings);
  if (cut) *cut = head->cut;
  return true;
}

ChimeLists BuildChimeLists(IniSettings& settings) {
  if (settings.chimeCount == 0) {
    for (int i = 0; i < kMaxChimes; ++i) {
      ChimeRecord& record = settings.chimes[static_cast<std::size_t>(i)];
      record.code = static_cast<int16_t>(i + 1);
      SetChimeName(record, ToShiftJis(kDefaultChimes[i]).value_or(std::string()));
    }
    settings.chimeCount = kMaxChimes;
  }
  ChimeLists lists;
  const std::string noChime = ToShiftJis(texts::kNoChime).value_or(std::string());
  lists.comboList = noChime;
  lists.items.push_back(noChime);
  for (int i = 0; i < settings.chimeCount; ++i) {
    const ChimeRecord& record = settings.chimes[static_cast<std::size_t>(i)];
    std::string item =
        std::to_string(i + 1) + "." + FieldText(record.name.data(), record.name.size());
    lists.comboList += "|" + item;
    lists.items.push_back(CutShiftJis(item, kChimeItemBytes));
  }
  return lists;
}

int ChimePosition(const IniSettings& settings, int code) {
  if (code < kLowestChimeCode || code > kHighestChimeCode) return 0;
  for (int i = 0; i < settings.chimeCount && i < kMaxChimes; ++i) {
    if (settings.chimes[static_cast<std::size_t>(i)].code == code) return i + 1;
  }
  return 0;
}

std::optional<ChimeRecord> ChimeEntry(const IniSettings& settings, int position) {
  if (position < 1 || position > settings.chimeCount || position > kMaxChimes) return std::nullopt;
  return settings.chimes[static_cast<std::size_t>(position - 1)];
}

}  // namespace tavrin
