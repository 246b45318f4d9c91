// The version box: the program's version and the holiday file's version.
#pragma once

#include <QDialog>

namespace tavrin {

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  AboutDialog(const QString& programText, const QString& holidayText, QWidget* parent = nullptr);
};

}  // namespace tavrin
