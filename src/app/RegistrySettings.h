// The values the view keeps between runs in the profile section "TAVRIN": the current radio
// station, the serial port and speed, and the positions of its windows. The five folder values
// belong to the document (TavrinDoc).
#pragma once

#include <array>
#include <string>

#include "document/ProfileStore.h"
#include "document/WindowPositions.h"
#include "model/ImagePacking.h"
#include "transfer/SerialParameters.h"

namespace tavrin {

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
