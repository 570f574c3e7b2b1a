#pragma once

#include <optional>
#include <string_view>

#include "engine/workbench_state.h"

namespace abc {

// Writes the text row by row into the enabled cells and captions every cell
// from FillEnd on "?". Stops when no enabled cell is left, so a text longer
// than the key columns hold is cut short. Returns how many characters were
// placed.
int FillGrid(WorkbenchState &state, std::string_view text);

// Hides the cells after the text and the row labels of the rows without
// text. Returns the number of rows holding text, or nothing when the text
// stays within row 0.
std::optional<int> CutResidualMatrix(WorkbenchState &state);

// How many characters the enabled cells can take.
int EnabledCellCount(const WorkbenchState &state);

} // namespace abc
