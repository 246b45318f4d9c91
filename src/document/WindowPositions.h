// The stored positions of the program's windows, kept between runs among the per-user values:
// each dialog opens where the user last left it.
#pragma once

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

}  // namespace tavrin
