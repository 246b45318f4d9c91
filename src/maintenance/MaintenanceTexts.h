// Texts of the service staff's special menu, the settings-file display and the about box (UTF-8).
// The windows only show what is built here, so every quote, blank and line break is decided once.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/HolidayTable.h"
#include "model/ImageLayout.h"
#include "model/IniSettings.h"

namespace tavrin {

// Everything the special menu's information boxes report, gathered when a button is pressed.
struct MaintenanceFacts {
  std::string settingsFolder;    // the document's settings folder
  std::string userName;          // the login name
  std::string currentDirectory;  // the process's current directory
  std::string fileVersion;       // identification text of the document's image, empty when untitled
  std::string executablePath;
  std::string csvFolder;
  std::string namePath;       // the document's program-name file path
  int osMajorVersion = 0;     // the kernel's, as the document records it
  std::string osName;         // e.g. "Debian GNU/Linux 12 (bookworm)", empty when unknown
  std::string kernelRelease;  // e.g. "6.1.0-18-amd64"
};

enum class SpecialItem {
  ResetRegistry,
  SerialDiagnostics,
  DataFolder,
  UserName,
  DefaultDataFolder,
  UsbFileName,
  DataFileVersion,
  ExecutablePath,
  CsvInfo,
  SettingsFileInfo,
  NameFilePath,
  OsVersion,
};

struct SpecialButton {
  SpecialItem item;
  const char* label;
};

// The special menu's buttons, top to bottom ("閉じる" follows them).
const std::array<SpecialButton, 12>& SpecialMenuButtons();

struct InfoBox {
  std::string caption;
  std::string text;
};

// The information box of a button; nothing for the buttons that act or open a window.
std::optional<InfoBox> SpecialMenuInfo(SpecialItem item, const MaintenanceFacts& facts);

inline constexpr char kResetRegistryCaption[] = "レジストリの初期化";
inline constexpr char kResetRegistryPrompt[] = "レジストリを初期化しますか？　　　";

// The identification text at the start of the image as the version box shows it; empty for a
// document that has no file yet.
std::string FileVersionText(const SettingsImage& image, bool untitled);

// The operating system box: "<major> = <system>, Linux <release>" and the two closing blanks.
std::string OsVersionText(const MaintenanceFacts& facts);

inline constexpr char kProgramVersion[] = "1.06";
inline constexpr char kAboutCaption[] = "Tavrin のバージョン情報";
std::string AboutProgramText();
// The holiday line: the file's version when it was loaded, otherwise "not defined".
std::string AboutHolidayText(bool holidayFileLoaded, const HolidayTable& holidays);

// What the settings-file display shows, all texts UTF-8.
struct SettingsDisplay {
  std::string holidayFileName;
  std::string holidayFileRead;  // "O" or "X"
  std::string settingsFileName;
  std::string settingsFileRead;  // "O" or "X"
  std::string yearCount;
  std::vector<std::string> years;  // "%d", file order
  std::string chimeCount;
  std::vector<std::string> chimeLines;  // "%3d = name"
  std::string dataFolder;
  std::string holidayVersion;
  std::string radioButton;  // "ON" or "OFF"
  std::string timeSignalMark;
  std::string dayMark;
};

SettingsDisplay BuildSettingsDisplay(const HolidayTable& holidays, const IniSettings& settings,
                                     bool settingsFileRead, const std::string& dataFolder);
// Twelve lines "%3d = d, d, ..." for the stored year section at `index` (empty outside the table).
std::vector<std::string> HolidayMonthLines(const HolidayTable& holidays, int index);

}  // namespace tavrin
