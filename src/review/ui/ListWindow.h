// What the review windows share: a line of text above a table of rows whose last column takes the
// width left, and "閉じる" below, the default button.
#pragma once

class QDialog;
class QLabel;
class QTableWidget;

namespace tavrin {

void LayOutListWindow(QDialog& window, QLabel* heading, QTableWidget* table);

}  // namespace tavrin
