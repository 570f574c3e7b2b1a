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

ColumnOrder KeyColumnOrder(std::string_view key)
{
    ColumnOrder order;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        for (std::size_t column = 0; column < key.size(); ++column) {
            if (key[column] == letter)
                order.push_back(static_cast<int>(column));
        }
    }
    return order;
}

std::optional<std::string> KeywordForOrder(const ColumnOrder &order)
{
    // Each run of columns read left to right can share one letter; a
    // column left of its predecessor in the reading needs the next letter.
    std::string keyword(order.size(), 'A');
    char letter = 'A';
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k > 0 && order[k] < order[k - 1]) {
            if (letter == 'Z')
                return std::nullopt;
            ++letter;
        }
        keyword[order[k]] = letter;
    }
    return keyword;
}

} // namespace abc
