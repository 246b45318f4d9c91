// The one font of the original screens, "MS UI Gothic", mapped to a Japanese font of this system.
#pragma once

#include <QFont>

namespace tavrin {

// Registers the substitution once per process; later calls do nothing.
void InstallFontSubstitutes();
// "MS UI Gothic" at `pixelHeight`, the height the original's windows give in pixels: the first
// installed face of those that stand in for it, by its own name.
QFont UiGothicFont(int pixelHeight = 12);

}  // namespace tavrin
