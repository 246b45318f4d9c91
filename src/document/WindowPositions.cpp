#include "document/WindowPositions.h"

#include <array>

namespace tavrin {
namespace {

constexpr std::array<WindowSlotInfo, kWindowSlotCount> kWindowSlots = {{
    {"MAIN_X", "MAIN_Y", {150, 100}},
    {"YEAR_X", "YEAR_Y", {150, 100}},
    {"PROG_X", "PROG_Y", {150, 100}},
    {"PNAM_X", "PNAM_Y", {150, 100}},
    {"WPRO_X", "WPRO_Y", {150, 100}},
    {"WEEK_X", "WEEK_Y", {150, 100}},
    {"PLST_X", "PLST_Y", {150, 100}},
    {"FREF_X", "FREF_Y", {200, 200}},
    {"SERIAL_X", "SERIAL_Y", {150, 150}},
    {"USB_X", "USB_Y", {150, 150}},
}};

}  // namespace

const WindowSlotInfo& WindowSlotOf(WindowSlot slot) { return kWindowSlots[static_cast<int>(slot)]; }

}  // namespace tavrin
