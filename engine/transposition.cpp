#include "engine/transposition.h"

namespace abc {

WriteOrder WriteKeyColumns(WorkbenchState &state, std::string_view text)
{
    WriteOrder order;
    std::size_t position = 0;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        // The key ends at the first hidden key-row label, or at the grid's edge.
        for (int column = 0; column < GridSide; ++column) {
            if (state.KeyLetterLabels[column].caption == std::string_view(&letter, 1)) {
                order.push_back({column + 1, letter});
                for (int row = 0; row < GridSide && position < text.size(); ++row) {
                    GridCell &cell = state.GridCells[CellIndex(row, column)];
                    if (!cell.visible)
                        break;
                    cell.caption = text[position++];
                }
            }
            if (column + 1 < GridSide && !state.KeyLetterLabels[column + 1].visible)
                break;
        }
    }
    return order;
}

std::string ReadGridRows(const WorkbenchState &state)
{
    std::string text;
    text.reserve(CellCount);
    for (const GridCell &cell : state.GridCells) {
        if (cell.visible)
            text += cell.caption;
    }
    return text;
}

} // namespace abc
