// "比較": what differs from a chosen file to the open document, one line a difference (section,
// change, what), or a line saying that they are the same.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "review/ScheduleDiff.h"

class QLabel;
class QTableWidget;

namespace tavrin {

class CompareWindow : public QDialog {
  Q_OBJECT

 public:
  CompareWindow(const std::string& heading, const std::vector<Difference>& differences,
                QWidget* parent = nullptr);

  QLabel* heading() const { return heading_; }
  QTableWidget* differences() const { return table_; }

 private:
  QLabel* heading_ = nullptr;
  QTableWidget* table_ = nullptr;
};

}  // namespace tavrin
