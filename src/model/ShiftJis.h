// The one place where the timer's Shift-JIS (Windows code page 932) meets UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// UTF-8 to code page 932. Nothing when a character has no CP932 form or the input is not UTF-8.
std::optional<std::string> ToShiftJis(std::string_view utf8);
// Code page 932 to UTF-8. Bytes that do not decode become U+FFFD, so the result is always valid.
std::string FromShiftJis(std::string_view sjis);
// Length of the longest prefix of at most `maxBytes` bytes that ends on a character boundary.
std::size_t ShiftJisPrefixLength(std::string_view sjis, std::size_t maxBytes);
// `sjis` cut to at most `maxBytes` bytes, never inside a double-byte character.
std::string CutShiftJis(std::string_view sjis, std::size_t maxBytes);
// A fixed field (NUL-padded, possibly without terminator) as a string without the padding.
std::string FieldText(const char* field, std::size_t size);
// At most `maxBytes` bytes of UTF-8 text, never ending inside a character.
std::string CutUtf8(std::string_view utf8, std::size_t maxBytes);
// The bytes of the UTF-8 character that starts at `at` (< size): its lead byte says how many, and
// a byte that leads no character (a continuation byte out of place, or no UTF-8 lead at all)
// counts as one, so that stepping never swallows the next character. Never past the end.
std::size_t Utf8CharLength(std::string_view utf8, std::size_t at);
// The characters of UTF-8 text, each as its own string; a stray byte is a character of its own.
std::vector<std::string> Utf8Characters(std::string_view utf8);

}  // namespace tavrin
