// The grid control as assistive tools see it: a table whose cells say their text and their row and
// column headers, whose current cell has the focus, and whose open cell editor is that cell's.
#pragma once

#include <QString>

namespace tavrin {

class CVSFlexGrid;

// Registers the grid's accessibility with Qt once per process; later calls do nothing.
void InstallGridAccessibility();
// What a screen reader says for the cell: its text, a mark said as a word (the column's weekday or
// header and "あり"), an empty cell as nothing.
QString SpokenCellText(const CVSFlexGrid& grid, int row, int col);
// The cell's headers, row first then column, as the name of the cell's open editor.
QString CellHeaders(const CVSFlexGrid& grid, int row, int col);
// Tells assistive tools that the keyboard is on the cell (the grid's current one).
void AnnounceFocusedCell(CVSFlexGrid& grid, int row, int col);

}  // namespace tavrin
