#include <gtest/gtest.h>

#include "CsvFixture.h"
#include "editors/StepRules.h"
#include "editors/WeeklyListRules.h"

namespace tavrin {
namespace {

using testing::MakeStep;

struct StepFixture {
  StepFixture() {
    ClearModel(model);
    BuildChimeLists(settings);
    model.channels[0] = {kChannelTimeSignal, 0, 5, 0};
    model.channels[1] = {kChannelKeep, 0, 0, 0};
  }
  ScheduleModel model;
  ProgramNameTable names{};
  IniSettings settings;
};

void Row(TextTable& table, int row, const char* days, const char* hour, const char* minute,
         const char* action) {
  for (int d = 0; d < 7; ++d) table.at(row, d) = days[d] == '1' ? "★" : "";
  table.at(row, steps::kHourCol) = hour;
  table.at(row, steps::kMinuteCol) = minute;
  table.at(row, steps::kActionCol) = action;
}

TEST(StepRules, ActionTextsAndCodes) {
  StepFixture f;
  f.settings.chimes[3].code = 12;  // the fourth melody under another code
  steps::ActionChoices chimes(kChannelTimeSignal, f.settings);
  steps::ActionChoices keep(kChannelKeep, f.settings);
  EXPECT_EQ(chimes.Text(1), "1.ウエストミンスターの鐘");
  EXPECT_EQ(chimes.Text(12), "4.チムチム・チェリー");
  EXPECT_EQ(chimes.Text(4), "0.（なし）");  // no record has it
  EXPECT_EQ(chimes.Text(200), "0.（なし）");
  EXPECT_EQ(chimes.Code("4.チムチム・チェリー"), 12);
  EXPECT_EQ(chimes.Code("0.（なし）"), 0);
  EXPECT_EQ(chimes.Code("nothing"), 0);
  EXPECT_EQ(keep.Text(2), "OFF");
  EXPECT_EQ(keep.Text(9), "（なし）");
  EXPECT_EQ(keep.Code("ON"), kKeepOn);
  EXPECT_EQ(keep.header(), "ON / OFF");
  EXPECT_EQ(chimes.header(), "チャイム");

  IniSettings upper;
  upper.chimeCount = 1;
  upper.chimes[0].code = 2;
  std::strcpy(upper.chimes[0].name.data(), "Bell");
  EXPECT_EQ(steps::ActionChoices(kChannelTimeSignal, upper).Code("1.BELL"), 2);
}

TEST(StepRules, RowCountsAndFill) {
  StepFixture f;
  for (int i = 0; i < kStepCount; ++i) f.model.steps[i] = MakeStep(5, 2, "1000000", 1, 0, 1);
  f.model.steps[10] = MakeStep(3, 1, "0100001", 7, 30, 2);
  f.model.steps[11] = MakeStep(3, 1, "0010000", 6, 5, 99);
  // Full: a program with steps on the channel gets exactly its rows, another gets none.
  EXPECT_EQ(weekly::StepRows(f.model, 3, 1, kChannelTimeSignal), 2);
  EXPECT_EQ(weekly::StepRows(f.model, 4, 1, kChannelTimeSignal), 0);
  EXPECT_EQ(weekly::StepRows(f.model, 3, 1, kChannelKeep), 0);

  steps::ActionChoices chimes(kChannelTimeSignal, f.settings);
  steps::StepSheet sheet = steps::Fill(f.model, 3, 1, chimes, "★", 2);
  EXPECT_EQ(sheet.table.at(0, 1), "★");
  EXPECT_EQ(sheet.table.at(0, 6), "★");
  EXPECT_EQ(sheet.table.at(0, 0), "");
  EXPECT_EQ(sheet.table.at(0, steps::kHourCol), "7 時");
  EXPECT_EQ(sheet.table.at(0, steps::kMinuteCol), "30 分");
  EXPECT_EQ(sheet.table.at(0, steps::kActionCol), "2.エーデルワイス");
  EXPECT_EQ(sheet.table.at(1, steps::kActionCol), "0.（なし）");
}

TEST(StepRules, CheckStopsAtTheFirstGap) {
  struct Case {
    const char* days;
    const char* hour;
    const char* minute;
    const char* action;
    int kind;
    std::string message;
    int col;
  };
  const Case cases[] = {
      {"0000000", "7 時", "0 分", "ON", kChannelKeep, "ステップ 2 の＜曜日＞の指定が有りません。",
       0},
      {"0100000", "", "0 分", "ON", kChannelKeep, "ステップ 2 の＜時刻（時）＞の指定が有りません。",
       7},
      {"0100000", "7 時", "", "ON", kChannelKeep, "ステップ 2 の＜時刻（分）＞の指定が有りません。",
       8},
      {"0100000", "7 時", "1 分", "", kChannelKeep, "ステップ 2 の＜ON / OFF＞の指定が有りません。",
       9},
      {"0100000", "7 時", "1 分", "", kChannelTimeSignal,
       "ステップ 2 の＜チャイム＞の指定が有りません。", 9},
      {"0100000", "7 時", "1 分", "OFF", kChannelKeep, "", 0},
  };
  for (const Case& c : cases) {
    TextTable table(4, steps::kCols);
    Row(table, 0, "1000000", "1 時", "0 分", "ON");
    Row(table, 1, c.days, c.hour, c.minute, c.action);  // row 2 stays empty and is skipped
    Verdict verdict = steps::Check(table, c.kind);
    EXPECT_EQ(verdict.message(), c.message);
    if (!verdict) {
      EXPECT_EQ(verdict.cell(), (CellPos{1, c.col}));
    }
  }
}

TEST(StepRules, CommitCompactsSortsAndKeepsUneditedCodes) {
  StepFixture f;
  f.model.steps[0] = MakeStep(3, 1, "1000000", 7, 30, 14);  // a code no record names
  f.model.steps[5] = MakeStep(2, 1, "1000000", 23, 0, 1);
  f.model.steps[9] = MakeStep(3, 2, "1000000", 7, 30, kKeepOn);
  steps::ActionChoices chimes(kChannelTimeSignal, f.settings);
  steps::StepSheet sheet = steps::Fill(f.model, 3, 1, chimes, "★", 5);
  ASSERT_EQ(sheet.table.at(0, steps::kActionCol), "0.（なし）");
  Row(sheet.table, 2, "0000001", "6 時", "0 分", "3.小さな恋のメロディ");
  Row(sheet.table, 3, "0000001", "8 時", "0 分", "0.（なし）");
  sheet.ActionEdited(2);
  sheet.ActionEdited(3);
  steps::Commit(sheet, chimes, 3, 1, "name", f.model, f.names);

  // Program 2 first; at 07:30 channel 1 before channel 2.
  EXPECT_EQ(f.model.steps[0], MakeStep(2, 1, "1000000", 23, 0, 1));
  EXPECT_EQ(f.model.steps[1], MakeStep(3, 1, "0000001", 6, 0, 3));
  EXPECT_EQ(f.model.steps[2], MakeStep(3, 1, "1000000", 7, 30, 14));  // kept its code
  EXPECT_EQ(f.model.steps[3], MakeStep(3, 2, "1000000", 7, 30, kKeepOn));
  EXPECT_EQ(f.model.steps[4], MakeStep(3, 1, "0000001", 8, 0, 0));
  EXPECT_EQ(f.model.steps[5], WeeklyStep{});
  EXPECT_EQ(std::string(f.names.names[3].data(), 4), "name");
  EXPECT_EQ(f.names.names[3][4], '\0');
  steps::Commit(sheet, chimes, 3, 1, std::nullopt, f.model, f.names);
  EXPECT_EQ(std::string(f.names.names[3].data(), 4), "name") << "no name given, none written";
}

// A row keeps the code it was written from until an edit of its action cell is stored; then the
// text decides, even when the edit left the text that was there.
TEST(StepRules, AnActionCellIsEditedOnceAnEditIsStoredWhateverItsText) {
  struct Case {
    const char* what;
    int code;                         // in the model
    std::vector<const char*> stored;  // the texts each stored edit left, in order
    bool pasted;                      // the row was copied and pasted back before the edits
    int expected;
  };
  const Case cases[] = {
      {"untouched, a code no record names", 14, {}, false, 14},
      {"the no-chime item picked as shown", 14, {"0.（なし）"}, false, 0},
      {"another melody first, then none", 14, {"1.ウエストミンスターの鐘", "0.（なし）"}, false, 0},
      {"another melody", 14, {"3.小さな恋のメロディ"}, false, 3},
      {"untouched, a listed melody", 3, {}, false, 3},
      {"a pasted row carries its code", 14, {}, true, 14},
      {"an edit after a paste", 14, {"0.（なし）"}, true, 0},
  };
  for (const Case& c : cases) {
    StepFixture f;
    f.model.steps[0] = MakeStep(3, 1, "1000000", 7, 30, static_cast<uint8_t>(c.code));
    steps::ActionChoices chimes(kChannelTimeSignal, f.settings);
    steps::StepSheet sheet = steps::Fill(f.model, 3, 1, chimes, "★", 3);
    if (c.pasted) {
      EditorClipboards clip{};
      steps::Copy(sheet, 0, 0, chimes, 3, clip.timeSignalSteps);
      sheet.ClearRows(0, 0);
      steps::Paste(sheet, 0, clip.timeSignalSteps, chimes, "★");
    }
    for (const char* text : c.stored) {
      sheet.table.at(0, steps::kActionCol) = text;
      sheet.ActionEdited(0);
    }
    steps::Commit(sheet, chimes, 3, 1, std::nullopt, f.model, f.names);
    EXPECT_EQ(f.model.steps[0].action, c.expected) << c.what;
  }
}

// The name field writes the entry only when the user changed it: an untouched name keeps its
// bytes even where they do not come back from the text shown.
TEST(StepRules, AnUntouchedNameKeepsItsBytes) {
  struct Case {
    const char* what;
    std::string bytes;                  // the entry
    std::optional<std::string> edited;  // the field; none: as shown
    std::optional<std::string> stored;  // what OK writes; none: the entry stays
  };
  const Case cases[] = {
      {"bytes that do not decode", "AB\xff\xfe", std::nullopt, std::nullopt},
      {"half a character at byte 16", "ABCDEFGHIJKLMNO\x82", std::nullopt, std::nullopt},
      {"a code with two forms", "\xed\x40", std::nullopt, std::nullopt},
      {"typed and typed back", "\xed\x40", "纊", std::nullopt},
      {"renamed", "\xed\x40", "朝", "\x92\xa9"},
      {"emptied", "ABC", "", ""},
  };
  for (const Case& c : cases) {
    ProgramNameTable names{};
    std::memcpy(names.names[7].data(), c.bytes.data(), c.bytes.size());
    const std::string field = c.edited.value_or(steps::NameForEdit(names, 7));
    EXPECT_EQ(steps::NameToStore(names, 7, field), c.stored) << c.what;
  }
}

TEST(StepRules, NamesAreLimitedByShiftJisBytes) {
  struct Case {
    std::string typed;
    std::string stored;  // UTF-8 of what the table receives
  };
  const Case cases[] = {
      {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOP"},        // 20 half-width: the first 16
      {"朝の始業チャイム一二三四五", "朝の始業チャイム"},  // 8 full-width = 16 bytes
      {"A朝の始業チャイム一", "A朝の始業チャイ"},          // never half a character
  };
  for (const Case& c : cases) {
    Result<std::string> bytes = steps::NameBytes(c.typed);
    ASSERT_TRUE(bytes);
    EXPECT_LE(bytes->size(), 16u);
    EXPECT_EQ(FromShiftJis(*bytes), c.stored);
  }
  EXPECT_FALSE(steps::NameBytes("😀"));
  // What the name field lets through as it is typed.
  EXPECT_EQ(steps::NameInput("A😀朝の始業チャイム一"), "A朝の始業チャイ");
  EXPECT_EQ(steps::NameInput("ABCDEFGHIJKLMNOPQRST"), "ABCDEFGHIJKLMNOP");
  // A stray byte is left out on its own; the character after it is kept.
  EXPECT_EQ(steps::NameInput("A\x80朝"), "A朝");
  // What the note under the field says: a character first, then a name cut at 16 bytes.
  const std::string length = "名称は半角で１６文字（全角で８文字）までです。";
  const std::pair<const char*, std::string> notes[] = {
      {"ABCDEFGHIJKLMNOP", ""},
      {"ABCDEFGHIJKLMNOPQ", length},
      {"朝の始業チャイム", ""},
      {"朝の始業チャイム一", length},
      {"ABCDEFGHIJKLMNO朝", length},  // the last character would need bytes 16 and 17
      {"A😀", "「😀」はシフトJISで表せない文字のため、プログラム名に使えません。"},
      {"", ""},
  };
  for (const auto& [typed, note] : notes) EXPECT_EQ(steps::NameNote(typed), note) << typed;
}

TEST(StepRules, CopyPasteAndToggle) {
  StepFixture f;
  steps::ActionChoices keep(kChannelKeep, f.settings);
  steps::StepSheet sheet(6);
  Row(sheet.table, 0, "1000000", "7 時", "0 分", "ON");
  Row(sheet.table, 1, "0000000", "", "", "");
  Row(sheet.table, 2, "0100000", "", "5 分", "OFF");
  for (int row = 0; row < 3; ++row) sheet.ActionEdited(row);  // chosen by the user
  EditorClipboards clip{};
  steps::Copy(sheet, 0, 4, keep, 3, clip.keepSteps);
  EXPECT_TRUE(steps::CanPaste(clip.keepSteps, kChannelKeep));
  EXPECT_FALSE(steps::CanPaste(clip.keepSteps, kChannelTimeSignal));
  EXPECT_EQ(clip.keepSteps.steps[2].hour, kEmptyCell);

  // Five rows pasted on the second-to-last row: only two are written.
  steps::Paste(sheet, 4, clip.keepSteps, keep, "◎");
  EXPECT_EQ(sheet.table.at(4, 0), "◎");
  EXPECT_EQ(sheet.table.at(4, steps::kActionCol), "ON");
  EXPECT_EQ(sheet.table.at(5, steps::kActionCol), "");  // the empty entry writes an empty row

  EXPECT_TRUE(steps::ToggleDay(sheet.table, {1, 3}, "★"));
  EXPECT_EQ(sheet.table.at(1, 3), "★");
  EXPECT_TRUE(steps::ToggleDay(sheet.table, {1, 3}, "★"));
  EXPECT_EQ(sheet.table.at(1, 3), "");
  EXPECT_FALSE(steps::ToggleDay(sheet.table, {1, steps::kHourCol}, "★"));
  EXPECT_EQ(steps::FirstEmptyRow(sheet.table), 1);
}

}  // namespace
}  // namespace tavrin
