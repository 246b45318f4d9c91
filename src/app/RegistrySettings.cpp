#include "app/RegistrySettings.h"

#include <cstdint>
#include <limits>

#include "model/ShiftJis.h"

namespace tavrin {
namespace {

// Window coordinates as the window system can hold them; the main window is never placed at a
// negative position.
int ReadCoordinate(const ProfileStore& store, const char* key, int fallback, bool mainWindow) {
  std::optional<int> value = store.ReadInt(key);
  if (!value || *value < (mainWindow ? 0 : std::numeric_limits<int16_t>::min()) ||
      *value > std::numeric_limits<int16_t>::max()) {
    return fallback;
  }
  return *value;
}

int ReadInRange(const ProfileStore& store, const char* key, int fallback, int low, int high) {
  std::optional<int> value = store.ReadInt(key);
  if (!value || *value < low || *value > high) return fallback;
  return *value;
}

}  // namespace

RegistrySettings::RegistrySettings() {
  for (int i = 0; i < kWindowSlotCount; ++i)
    windows[i] = WindowSlotOf(static_cast<WindowSlot>(i)).defaults;
  InitSerialParameters(serial);
}

void ReadRegistrySettings(const ProfileStore& store, RegistrySettings& settings) {
  const RadioStation defaults;
  settings.station.frequency =
      ReadInRange(store, "RADIOFREQ", defaults.frequency, 0, std::numeric_limits<uint16_t>::max());
  settings.station.name = defaults.name;
  if (std::optional<std::string> name = store.ReadString("RADIONAME")) {
    if (std::optional<std::string> sjis = ToShiftJis(*name)) settings.station.name = *sjis;
  }
  // ApplySerialIndexes turns a speed index beyond the table into 0, which is written back.
  settings.serial.portIndex = store.ReadInt("PORTNO").value_or(0);
  settings.serial.speedIndex = store.ReadInt("BAUDRATE").value_or(1);
  ApplySerialIndexes(settings.serial);
  for (int i = 0; i < kWindowSlotCount; ++i) {
    const WindowSlotInfo& info = WindowSlotOf(static_cast<WindowSlot>(i));
    const bool mainWindow = i == static_cast<int>(WindowSlot::Main);
    settings.windows[i].x = ReadCoordinate(store, info.keyX, info.defaults.x, mainWindow);
    settings.windows[i].y = ReadCoordinate(store, info.keyY, info.defaults.y, mainWindow);
  }
}

void WriteRegistrySettings(ProfileStore& store, const RegistrySettings& settings) {
  store.WriteInt("RADIOFREQ", settings.station.frequency);
  store.WriteString("RADIONAME", FromShiftJis(settings.station.name));
  store.WriteInt("PORTNO", settings.serial.portIndex);
  store.WriteInt("BAUDRATE", settings.serial.speedIndex);
  for (int i = 0; i < kWindowSlotCount; ++i) {
    const WindowSlotInfo& info = WindowSlotOf(static_cast<WindowSlot>(i));
    store.WriteInt(info.keyX, settings.windows[i].x);
    store.WriteInt(info.keyY, settings.windows[i].y);
  }
}

void ResetRegistrySettings(ProfileStore& store, RegistrySettings& settings) {
  const WindowPos usb = settings.window(WindowSlot::Usb);
  settings = RegistrySettings{};
  settings.window(WindowSlot::Usb) = usb;
  WriteRegistrySettings(store, settings);
}

}  // namespace tavrin
