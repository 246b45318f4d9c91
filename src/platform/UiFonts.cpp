#include "platform/UiFonts.h"

#include <QStringList>

namespace tavrin {

void InstallFontSubstitutes() {
  static const bool done = [] {
    // The original face is proportional, so the proportional IPA face comes first; the others
    // stand in where it is not installed.
    QFont::insertSubstitutions("MS UI Gothic", {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP",
                                                "VL Gothic", "TakaoGothic"});
    return true;
  }();
  (void)done;
}

QFont UiGothicFont(int pixelHeight) {
  InstallFontSubstitutes();
  QFont font("MS UI Gothic");
  font.setPixelSize(pixelHeight);
  font.setWeight(QFont::Normal);
  return font;
}

}  // namespace tavrin
