#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TempFolder.h"
#include "model/IniSettings.h"
#include "model/ShiftJis.h"

namespace tavrin {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

std::string Sjis(const char* utf8) { return ToShiftJis(utf8).value(); }

IniSettings Parse(const std::string& text) {
  IniSettings settings;
  ParseSettingsIni(text.data(), text.size(), settings);
  return settings;
}

std::string Name(const ChimeRecord& record) { return FieldText(record.name.data(), 64); }

TEST(SettingsIni, DefaultsBeforeAndWithoutAFile) {
  IniSettings settings;
  EXPECT_TRUE(settings.RadioModeOn());
  EXPECT_EQ(settings.timeSignalMark, Sjis("○"));
  EXPECT_EQ(settings.dayMark, Sjis("★"));
  EXPECT_EQ(settings.chimeCount, 0);

  TempFolder folder;
  settings.mode = 2;
  settings.chimeCount = 3;
  EXPECT_FALSE(ReadSettingsIni(folder / "missing.ini", settings));
  EXPECT_TRUE(settings.RadioModeOn());
  EXPECT_EQ(settings.chimeCount, 0);
  settings.mode = 2;
  EXPECT_FALSE(ReadSettingsIni(folder.path(), settings));  // a folder
  EXPECT_TRUE(settings.RadioModeOn());
}

TEST(SettingsIni, SectionsAndKeysIgnoreCaseAndBlanks) {
  EXPECT_EQ(Parse("[SYSTEM]\r\nradioset=off\r\n").mode, 2);
  EXPECT_EQ(Parse("  [system]\r\n\t Radio Set = O F F \r\n").mode, 2);
  EXPECT_EQ(Parse("[System]\r\nRadioSet=OFF\r\nRadioSet=maybe\r\n").mode, 2);
  EXPECT_EQ(Parse("[System]\r\nRadioSet=OFF\r\nRadioSet=On\r\n").mode, 1);
  // Comments, other sections and a header without "]" select nothing.
  EXPECT_EQ(Parse("[System]\r\n;RadioSet=OFF\r\n").mode, 1);
  EXPECT_EQ(Parse("[Other]\r\nRadioSet=OFF\r\n").mode, 1);
  EXPECT_EQ(Parse("[System]\r\n[System\r\nRadioSet=OFF\r\n").mode, 1);
  EXPECT_EQ(Parse("RadioSet=OFF\r\n").mode, 1);
  // The last line needs no line end.
  EXPECT_EQ(Parse("[System]\r\nRadioSet=OFF").mode, 2);
}

TEST(SettingsIni, OnlyCrLfEndsALine) {
  // With LF alone the whole file is one line: only its first header counts.
  EXPECT_EQ(Parse("[System]\nRadioSet=OFF\n").mode, 1);
  // A lone LF inside a line is removed with the CR.
  EXPECT_EQ(Parse("[System]\r\nRadio\nSet=OFF\r\n").mode, 2);
  // Only the first 510 bytes of a line count.
  std::string longLine = "[System]\r\nRadioSet=" + std::string(510, ' ') + "OFF\r\n";
  EXPECT_EQ(Parse(longLine).mode, 1);
  std::string justFits = "[System]\r\nRadioSet=" + std::string(510 - 12, ' ') + "OFF\r\n";
  EXPECT_EQ(Parse(justFits).mode, 2);
}

TEST(SettingsIni, ChimeLinesKeepFileOrderAndTheFirstTen) {
  std::string text = "[Chime]\r\n";
  for (int i = 11; i >= 1; --i) {
    text += std::to_string(i) + " =  melody " + std::to_string(i) + "\r\n";
  }
  IniSettings settings = Parse(text);
  ASSERT_EQ(settings.chimeCount, 10);
  EXPECT_EQ(settings.chimes[0].code, 11);
  EXPECT_EQ(Name(settings.chimes[0]), "melody 11");
  EXPECT_EQ(settings.chimes[9].code, 2);

  settings = Parse("[chime]\r\n007=" + Sjis("夕焼け小焼け") + " \r\n");
  ASSERT_EQ(settings.chimeCount, 1);
  EXPECT_EQ(settings.chimes[0].code, 7);
  EXPECT_EQ(Name(settings.chimes[0]), Sjis("夕焼け小焼け") + " ");
}

TEST(SettingsIni, ChimeCodesMustFitTheStepsActionCode) {
  IniSettings settings = Parse(
      "[Chime]\r\n0=zero\r\n16=sixteen\r\n99999999999999999999999999=huge\r\n15=fifteen\r\n"
      "1=one\r\n");
  ASSERT_EQ(settings.chimeCount, 2);
  EXPECT_EQ(settings.chimes[0].code, 15);
  EXPECT_EQ(settings.chimes[1].code, 1);
  // A NUL ends the text: a name that starts with one is empty.
  settings = Parse(std::string("[Chime]\r\n3=\0name\r\n4=ab\0cd\r\n", 27));
  ASSERT_EQ(settings.chimeCount, 1);
  EXPECT_EQ(Name(settings.chimes[0]), "ab");
}

TEST(SettingsIni, ChimeLinesNumberedOutsideTheCodesAreToldByLine) {
  std::string many = "[Chime]\r\n";
  for (int i = 0; i < 12; ++i) many += "16=x\r\n";
  const struct {
    const char* name;
    std::string file;
    std::vector<IgnoredLine> lines;
    int count;
  } cases[] = {
      {"below, above and far above",
       "[Chime]\r\n0=zero\r\n16=sixteen\r\n99999999999999999999=huge\r\n15=fifteen\r\n1=one",
       {{2, "0=zero"}, {3, "16=sixteen"}, {4, "99999999999999999999=huge"}},
       3},
      {"as written, blanks before it left out",
       "[Chime]\r\n  \t16 =  name \r\n",
       {{2, "16 =  name "}},
       1},
      {"lines end at CR LF only", "; a\nb\r\n[chime]\r\n\r\n17=a\nb\r\n", {{4, "17=ab"}}, 1},
      {"in the code range, beyond ten",
       "[Chime]\r\n1=a\r\n2=a\r\n3=a\r\n4=a\r\n5=a\r\n"
       "6=a\r\n7=a\r\n8=a\r\n9=a\r\n10=a\r\n11=a\r\n",
       {},
       0},
      {"without a name, or no number at all", "[Chime]\r\n16=\r\nx16=a\r\n16 a\r\n", {}, 0},
      {"outside the Chime section", "16=a\r\n[Sign]\r\n16=a\r\n[System]\r\n0=a\r\n", {}, 0},
      {"the first ten of many",
       many,
       {{2, "16=x"},
        {3, "16=x"},
        {4, "16=x"},
        {5, "16=x"},
        {6, "16=x"},
        {7, "16=x"},
        {8, "16=x"},
        {9, "16=x"},
        {10, "16=x"},
        {11, "16=x"}},
       12},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const IniSettings settings = Parse(c.file);
    ASSERT_EQ(settings.ignoredChimeLines.size(), c.lines.size());
    for (std::size_t i = 0; i < c.lines.size(); ++i) {
      EXPECT_EQ(settings.ignoredChimeLines[i].number, c.lines[i].number);
      EXPECT_EQ(settings.ignoredChimeLines[i].text, c.lines[i].text);
    }
    EXPECT_EQ(settings.ignoredChimeLineCount, c.count);
  }
}

TEST(SettingsIni, MalformedChimeLinesGiveTheTenDefaults) {
  IniSettings settings = Parse("[Chime]\r\n=name\r\nx1=name\r\n2 name\r\n3=\r\n4 =  \r\n");
  EXPECT_EQ(settings.chimeCount, 0);
  ChimeLists lists = BuildChimeLists(settings);
  ASSERT_EQ(settings.chimeCount, 10);
  EXPECT_EQ(settings.chimes[0].code, 1);
  EXPECT_EQ(Name(settings.chimes[0]), Sjis("ウエストミンスターの鐘"));
  EXPECT_EQ(settings.chimes[9].code, 10);
  EXPECT_EQ(Name(settings.chimes[9]), Sjis("ア・ホール・ニュー・ワールド"));
  ASSERT_EQ(lists.items.size(), 11u);
  EXPECT_EQ(lists.items[0], Sjis("0.（なし）"));
  EXPECT_EQ(lists.items[2], Sjis("2.エーデルワイス"));
  EXPECT_EQ(FromShiftJis(lists.comboList)
                .rfind("0.（なし）|1.ウエストミンスターの鐘|2.エーデルワイス|3.", 0),
            0u);
  EXPECT_NE(FromShiftJis(lists.comboList).find("|10.ア・ホール・ニュー・ワールド"),
            std::string::npos);
}

TEST(SettingsIni, LongNamesAreCutBetweenCharacters) {
  // 62 single bytes then a double-byte character across the 63-byte limit.
  std::string name = std::string(62, 'n') + Sjis("鐘");
  IniSettings settings = Parse("[Chime]\r\n1=" + name + "\r\n");
  EXPECT_EQ(Name(settings.chimes[0]), std::string(62, 'n'));
  EXPECT_EQ(settings.chimes[0].name[63], '\0');
  // Half a character is no name at all.
  EXPECT_EQ(Parse("[Chime]\r\n1=\x89").chimeCount, 0);

  // A list item holds 63 bytes: "1." and the first 61 of a 63-byte name.
  settings = Parse("[Chime]\r\n1=" + std::string(63, 'm') + "\r\n");
  ChimeLists lists = BuildChimeLists(settings);
  EXPECT_EQ(lists.items[1], "1." + std::string(61, 'm'));
  EXPECT_EQ(lists.comboList, Sjis("0.（なし）") + "|1." + std::string(63, 'm'));
}

TEST(SettingsIni, SignMarksLoseEveryBlank) {
  IniSettings settings = Parse("[Sign]\r\ntimesignal/keep = " + Sjis("● ") +
                               "\r\n Day of the week =\t" + Sjis("◎") + " x\r\n");
  EXPECT_EQ(settings.timeSignalMark, Sjis("●"));
  EXPECT_EQ(settings.dayMark, Sjis("◎") + "x");
  // A mark is at most 31 bytes, cut between characters.
  std::string marks;
  for (int i = 0; i < 16; ++i) marks += Sjis("●");
  settings = Parse("[Sign]\r\nDayoftheweek=" + marks + "\r\n");
  EXPECT_EQ(settings.dayMark.size(), 30u);
}

// An empty mark would make every day unsettable and every list mark invisible.
TEST(SettingsIni, EmptySignValuesKeepTheMarks) {
  IniSettings settings = Parse("[Sign]\r\nDayoftheweek=\r\nTimeSignal/Keep= \t\r\n");
  EXPECT_EQ(settings.dayMark, Sjis("★"));
  EXPECT_EQ(settings.timeSignalMark, Sjis("○"));
}

TEST(SettingsIni, FileReadingMatchesTheRulesAcrossBlocks) {
  TempFolder folder;
  // Pad so that a chime line straddles the 2048-byte block boundary.
  std::string text = "[Chime]\r\n;" + std::string(2030, 'c') + "\r\n" + "5=" + Sjis("家路") +
                     "\r\n[System]\r\nRadioSet=OFF";
  WriteBytes(folder / "Tavrin.ini", text);
  IniSettings settings;
  ASSERT_TRUE(ReadSettingsIni(folder / "Tavrin.ini", settings));
  EXPECT_FALSE(settings.RadioModeOn());
  ASSERT_EQ(settings.chimeCount, 1);
  EXPECT_EQ(Name(settings.chimes[0]), Sjis("家路"));
  EXPECT_EQ(settings.chimes[0].code, 5);
}

TEST(SettingsIni, ChimeEntryCountsFromOneWithinTheTable) {
  IniSettings settings = Parse("[Chime]\r\n3=c\r\n9=i\r\n");
  ASSERT_TRUE(ChimeEntry(settings, 2).has_value());
  EXPECT_EQ(ChimeEntry(settings, 2)->code, 9);
  EXPECT_FALSE(ChimeEntry(settings, 0).has_value());
  EXPECT_FALSE(ChimeEntry(settings, 3).has_value());
  EXPECT_FALSE(ChimeEntry(settings, 11).has_value());
}

}  // namespace
}  // namespace tavrin
