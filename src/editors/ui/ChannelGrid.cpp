#include "editors/ui/ChannelGrid.h"

#include "editors/ChannelRules.h"
#include "framework/ui/GridSetup.h"
#include "platform/CVSFlexGrid.h"

namespace tavrin {

void BuildChannelGrid(CVSFlexGrid& grid, int rows, int firstChannel, int signalWidth) {
  ShapeGrid(grid, rows, channels::kCols, {1200, 1200, signalWidth, signalWidth, signalWidth});
  const uint32_t label = Rgb(0xFF, 0xCC, 0x99);
  const uint32_t signal = Rgb(0xCC, 0xFF, 0xCC);
  SetHeader(grid, 0, 0, "チャンネル番号", label);
  SetHeader(grid, 0, 1, "タイプ", Rgb(0xFF, 0xFF, 0x00));
  SetHeader(grid, 0, 2, "報時（分）", signal);
  SetHeader(grid, 0, 3, "報時（秒）", signal);
  SetHeader(grid, 0, 4, "立ち上り時間", signal);
  for (int r = 0; r < rows; ++r)
    SetHeader(grid, r + 1, 0, QString("CH%1").arg(firstChannel + r), label);
  for (int col = 0; col < channels::kCols; ++col)
    grid.SetColList(1 + col, channels::ColumnChoices(col));
  FitGrid(grid, rows);
}

TextTable ReadChannelTable(const CVSFlexGrid& grid) {
  return ReadTable(grid, grid.Rows() - grid.FixedRows(), channels::kCols);
}

void ApplyChannelEditability(CVSFlexGrid& grid) {
  const CellPos cell = Cursor(grid);
  if (cell.row < 0 || cell.col < 0) return;
  grid.SetEditable(channels::Editable(ReadChannelTable(grid), cell)
                       ? CVSFlexGrid::kEditKeyboardMouse
                       : CVSFlexGrid::kEditNone);
}

}  // namespace tavrin
