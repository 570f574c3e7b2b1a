#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "column_key.h"
#include "input_text.h"
#include "transposition.h"
#include "workbench_state.h"

namespace abc::test {

// Key letters for keys of up to 60 columns, all different within each 26.
inline std::string KeyOfLength(int length)
{
    return std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGH").substr(0, length);
}

// All 2025 captions in index order, hidden cells included.
inline std::string Captions(const WorkbenchState &state)
{
    std::string captions;
    for (const GridCell &cell : state.GridCells)
        captions += cell.caption;
    return captions;
}

// Where two grid texts first differ, or -1: a short report for 2025 cells.
inline int FirstDifference(std::string_view actual, std::string_view expected)
{
    const auto [a, e] = std::ranges::mismatch(actual, expected);
    return a == actual.end() && e == expected.end() ? -1 : static_cast<int>(a - actual.begin());
}

inline std::string DumpedRow(const WorkbenchState &state, int row)
{
    return DumpGrid(state).substr(static_cast<std::size_t>(row) * (GridSide + 1), GridSide);
}

inline WorkbenchState KeyedGrid(std::string_view key)
{
    WorkbenchState state;
    BuildGrid(state);
    ApplyColumnKey(state, key);
    return state;
}

// Key set, text filled and the residual matrix cut, as on the main path.
inline WorkbenchState CutGrid(std::string_view key, std::string_view text)
{
    WorkbenchState state = KeyedGrid(key);
    FillGrid(state, text);
    CutResidualMatrix(state);
    return state;
}

// The write order as the window shows it: "2 3 1 " and "A B C ".
inline std::string Numbers(const WriteOrder &order)
{
    std::string shown;
    for (const ColumnEntry &entry : order)
        shown += std::to_string(entry.column) + ' ';
    return shown;
}

inline std::string Letters(const WriteOrder &order)
{
    std::string shown;
    for (const ColumnEntry &entry : order)
        shown += std::string{entry.letter, ' '};
    return shown;
}

inline bool SameLetters(std::string a, std::string b)
{
    std::ranges::sort(a);
    std::ranges::sort(b);
    return a == b;
}

} // namespace abc::test
