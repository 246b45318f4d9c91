#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "maintenance/MaintenanceTexts.h"
#include "maintenance/SpecialMenu.h"
#include "maintenance/SpecialMenuSequence.h"
#include "maintenance/SystemFacts.h"

namespace tavrin {
namespace {

MaintenanceFacts SampleFacts() {
  MaintenanceFacts facts;
  facts.settingsFolder = "/home/ka/plans";
  facts.userName = "kaori";
  facts.currentDirectory = "/home/ka";
  facts.fileVersion = "KORVA VL3 V01.00";
  facts.executablePath = "/usr/bin/tavrin";
  facts.csvFolder = "/home/ka/csv";
  facts.namePath = "/home/ka/plans/school.TXT";
  facts.osMajorVersion = 6;
  return facts;
}

InfoBox BoxOf(SpecialItem item, const MaintenanceFacts& facts) {
  auto box = SpecialMenuInfo(item, facts);
  EXPECT_TRUE(box.has_value());
  return box.value_or(InfoBox{});
}

TEST(SpecialMenuTexts, PathBoxesQuoteTheValueAndKeepTheirTrailingBlanks) {
  const MaintenanceFacts facts = SampleFacts();
  EXPECT_EQ(BoxOf(SpecialItem::DataFolder, facts).text, "\"/home/ka/plans\"    ");
  EXPECT_EQ(BoxOf(SpecialItem::DataFolder, facts).caption, "現在のデータ・フォルダ");
  EXPECT_EQ(BoxOf(SpecialItem::UserName, facts).text, "\"kaori\"    ");
  // The default data folder is the one box with three blanks.
  EXPECT_EQ(BoxOf(SpecialItem::DefaultDataFolder, facts).text, "\"/home/ka\"   ");
  EXPECT_EQ(BoxOf(SpecialItem::UsbFileName, facts).text, "\"VL-3400.BIN\"    ");
  EXPECT_EQ(BoxOf(SpecialItem::ExecutablePath, facts).caption, "実行プログラム・パス");
  EXPECT_EQ(BoxOf(SpecialItem::ExecutablePath, facts).text, "\"/usr/bin/tavrin\"    ");
  EXPECT_EQ(BoxOf(SpecialItem::NameFilePath, facts).text, "\"/home/ka/plans/school.TXT\"    ");
  EXPECT_EQ(
      BoxOf(SpecialItem::CsvInfo, facts).text,
      "・ファイル・バージョン = KORVA PROGRAM TIMER V01.00   \n・フォルダ = \"/home/ka/csv\"   ");
}

TEST(SpecialMenuTexts, DataFileVersionOfANewDocumentIsEmpty) {
  SettingsImage image{};
  std::memcpy(image.data(), "KORVA VL3 V01.00", 16);
  EXPECT_EQ(FileVersionText(image, /*untitled=*/true), "");
  EXPECT_EQ(FileVersionText(image, /*untitled=*/false), "KORVA VL3 V01.00");

  MaintenanceFacts facts = SampleFacts();
  facts.fileVersion = FileVersionText(image, true);
  EXPECT_EQ(BoxOf(SpecialItem::DataFileVersion, facts).text,
            "・ファイルのバージョン  =  \"\" \n・処理中のバージョン =  \"KORVA VL3 V01.00\"   ");
}

TEST(SpecialMenuTexts, LongUserNameIsCutWithoutSplittingACharacter) {
  MaintenanceFacts facts = SampleFacts();
  facts.userName = std::string(259, 'a') + "名前";  // the first multi-byte character crosses 260
  const std::string text = BoxOf(SpecialItem::UserName, facts).text;
  EXPECT_EQ(text, "\"" + std::string(259, 'a') + "\"    ");
}

TEST(SpecialMenuTexts, OsVersionNamesTheSystemAndItsKernel) {
  struct Case {
    std::string osName, kernel;
    std::string text;
  };
  const Case cases[] = {
      {"Debian GNU/Linux 12 (bookworm)", "6.1.0-18-amd64",
       "6 = Debian GNU/Linux 12 (bookworm), Linux 6.1.0-18-amd64　　"},
      {"", "6.1.0-18-amd64", "6 = Linux 6.1.0-18-amd64　　"},
      {"Fedora Linux 40", "", "6 = Fedora Linux 40　　"},
      {"", "", "6 = Linux　　"},
  };
  for (const Case& c : cases) {
    MaintenanceFacts facts = SampleFacts();
    facts.osName = c.osName;
    facts.kernelRelease = c.kernel;
    EXPECT_EQ(BoxOf(SpecialItem::OsVersion, facts).text, c.text);
    EXPECT_EQ(BoxOf(SpecialItem::OsVersion, facts).caption, "OS バージョン情報");
  }
}

TEST(SystemFacts, OsReleaseGivesThePrettyNameElseNameAndVersion) {
  const std::pair<std::string, std::string> cases[] = {
      {"NAME=\"Debian GNU/Linux\"\nVERSION=\"12 (bookworm)\"\n"
       "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n",
       "Debian GNU/Linux 12 (bookworm)"},
      {"# comment\nNAME='Alpine Linux'\nVERSION=3.19\n", "Alpine Linux 3.19"},
      {"NAME=Arch\n", "Arch"},
      {"PRETTY_NAME=\nNAME=Void\n", "Void"},
      {"", ""},
  };
  for (const auto& [text, name] : cases) EXPECT_EQ(OsReleaseName(text), name) << text;
  EXPECT_FALSE(KernelRelease().empty());
}

TEST(SpecialMenuTexts, ActionButtonsHaveNoInformationBox) {
  const MaintenanceFacts facts = SampleFacts();
  int boxes = 0;
  for (const SpecialButton& button : SpecialMenuButtons()) {
    if (SpecialMenuInfo(button.item, facts)) ++boxes;
  }
  EXPECT_EQ(boxes, 9);
  EXPECT_FALSE(SpecialMenuInfo(SpecialItem::ResetRegistry, facts));
  EXPECT_STREQ(SpecialMenuButtons()[0].label, "レジストリの初期化");
}

HolidayTable TwoYearTable() {
  HolidayTable table;
  ClearHolidayTable(table);
  table.yearCount = 2;
  table.years[0] = 2030;
  table.years[1] = 2031;
  table.days[0][0][0] = 1;
  table.days[0][0][1] = 14;
  table.days[0][4][0] = 3;
  table.days[0][4][2] = 5;  // an empty slot between days is skipped
  std::strcpy(table.holidayVersion.data(), "V1.02 ");
  return table;
}

TEST(AboutTexts, HolidayLineShowsTheVersionOnlyWhenTheFileWasLoaded) {
  const HolidayTable table = TwoYearTable();
  EXPECT_EQ(AboutProgramText(), "Tavrin　　Version 1.06");
  EXPECT_EQ(AboutHolidayText(true, table), "祭日設定ファイル　　Version V1.02 ");
  EXPECT_EQ(AboutHolidayText(false, table), "祭日設定ファイル　 未定義 ");
}

TEST(SettingsDisplayTexts, MonthLinesListEveryMonthAndSkipEmptySlots) {
  const HolidayTable table = TwoYearTable();
  const auto lines = HolidayMonthLines(table, 0);
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[0], "  1 = 1, 14");
  EXPECT_EQ(lines[1], "  2 = ");
  EXPECT_EQ(lines[4], "  5 = 3, 5");
  EXPECT_EQ(lines[11], " 12 = ");
  EXPECT_TRUE(HolidayMonthLines(table, 2).empty());
  EXPECT_TRUE(HolidayMonthLines(table, -1).empty());
}

TEST(SettingsDisplayTexts, ShowsWhatBothFilesGave) {
  const HolidayTable table = TwoYearTable();
  IniSettings settings;
  settings.mode = 2;
  settings.chimeCount = 2;
  settings.chimes[0].code = 3;
  std::strcpy(settings.chimes[0].name.data(), "\x89\xc6\x98\x48");  // "家路"
  settings.chimes[1].code = 12;
  std::strcpy(settings.chimes[1].name.data(), "Bell");
  const SettingsDisplay display = BuildSettingsDisplay(table, settings, true, "/data");
  EXPECT_EQ(display.holidayFileName, "Tavrin-Holidays.ini");
  EXPECT_EQ(display.holidayFileRead, "O");
  EXPECT_EQ(display.settingsFileRead, "O");
  EXPECT_EQ(display.yearCount, "2");
  EXPECT_EQ(display.years, (std::vector<std::string>{"2030", "2031"}));
  EXPECT_EQ(display.chimeCount, "2");
  EXPECT_EQ(display.chimeLines, (std::vector<std::string>{"  3 = 家路", " 12 = Bell"}));
  EXPECT_EQ(display.radioButton, "OFF");
  EXPECT_EQ(display.holidayVersion, "V1.02 ");
  EXPECT_EQ(display.timeSignalMark, "○");
  EXPECT_EQ(display.dayMark, "★");
}

TEST(SettingsDisplayTexts, NoHolidayFileShowsNoYearsAndX) {
  HolidayTable empty;
  ClearHolidayTable(empty);
  const SettingsDisplay display = BuildSettingsDisplay(empty, IniSettings{}, false, "/data");
  EXPECT_EQ(display.holidayFileRead, "X");
  EXPECT_EQ(display.settingsFileRead, "X");
  EXPECT_EQ(display.yearCount, "0");
  EXPECT_TRUE(display.years.empty());
  EXPECT_EQ(display.radioButton, "ON");
}

// Each case presses its keys with Alt in turn, on a menu bar with the main window's mnemonics; the
// answers are those to every key. 0 is Alt alone.
TEST(SpecialMenuSequenceTest, JThenVOpensTheMenuAndEveryMenuMnemonicPassesOn) {
  using enum AltKeyAction;
  struct Case {
    const char* name;
    std::string keys;
    std::vector<AltKeyAction> answers;
  };
  const Case cases[] = {
      {"J then V", "JV", {Consume, OpenSpecialMenu}},
      {"Alt released between", std::string("J") + '\0' + "V", {Consume, PassOn, OpenSpecialMenu}},
      {"one opening per arming", "JVV", {Consume, OpenSpecialMenu, PassOn}},
      {"V alone opens its menu", "V", {PassOn}},
      {"another key disarms", "JXV", {Consume, Consume, PassOn}},
      {"a menu key disarms", "JFV", {Consume, PassOn, PassOn}},
      {"about disarms", "JAV", {Consume, OpenAbout, PassOn}},
      {"J twice stays armed", "JJV", {Consume, Consume, OpenSpecialMenu}},
      {"menus and digits", "FECH7", {PassOn, PassOn, PassOn, PassOn, Consume}},
  };
  for (const Case& c : cases) {
    SpecialMenuSequence sequence("FEVCH");
    std::vector<AltKeyAction> answers;
    for (char key : c.keys) {
      const AltKeyAction peeked = sequence.Peek(key);
      answers.push_back(sequence.OnAltKey(key));
      EXPECT_EQ(peeked, answers.back()) << c.name << ": Peek foretells the answer";
    }
    EXPECT_EQ(answers, c.answers) << c.name;
  }
}

}  // namespace
}  // namespace tavrin

