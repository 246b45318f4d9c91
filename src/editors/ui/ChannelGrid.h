// The channel grid that the channel page (eight rows) and the single-channel dialog (one row)
// share: headers, lists, and the editability rule applied on every move of the cursor.
#pragma once

#include "editors/GridText.h"

namespace tavrin {

class CVSFlexGrid;

// Builds the grid for `rows` channels with the label "CH%d" of `firstChannel` onwards;
// `signalWidth` is the width of the minute, second and rise-time columns.
void BuildChannelGrid(CVSFlexGrid& grid, int rows, int firstChannel, int signalWidth);
// Makes the grid editable exactly where the cursor's row allows it.
void ApplyChannelEditability(CVSFlexGrid& grid);
// The grid's rows as the channel rules read them.
TextTable ReadChannelTable(const CVSFlexGrid& grid);

}  // namespace tavrin
