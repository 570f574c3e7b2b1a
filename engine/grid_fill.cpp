#include "engine/grid_fill.h"

#include <algorithm>

namespace abc {

int FillGrid(WorkbenchState &state, std::string_view text)
{
    auto &cells = state.GridCells;
    int placed = 0;
    int next = 0; // the cell the search for an enabled one starts at
    state.FillEnd = 0;
    for (const char ch : text) {
        while (next < CellCount && !cells[next].enabled)
            ++next;
        if (next == CellCount)
            break; // no enabled cell left: FillEnd stays after the last letter
        cells[next++].caption = ch;
        state.FillEnd = next;
        ++placed;
    }
    for (int index = state.FillEnd; index < CellCount; ++index)
        cells[index].caption = AfterTextCaption;
    return placed;
}

std::optional<int> CutResidualMatrix(WorkbenchState &state)
{
    // Showing the key-column cells before FillEnd again matters only after a
    // cut left over from before the last reset; on the main path they are
    // visible already.
    for (int index = 0; index < state.FillEnd; ++index) {
        if (state.GridCells[index].enabled)
            state.GridCells[index].visible = true;
    }
    for (int index = state.FillEnd; index < CellCount; ++index)
        state.GridCells[index].visible = false;

    std::optional<int> rowCount;
    for (int row = 1; row < GridSide; ++row) {
        // A row keeps its labels while it holds text; showing them again
        // matters only after a cut left over from before the last reset.
        const bool holdsText = state.GridCells[CellIndex(row, 0)].caption != AfterTextCaption;
        state.RowNumberLabels[row].visible = holdsText;
        state.RedRowNumberLabels[row].visible = holdsText;
        if (holdsText)
            rowCount = row + 1;
    }
    return rowCount;
}

int EnabledCellCount(const WorkbenchState &state)
{
    return static_cast<int>(std::count_if(state.GridCells.begin(), state.GridCells.end(),
                                          [](const GridCell &cell) { return cell.enabled; }));
}

} // namespace abc
