#include "engine/column_key.h"

#include <algorithm>

namespace abc {

int ApplyColumnKey(WorkbenchState &state, std::string_view key)
{
    const int keyLength = static_cast<int>(std::min<std::size_t>(key.size(), MaxKeyLength));

    for (auto &cell : state.GridCells)
        cell.enabled = true;

    // Showing the key columns again matters only when a cut left over from
    // before the reset hid some of them; on the main path all are visible.
    for (int column = 0; column < keyLength; ++column) {
        state.KeyLetterLabels[column] = GridLabel{std::string(1, key[column]), true};
        state.ColumnNumberLabels[column].visible = true;
        for (int row = 0; row < GridSide; ++row)
            state.GridCells[CellIndex(row, column)].visible = true;
    }
    for (int column = keyLength; column < GridSide; ++column) {
        state.KeyLetterLabels[column].visible = false;
        state.ColumnNumberLabels[column].visible = false;
        for (int row = 0; row < GridSide; ++row)
            state.GridCells[CellIndex(row, column)] = GridCell{OutsideKeyCaption, false, false};
    }
    return keyLength;
}

} // namespace abc
