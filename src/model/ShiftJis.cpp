#include "model/ShiftJis.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tavrin {
namespace {

// glibc's "CP932" is the Windows table ("～" is 0x8160, NEC and IBM extensions included); its
// "SHIFT_JIS" is the JIS table and would refuse or misplace what the timer's users type.
constexpr char kCodePage[] = "CP932";
constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much as it can; returns false at the first byte it cannot take, with `in`
  // pointing at that byte and the output converted so far appended to `out`.
  bool Convert(const char*& in, std::size_t& inLeft, std::string& out) {
    char buffer[256];
    while (inLeft > 0) {
      char* dst = buffer;
      std::size_t dstLeft = sizeof buffer;
      char* src = const_cast<char*>(in);
      std::size_t result = iconv(cd_, &src, &inLeft, &dst, &dstLeft);
      int error = errno;
      in = src;
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      if (result == static_cast<std::size_t>(-1) && error != E2BIG) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        return false;
      }
    }
    return true;
  }

 private:
  iconv_t cd_;
};

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

}  // namespace

std::optional<std::string> ToShiftJis(std::string_view utf8) {
  Converter converter(kCodePage, "UTF-8");
  if (!converter.ok()) return std::nullopt;
  std::string out;
  const char* in = utf8.data();
  std::size_t left = utf8.size();
  if (!converter.Convert(in, left, out)) return std::nullopt;
  return out;
}

std::string FromShiftJis(std::string_view sjis) {
  Converter converter("UTF-8", kCodePage);
  std::string out;
  if (!converter.ok()) {
    // Without the table, ASCII is still ASCII; everything else is unknown.
    for (unsigned char c : sjis) {
      if (c < 0x80) {
        out.push_back(static_cast<char>(c));
      } else {
        out += kReplacement;
      }
    }
    return out;
  }
  const char* in = sjis.data();
  std::size_t left = sjis.size();
  while (!converter.Convert(in, left, out)) {
    // A lead byte with a proper second byte is one unknown character; anything else is one
    // stray byte. Either way the reader sees one replacement character per unknown character.
    auto lead = static_cast<unsigned char>(in[0]);
    std::size_t skip =
        (IsLeadByte(lead) && left >= 2 && IsTrailByte(static_cast<unsigned char>(in[1]))) ? 2 : 1;
    out += kReplacement;
    in += skip;
    left -= skip;
  }
  return out;
}

std::size_t ShiftJisPrefixLength(std::string_view sjis, std::size_t maxBytes) {
  std::size_t end = 0;
  while (end < sjis.size()) {
    std::size_t width = IsLeadByte(static_cast<unsigned char>(sjis[end])) ? 2 : 1;
    // A lead byte without its second byte is half a character: it never survives a cut.
    if (end + width > maxBytes || end + width > sjis.size()) break;
    end += width;
  }
  return end;
}

std::string CutShiftJis(std::string_view sjis, std::size_t maxBytes) {
  return std::string(sjis.substr(0, ShiftJisPrefixLength(sjis, maxBytes)));
}

std::string FieldText(const char* field, std::size_t size) {
  const void* nul = std::memchr(field, '\0', size);
  return std::string(field, nul ? static_cast<const char*>(nul) - field : size);
}

std::size_t Utf8CharLength(std::string_view utf8, std::size_t at) {
  const auto lead = static_cast<unsigned char>(utf8[at]);
  const std::size_t length = lead >= 0xC0 && lead < 0xE0   ? 2
                             : lead >= 0xE0 && lead < 0xF0 ? 3
                             : lead >= 0xF0 && lead < 0xF8 ? 4
                                                           : 1;
  return std::min(length, utf8.size() - at);
}

std::vector<std::string> Utf8Characters(std::string_view utf8) {
  std::vector<std::string> characters;
  for (std::size_t at = 0; at < utf8.size();) {
    const std::size_t length = Utf8CharLength(utf8, at);
    characters.emplace_back(utf8.substr(at, length));
    at += length;
  }
  return characters;
}

std::string CutUtf8(std::string_view utf8, std::size_t maxBytes) {
  if (utf8.size() <= maxBytes) return std::string(utf8);
  std::size_t end = maxBytes;
  while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) --end;
  return std::string(utf8.substr(0, end));
}

}  // namespace tavrin
