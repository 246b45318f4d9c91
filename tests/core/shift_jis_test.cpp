#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/Messages.h"
#include "model/ShiftJis.h"

namespace tavrin {
namespace {

TEST(ShiftJis, UsesTheWindowsCodePage) {
  // The wave dash the user types on Windows, the NEC signs and the IBM extensions.
  EXPECT_EQ(ToShiftJis("～"), "\x81\x60");
  EXPECT_EQ(FromShiftJis("\x81\x60"), "～");
  EXPECT_EQ(FromShiftJis("\x87\x40\x87\x54"), "①Ⅰ");
  EXPECT_EQ(ToShiftJis("①Ⅰ"), "\x87\x40\x87\x54");
  EXPECT_EQ(FromShiftJis("\xFA\x40\xFA\x5C"), "ⅰ纊");
  EXPECT_EQ(ToShiftJis("纊"), "\xFA\x5C");
  EXPECT_EQ(FromShiftJis("\xB1\xB2"), "ｱｲ");
  EXPECT_EQ(ToShiftJis("ｱｲ"), "\xB1\xB2");
  EXPECT_EQ(ToShiftJis("東京 FM"), "\x93\x8c\x8b\x9e FM");
  EXPECT_EQ(ToShiftJis(""), "");
}

TEST(ShiftJis, RefusesTextWithoutAShiftJisForm) {
  EXPECT_EQ(ToShiftJis("plan😀"), std::nullopt);
  EXPECT_EQ(ToShiftJis("한국"), std::nullopt);
  EXPECT_EQ(ToShiftJis("\xC3"), std::nullopt);  // not UTF-8
  EXPECT_EQ(ToShiftJis("a\xFF"
                       "b"),
            std::nullopt);
}

TEST(ShiftJis, InvalidBytesDecodeToOneReplacementEach) {
  EXPECT_EQ(FromShiftJis("a\x80"
                         "b"),
            "a\uFFFD"
            "b");
  EXPECT_EQ(FromShiftJis("\xA0\xFD\xFF"), "\uFFFD\uFFFD\uFFFD");
  // A lead byte before a byte that cannot follow it: the second byte is read on its own.
  EXPECT_EQ(FromShiftJis("\x81\x20"
                         "A"),
            "\uFFFD A");
  // A lone lead byte at the end.
  EXPECT_EQ(FromShiftJis("AB\x93"), "AB\uFFFD");
  // A well-formed pair that the table lacks is one unknown character.
  EXPECT_EQ(FromShiftJis("\x85\x40Z"), "\uFFFDZ");
  // NUL is a character like any other.
  EXPECT_EQ(FromShiftJis(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(ShiftJis, CutsOnlyBetweenCharacters) {
  const std::string tokyo = "\x93\x8c\x8b\x9e";  // two double-byte characters
  EXPECT_EQ(CutShiftJis("A" + tokyo, 2), "A");   // one byte before a double-byte character
  EXPECT_EQ(CutShiftJis("A" + tokyo, 3), "A\x93\x8c");
  EXPECT_EQ(CutShiftJis("A" + tokyo, 99), "A" + tokyo);
  EXPECT_EQ(CutShiftJis(tokyo, 0), "");
  EXPECT_EQ(ShiftJisPrefixLength(tokyo, 1), 0u);
  // Half-width katakana are single bytes even though they are above 0x7F.
  EXPECT_EQ(CutShiftJis("\xB1\xB2\xB3", 2), "\xB1\xB2");
  // A lead byte left alone at the end of a text is dropped by any cut.
  EXPECT_EQ(CutShiftJis("AB\x93", 10), "AB");
  EXPECT_EQ(CutShiftJis("\xFC", 10), "");
  // The 14-byte station field with a double-byte character across its end.
  std::string station = "ABCDEFGHIJKLM" + tokyo;
  EXPECT_EQ(CutShiftJis(station, 14), "ABCDEFGHIJKLM");
}

// A byte that leads no character is one byte on its own, so the next character stays whole.
TEST(ShiftJis, Utf8StepsByCharacterAndTakesAStrayByteAlone) {
  const std::string text =
      "A\xC3\xA9\xE6\x9C\x9D\xF0\x9F\x98\x80\x80"
      "B\xE6\x9C";
  std::vector<std::size_t> lengths;
  for (std::size_t at = 0; at < text.size(); at += Utf8CharLength(text, at))
    lengths.push_back(Utf8CharLength(text, at));
  // A, é, 朝, an emoji, a stray continuation byte, B, and a character cut short by the end.
  EXPECT_EQ(lengths, (std::vector<std::size_t>{1, 2, 3, 4, 1, 1, 2}));
}

TEST(ShiftJis, FieldTextStopsAtTheFirstNulOrTheFieldEnd) {
  const char padded[6] = {'a', 'b', 0, 'c', 0, 0};
  EXPECT_EQ(FieldText(padded, 6), "ab");
  const char full[4] = {'V', 'L', '3', 'X'};
  EXPECT_EQ(FieldText(full, 4), "VL3X");
}

TEST(Messages, FormatFillsTheFirstPlaceholderOnly) {
  EXPECT_EQ(FormatMessage("%s のオープンに失敗しました。", "/x/plan.BIN"),
            "/x/plan.BIN のオープンに失敗しました。");
  EXPECT_EQ(FormatMessage("%s and %s", "a%s"), "a%s and %s");
  EXPECT_EQ(FormatMessage("no placeholder", "x"), "no placeholder");
}

}  // namespace
}  // namespace tavrin