namespace tavrin {
namespace {

class RecordingHost : public SpecialMenuHost {
 public:
  MaintenanceFacts Facts() const override {
    MaintenanceFacts facts;
    facts.userName = "kaori";
    return facts;
  }
  void ResetRegistry() override { ++resets; }
  void ShowSerialDiagnostics() override { ++serialWindows; }
  void ShowSettingsFileDisplay() override { ++displays; }
  int resets = 0, serialWindows = 0, displays = 0;
};

class AnsweringSink : public MessageSink {
 public:
  explicit AnsweringSink(MsgAnswer answer) : answer_(answer) {}
  MsgAnswer Show(const std::string& text, const std::string& caption, MsgButtons buttons,
                 MsgIcon icon) override {
    last = {caption, text};
    lastButtons = buttons;
    lastIcon = icon;
    ++count;
    return answer_;
  }
  InfoBox last;
  MsgButtons lastButtons{};
  MsgIcon lastIcon{};
  int count = 0;

 private:
  MsgAnswer answer_;
};

TEST(SpecialMenuButtons, RegistryResetOnlyAfterYes) {
  RecordingHost host;
  AnsweringSink no(MsgAnswer::No);
  PressSpecialButton(SpecialItem::ResetRegistry, host, no);
  EXPECT_EQ(host.resets, 0);
  EXPECT_EQ(no.last.caption, "レジストリの初期化");
  EXPECT_EQ(no.lastButtons, MsgButtons::YesNo);
  EXPECT_EQ(no.lastIcon, MsgIcon::Exclamation);
  AnsweringSink yes(MsgAnswer::Yes);
  PressSpecialButton(SpecialItem::ResetRegistry, host, yes);
  EXPECT_EQ(host.resets, 1);
}

TEST(SpecialMenuButtons, WindowsOpenWithoutABoxAndInformationUsesTheInformationIcon) {
  RecordingHost host;
  AnsweringSink sink(MsgAnswer::Ok);
  PressSpecialButton(SpecialItem::SerialDiagnostics, host, sink);
  PressSpecialButton(SpecialItem::SettingsFileInfo, host, sink);
  EXPECT_EQ(sink.count, 0);
  EXPECT_EQ(host.serialWindows, 1);
  EXPECT_EQ(host.displays, 1);
  PressSpecialButton(SpecialItem::UserName, host, sink);
  EXPECT_EQ(sink.last.text, "\"kaori\"    ");
  EXPECT_EQ(sink.lastButtons, MsgButtons::Ok);
  EXPECT_EQ(sink.lastIcon, MsgIcon::Information);
}

}  // namespace
}  // namespace tavrin
