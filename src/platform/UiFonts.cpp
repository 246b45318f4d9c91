#include "platform/UiFonts.h"

#include <QFontDatabase>
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
  // The heights are the original's at its desktop's usual size (12 pixels); the desktop's font
  // size here scales them, so a user who asks the desktop for larger text gets it.
  constexpr qreal kUsualPixelHeight = 12;
  const qreal desktop = QFontDatabase::systemFont(QFontDatabase::GeneralFont).pointSizeF();
  if (desktop > 0) font.setPointSizeF(desktop * pixelHeight / kUsualPixelHeight);
  return font;
}

}  // namespace tavrin
