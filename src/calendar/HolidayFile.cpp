#include "calendar/HolidayFile.h"

#include <cstring>
#include <limits>
#include <optional>
#include <string_view>

#include "model/FileHead.h"

namespace tavrin {

namespace {

// A line keeps at most this many bytes; the rest up to its CR LF is dropped.
constexpr std::size_t kLineBytes = 510;
constexpr std::size_t kMaxDigits = 31;  // a section header reads no more digits than this
constexpr std::size_t kMaxVersion = 31;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// Reads the run of digits at `pos`, advancing it. Hand-edited files can hold any number of
// digits, so the value stops growing at `limit` instead of overflowing.
int ReadNumber(std::string_view text, std::size_t& pos, int limit, std::size_t maxDigits) {
  int value = 0;
  std::size_t digits = 0;
  while (pos < text.size() && IsDigit(text[pos])) {
    if (digits < maxDigits) {
      const int digit = text[pos] - '0';
      value = value > (limit - digit) / 10 ? limit : value * 10 + digit;
    }
    ++digits;
    ++pos;
  }
  return value;
}

// Cuts the byte stream into CR LF lines and applies each one; it can be fed in blocks.
class HolidayReader {
 public:
  explicit HolidayReader(HolidayTable& table) : table_(table) {}

  // Reading stops at a year section beyond the table's kHolidayYears.
  void Feed(const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size && !done_; ++i) {
      const char c = data[i];
      // A CR ends the line only together with the LF after it; a lone CR is an ordinary byte.
      if (previousCr_) {
        previousCr_ = false;
        if (c == '\n') {
          EndLine();
          continue;
        }
        Keep('\r');
      }
      if (c == '\r') {
        previousCr_ = true;
        pending_ = true;
      } else {
        Keep(c);
      }
    }
  }

  void Finish() {
    if (done_) return;
    if (previousCr_) Keep('\r');
    if (pending_) EndLine();
  }

 private:
  void Keep(char c) {
    if (line_.size() < kLineBytes) line_.push_back(c);
    pending_ = true;
  }

  void EndLine() {
    Apply(std::string_view(line_.data(), line_.size()));
    line_.clear();
    previousCr_ = false;
    pending_ = false;
  }

  void Apply(std::string_view raw) {
    std::string text;
    text.reserve(raw.size());
    for (char c : raw) {
      if (!IsBlank(c)) text.push_back(c);
    }
    if (text.empty() || text[0] == ';') return;
    if (text[0] == '[') {
      inSystem_ = false;
      Header(text);
    } else if (IsDigit(text[0])) {
      MonthLine(text);
    } else if (inSystem_) {
      VersionLine(text, raw);
    }
  }

  void Header(std::string_view text) {
    std::size_t pos = 1;
    if (pos < text.size() && IsDigit(text[pos])) {
      const int year = ReadNumber(text, pos, std::numeric_limits<int16_t>::max(), kMaxDigits);
      if (pos >= text.size() || text[pos] != ']') return;
      if (table_.yearCount >= kHolidayYears) {
        done_ = true;
        return;
      }
      section_ = table_.yearCount++;
      table_.years[section_] = static_cast<int16_t>(year);
      return;
    }
    const std::size_t close = text.find(']', pos);
    if (close == std::string_view::npos) return;
    std::string_view name = text.substr(pos, close - pos);
    if (name.size() > 31) name = name.substr(0, 31);
    inSystem_ = EqualsIgnoringCase(name, "System");
  }

  void VersionLine(std::string_view text, std::string_view raw) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos || !EqualsIgnoringCase(text.substr(0, equals), "version"))
      return;
    // The value keeps its inner and trailing blanks, so it comes from the line as written.
    std::size_t pos = raw.find('=') + 1;
    while (pos < raw.size() && (raw[pos] == ' ' || raw[pos] == '\t')) ++pos;
    const std::string_view value = raw.substr(pos, kMaxVersion);
    if (value.empty()) return;
    table_.holidayVersion.fill(0);
    std::memcpy(table_.holidayVersion.data(), value.data(), value.size());
  }

  void MonthLine(std::string_view text) {
    std::size_t pos = 0;
    const int month = ReadNumber(text, pos, 1000, kLineBytes);
    if (pos >= text.size() || text[pos] != '=') return;
    if (section_ < 0 || month < 1 || month > 12) return;
    std::array<uint8_t, 31>& slots = table_.days[section_][month - 1];
    std::size_t slot = 0;
    int numbers = 0;
    while (pos < text.size() && numbers < 31) {
      if (!IsDigit(text[pos])) {
        ++pos;
        continue;
      }
      const int day = ReadNumber(text, pos, 1000, kLineBytes);
      ++numbers;
      if (day >= 1 && day <= 31) slots[slot++] = static_cast<uint8_t>(day);
    }
  }

  HolidayTable& table_;
  std::string line_;
  bool previousCr_ = false;
  bool pending_ = false;
  bool done_ = false;
  bool inSystem_ = false;
  int section_ = -1;  // latest year section, -1 before the first
};

}  // namespace

void ParseHolidayText(const char* data, std::size_t size, HolidayTable& table) {
  ClearHolidayTable(table);
  HolidayReader reader(table);
  reader.Feed(data, size);
  reader.Finish();
}

bool LoadHolidayFile(const std::string& path, HolidayTable& table, bool* cut) {
  ClearHolidayTable(table);
  int error = 0;
  // A half-read file would leave a partial table; the program runs with none instead.
  const std::optional<FileHead> head = ReadFileHead(path, kDataFileLimitBytes, error);
  if (!head) return false;
  ParseHolidayText(head->bytes.data(), head->bytes.size(), table);
  if (cut) *cut = head->cut;
  return true;
}

}  // namespace tavrin
