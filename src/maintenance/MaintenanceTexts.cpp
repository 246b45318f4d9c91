#include "maintenance/MaintenanceTexts.h"

#include <algorithm>
#include <cstdio>

#include "document/DataFolder.h"
#include "model/ScheduleModel.h"
#include "model/ShiftJis.h"

namespace tavrin {
namespace {

// Service staff copy these values from the boxes; the quotes show where a path begins and ends.
std::string Quoted(const std::string& value, const char* trailingBlanks) {
  return "\"" + value + "\"" + trailingBlanks;
}

constexpr char kFourBlanks[] = "    ";

std::string Number(const char* format, int value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

}  // namespace

const std::array<SpecialButton, 12>& SpecialMenuButtons() {
  static const std::array<SpecialButton, 12> buttons = {{
      {SpecialItem::ResetRegistry, "レジストリの初期化"},
      {SpecialItem::SerialDiagnostics, "シリアル通信"},
      {SpecialItem::DataFolder, "現在のデータ・フォルダ"},
      {SpecialItem::UserName, "現在のユーザ名"},
      {SpecialItem::DefaultDataFolder, "デフォルト・データ・フォルダ"},
      {SpecialItem::UsbFileName, "USB データ・ファイル名"},
      {SpecialItem::DataFileVersion, "データ・ファイル・バージョン"},
      {SpecialItem::ExecutablePath, "EXE プログラム・パス"},
      {SpecialItem::CsvInfo, "CSVファイル情報"},
      {SpecialItem::SettingsFileInfo, "設定ファイル情報"},
      {SpecialItem::NameFilePath, "プログラム名称ファイル・パス"},
      {SpecialItem::OsVersion, "OS バージョン番号"},
  }};
  return buttons;
}

std::optional<InfoBox> SpecialMenuInfo(SpecialItem item, const MaintenanceFacts& facts) {
  switch (item) {
    case SpecialItem::ResetRegistry:
    case SpecialItem::SerialDiagnostics:
    case SpecialItem::SettingsFileInfo:
      return std::nullopt;
    case SpecialItem::DataFolder:
      return InfoBox{"現在のデータ・フォルダ", Quoted(facts.settingsFolder, kFourBlanks)};
    case SpecialItem::UserName:
      return InfoBox{"現在のユーザ名", Quoted(CutUtf8(facts.userName, 260), kFourBlanks)};
    case SpecialItem::DefaultDataFolder:
      return InfoBox{"デフォルト・データ・フォルダ", Quoted(facts.currentDirectory, "   ")};
    case SpecialItem::UsbFileName:
      return InfoBox{"USB データ・ファイル名", Quoted("VL-3400.BIN", kFourBlanks)};
    case SpecialItem::DataFileVersion:
      return InfoBox{"データ・ファイル・バージョン",
                     "・ファイルのバージョン  =  \"" + facts.fileVersion +
                         "\" \n・処理中のバージョン =  \"" + std::string(kIdText) + "\"   "};
    case SpecialItem::ExecutablePath:
      return InfoBox{"実行プログラム・パス", Quoted(facts.executablePath, kFourBlanks)};
    case SpecialItem::CsvInfo:
      return InfoBox{"CSVファイル情報",
                     "・ファイル・バージョン = KORVA PROGRAM TIMER V01.00   \n・フォルダ = \"" +
                         facts.csvFolder + "\"   "};
    case SpecialItem::NameFilePath:
      return InfoBox{"プログラム名称ファイル・パス", Quoted(facts.namePath, kFourBlanks)};
    case SpecialItem::OsVersion:
      return InfoBox{"OS バージョン情報", OsVersionText(facts)};
  }
  return std::nullopt;
}

std::string FileVersionText(const SettingsImage& image, bool untitled) {
  if (untitled) return {};
  return FromShiftJis(FieldText(reinterpret_cast<const char*>(image.data()) + layout::kIdText,
                                layout::kIdTextSize));
}

std::string OsVersionText(const MaintenanceFacts& facts) {
  // Service staff read off which system the program runs on; Windows names would be false here.
  std::string system = facts.osName;
  if (!facts.kernelRelease.empty()) {
    system += (system.empty() ? "Linux " : ", Linux ") + facts.kernelRelease;
  }
  if (system.empty()) system = "Linux";
  return std::to_string(facts.osMajorVersion) + " = " + system + "　　";
}

std::string AboutProgramText() { return std::string("Tavrin　　Version ") + kProgramVersion; }

std::string AboutHolidayText(bool holidayFileLoaded, const HolidayTable& holidays) {
  if (!holidayFileLoaded) return "祭日設定ファイル　 未定義 ";
  return "祭日設定ファイル　　Version " + FromShiftJis(holidays.Version());
}

std::vector<std::string> HolidayMonthLines(const HolidayTable& holidays, int index) {
  std::vector<std::string> lines;
  if (index < 0 || index >= holidays.yearCount || index >= kHolidayYears) return lines;
  for (int month = 1; month <= 12; ++month) {
    std::string line = Number("%3d = ", month);
    bool first = true;
    for (uint8_t day : holidays.days[index][month - 1]) {
      if (day == 0) continue;
      line += Number(first ? "%d" : ", %d", day);
      first = false;
    }
    lines.push_back(line);
  }
  return lines;
}

SettingsDisplay BuildSettingsDisplay(const HolidayTable& holidays, const IniSettings& settings,
                                     bool settingsFileRead, const std::string& dataFolder) {
  SettingsDisplay display;
  display.holidayFileName = kHolidayFileName;
  display.holidayFileRead = holidays.yearCount > 0 ? "O" : "X";
  display.settingsFileName = kSettingsIniName;
  display.settingsFileRead = settingsFileRead ? "O" : "X";
  const int yearCount = std::min<int>(holidays.yearCount, kHolidayYears);
  display.yearCount = std::to_string(yearCount);
  for (int i = 0; i < yearCount; ++i) display.years.push_back(Number("%d", holidays.years[i]));
  display.chimeCount = std::to_string(settings.chimeCount);
  for (int i = 0; i < settings.chimeCount && i < kMaxChimes; ++i) {
    const ChimeRecord& chime = settings.chimes[i];
    if (chime.code == 0) continue;
    display.chimeLines.push_back(Number("%3d = ", chime.code) +
                                 FromShiftJis(FieldText(chime.name.data(), chime.name.size())));
  }
  display.dataFolder = dataFolder;
  display.holidayVersion = FromShiftJis(holidays.Version());
  display.radioButton = settings.RadioModeOn() ? "ON" : "OFF";
  display.timeSignalMark = FromShiftJis(settings.timeSignalMark);
  display.dayMark = FromShiftJis(settings.dayMark);
  return display;
}

}  // namespace tavrin
