// The object names of the program's widgets, so that the program, its tests and the screenshot
// hooks find them the same way. A control with an identifier in the dialog templates is named by
// that number alone ("1054"); the few widgets without one have the names below.
#pragma once

#include <QObject>
#include <QString>

namespace tavrin {

// The identifiers of the standard buttons of every dialog template.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

inline QString ControlName(int id) { return QString::number(id); }

// The child control `id` of `parent`, or null.
template <typename Widget>
Widget* FindControl(const QObject* parent, int id) {
  return parent->findChild<Widget*>(ControlName(id));
}

// Widgets that no dialog template numbers.
inline constexpr char kLogoName[] = "logo";
inline constexpr char kToolbarName[] = "toolbar";
inline constexpr char kFileNameLabelName[] = "fileNameLabel";

}  // namespace tavrin
