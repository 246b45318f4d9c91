#include "platform/UiFonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace tavrin {
namespace {

// The original face is proportional, so the proportional IPA face comes first; the others stand
// in where it is not installed.
const QStringList& JapaneseFaces() {
  static const QStringList faces = {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP", "VL Gothic",
                                    "TakaoGothic"};
  return faces;
}

// The first of the faces that is installed, asked for by its own name: a family the system does
// not have sends every text through fontconfig's search for stand-ins, which took about a seventh
// of the time the main window needs to come up.
QString InstalledFace() {
  static const QString face = [] {
    for (const QString& family : JapaneseFaces()) {
      if (QFontDatabase::hasFamily(family)) return family;
    }
    return QStringLiteral("MS UI Gothic");
  }();
  return face;
}

}  // namespace

void InstallFontSubstitutes() {
  static const bool done = [] {
    QFont::insertSubstitutions("MS UI Gothic", JapaneseFaces());
    return true;
  }();
  (void)done;
}

QFont UiGothicFont(int pixelHeight) {
  InstallFontSubstitutes();
  QFont font(InstalledFace());
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
