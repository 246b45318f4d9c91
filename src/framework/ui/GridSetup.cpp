#include "framework/ui/GridSetup.h"

#include <algorithm>

#include "platform/CVSFlexGrid.h"

namespace tavrin {

uint32_t DayColour(int day) {
  if (day == 0) return Rgb(0xFF, 0xCC, 0xFF);
  if (day == 6) return Rgb(0xCC, 0xFF, 0xFF);
  return Rgb(0xFF, 0xFF, 0x99);
}

void ShapeGrid(CVSFlexGrid& grid, int dataRows, int dataCols, std::initializer_list<int> widths,
               int fixedRows) {
  grid.SetRows(fixedRows + dataRows);
  grid.SetCols(1 + dataCols);
  grid.SetFixedRows(fixedRows);
  grid.SetFixedCols(1);
  for (int r = 0; r < grid.Rows(); ++r) grid.SetRowHeight(r, 300);
  int col = 0;
  for (int width : widths) grid.SetColWidth(col++, width);
  for (int c = 1; c < grid.Cols(); ++c) grid.SetColAlignment(c, CVSFlexGrid::kAlignCenterCenter);
}

void SetHeader(CVSFlexGrid& grid, int row, int col, const QString& text, uint32_t back) {
  grid.SetTextMatrix(row, col, text);
  grid.SetCellBackColorAt(row, col, back);
}

void FitGrid(CVSFlexGrid& grid, int visibleRows) {
  int frame = 2 * grid.frameWidth();
  int width = frame, height = frame;
  for (int c = 0; c < grid.Cols(); ++c) width += grid.ColWidthPixels(c);
  for (int r = 0; r < std::min(grid.Rows(), visibleRows + grid.FixedRows()); ++r)
    height += grid.RowHeightPixels(r);
  // Room for the vertical bar when not every row fits.
  if (grid.Rows() > visibleRows + grid.FixedRows()) width += 18;
  grid.setFixedSize(width, height);
}

TextTable ReadTable(const CVSFlexGrid& grid, int rows, int cols) {
  TextTable table(rows, cols);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c)
      table.at(r, c) = grid.TextMatrix(grid.FixedRows() + r, grid.FixedCols() + c).toStdString();
  return table;
}

TextTable ReadShownTable(const CVSFlexGrid& grid, int rows, int cols) {
  TextTable table = ReadTable(grid, rows, cols);
  // An open edit is always on the cursor's cell: moving the cursor stores it first.
  const CellPos at = Cursor(grid);
  if (grid.IsEditing() && at.row >= 0 && at.row < rows && at.col >= 0 && at.col < cols)
    table.at(at.row, at.col) = grid.EditText().toStdString();
  return table;
}

void WriteTable(CVSFlexGrid& grid, const TextTable& table) {
  for (int r = 0; r < table.rows(); ++r)
    for (int c = 0; c < table.cols(); ++c)
      grid.SetTextMatrix(grid.FixedRows() + r, grid.FixedCols() + c,
                         QString::fromStdString(table.at(r, c)));
}

void MoveTo(CVSFlexGrid& grid, CellPos cell) {
  grid.SetCurrentCell(grid.FixedRows() + cell.row, grid.FixedCols() + cell.col);
}

CellPos Cursor(const CVSFlexGrid& grid) {
  return {grid.Row() - grid.FixedRows(), grid.Col() - grid.FixedCols()};
}

}  // namespace tavrin
