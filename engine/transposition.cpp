#include "engine/transposition.h"

#include "engine/column_key.h"

namespace abc {

WriteOrder WriteKeyColumns(WorkbenchState &state, std::string_view text)
{
    // The key is the key row up to its first hidden label, or to the grid's
    // edge; a label that is no single character (a column number) takes no
    // column.
    std::string key;
    for (int column = 0; column < GridSide; ++column) {
        if (column > 0 && !state.KeyLetterLabels[column].visible)
            break;
        const std::string &caption = state.KeyLetterLabels[column].caption;
        key += caption.size() == 1 ? caption.front() : '\0';
    }

    WriteOrder order;
    std::size_t position = 0;
    for (const int column : KeyColumnOrder(key)) {
        order.push_back({column + 1, key[column]});
        for (int row = 0; row < GridSide && position < text.size(); ++row) {
            GridCell &cell = state.GridCells[CellIndex(row, column)];
            if (!cell.visible)
                break;
            cell.caption = text[position++];
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
