// What every editor window does to its grid: shape, header texts and colours, and moving texts
// between the grid and the rules' tables.
#pragma once

#include <QString>
#include <cstdint>
#include <initializer_list>

#include "editors/GridText.h"
#include "model/ScheduleTexts.h"

namespace tavrin {

class CVSFlexGrid;

// A Windows RGB value (0x00BBGGRR) from its three parts.
constexpr uint32_t Rgb(int red, int green, int blue) {
  return static_cast<uint32_t>(red | green << 8 | blue << 16);
}
inline constexpr uint32_t kBlue = Rgb(0, 0, 0xFF);
inline constexpr uint32_t kRed = Rgb(0xFF, 0, 0);
// Header colours of the day columns, Sunday first.
uint32_t DayColour(int day);

// One fixed row and `fixedCols` fixed columns, then `dataRows` x `dataCols` data cells; rows 300
// twips high; column widths in order from column 0.
void ShapeGrid(CVSFlexGrid& grid, int dataRows, int dataCols, std::initializer_list<int> widths,
               int fixedRows = 1);
// Text and background colour of one cell, without moving the cursor through other cells.
void SetHeader(CVSFlexGrid& grid, int row, int col, const QString& text, uint32_t back);
// Fixes the grid's size so that it shows every column and at most `visibleRows` rows.
void FitGrid(CVSFlexGrid& grid, int visibleRows);

// The data cells as UTF-8 texts, and back.
TextTable ReadTable(const CVSFlexGrid& grid, int rows, int cols);
// The same as the user sees them: an open cell edit with what is typed so far.
TextTable ReadShownTable(const CVSFlexGrid& grid, int rows, int cols);
void WriteTable(CVSFlexGrid& grid, const TextTable& table);
// Moves the cursor to a data cell in one step.
void MoveTo(CVSFlexGrid& grid, CellPos cell);
// The data cell of the cursor.
CellPos Cursor(const CVSFlexGrid& grid);

}  // namespace tavrin
