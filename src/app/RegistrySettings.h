// The values the view keeps between runs in the profile section "TAVRIN": the current radio
// station, the serial port and speed, and the positions of its windows. The five folder values
// belong to the document (TavrinDoc).
#pragma once

#include <array>
#include <string>

#include "model/ImagePacking.h"
#include "model/ProfileStore.h"

namespace tavrin {

struct WindowPos {
  int x;
  int y;
  bool operator==(const WindowPos&) const = default;
};

// Every window with a stored position, in the order of the profile table.
enum class WindowSlot { Main, Year, Prog, Pnam, Wpro, Week, Plst, Fref, Serial, Usb, Count };
inline constexpr int kWindowSlotCount = static_cast<int>(WindowSlot::Count);

struct WindowSlotInfo {
  const char* keyX;
  const char* keyY;
  WindowPos defaults;
};
const WindowSlotInfo& WindowSlotOf(WindowSlot slot);

// The serial parameters given to the serial control, and the indexes they come from.
struct SerialParameters {
  int portIndex = 0;   // PORTNO, 0..15 = COM1..COM16
  int speedIndex = 1;  // BAUDRATE, 0..2
  int parityIndex = 0;
  int dataBitsIndex = 1;
  int stopBitsIndex = 0;

  int portNumber = 1;
  int speed = 19200;
  char parity = 'N';
  int dataBits = 8;
  std::string stopBits = "1";
  std::string settingsText = "19200,N,8,1";  // "%d,%C,%d,%s"
};

inline constexpr std::array<int, 3> kSerialSpeeds = {9600, 19200, 38400};
inline constexpr std::array<char, 3> kSerialParities = {'N', 'E', 'O'};
inline constexpr std::array<int, 2> kSerialDataBits = {7, 8};
inline constexpr std::array<const char*, 3> kSerialStopBits = {"1", "1.5", "2"};
inline constexpr int kSerialPortCount = 16;

void InitSerialParameters(SerialParameters& serial);
// Recomputes the values from the indexes; an index out of its table becomes 0.
void ApplySerialIndexes(SerialParameters& serial);

struct RegistrySettings {
  RadioStation station;  // name in Shift-JIS
  SerialParameters serial;
  std::array<WindowPos, kWindowSlotCount> windows;

  RegistrySettings();
  WindowPos& window(WindowSlot slot) { return windows[static_cast<int>(slot)]; }
  const WindowPos& window(WindowSlot slot) const { return windows[static_cast<int>(slot)]; }
};

// Missing, wrongly typed and out-of-range values take their defaults.
void ReadRegistrySettings(const ProfileStore& store, RegistrySettings& settings);
void WriteRegistrySettings(ProfileStore& store, const RegistrySettings& settings);
// Back to the defaults except the transfer dialogs' position, then written.
void ResetRegistrySettings(ProfileStore& store, RegistrySettings& settings);

}  // namespace tavrin
