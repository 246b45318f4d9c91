#include "app/MainFormLayout.h"

namespace tavrin {
namespace {

constexpr int kButtonWidth = 130;
constexpr int kButtonHeight = 125;

}  // namespace

Point MainWindowPosition(int storedX, int storedY) {
  return {storedX < 0 ? 150 : storedX, storedY < 0 ? 100 : storedY};
}

MainFormLayout LayOutMainForm(bool radioModeOn) {
  MainFormLayout layout{};
  layout.fileNameLabel = {60, 24, 80, 20};
  layout.fileNameField = {140, 21, 400, 24};
  // Designed places: the three schedule editors on top, summer time and radio below them.
  layout.buttons = {{{95, 80, kButtonWidth, kButtonHeight},
                     {335, 80, kButtonWidth, kButtonHeight},
                     {575, 80, kButtonWidth, kButtonHeight},
                     {215, 240, kButtonWidth, kButtonHeight},
                     {455, 240, kButtonWidth, kButtonHeight}}};
  layout.radioButtonVisible = radioModeOn;
  if (!radioModeOn) {
    const Rect first = layout.buttons[0];
    for (int i = 0; i < 4; ++i) {
      layout.buttons[i] = {60 + i * (first.width + 40), 120, first.width, first.height};
    }
  }
  return layout;
}

}  // namespace tavrin
