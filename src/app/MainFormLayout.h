// Where the main window and the controls of its form go. Pixels, form coordinates.
#pragma once

#include <array>

namespace tavrin {

struct Rect {
  int x, y, width, height;
  bool operator==(const Rect&) const = default;
};

struct Point {
  int x, y;
  bool operator==(const Point&) const = default;
};

inline constexpr int kMainWidth = 800;
inline constexpr int kMainHeight = 500;
inline constexpr Point kLogoPosition{500, 10};  // client position, right of the toolbar buttons

// The stored top-left corner of the main window; a negative value, left there by a window that
// was off screen when it closed, falls back to its default (150, 100).
Point MainWindowPosition(int storedX, int storedY);

// The five editor buttons in their order: channels, weekly, annual, summer time, radio.
inline constexpr int kEditorButtonCount = 5;
inline constexpr int kButtonIds[kEditorButtonCount] = {1114, 1115, 1116, 1117, 1118};

struct MainFormLayout {
  Rect fileNameLabel;
  Rect fileNameField;
  std::array<Rect, kEditorButtonCount> buttons;
  bool radioButtonVisible;
};

// With the radio button the form keeps its designed places; without it the other four stand in one
// row at y = 120, each the size of the channel button, from x = 60 with 40 pixels between them.
MainFormLayout LayOutMainForm(bool radioModeOn);

}  // namespace tavrin
