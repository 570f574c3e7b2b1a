#pragma once

// Grid pictures and small builders shared by the engine tests and the window
// tests: a whole grid compared as one text shows every wrong cell at once.

#include <algorithm>
#include <initializer_list>
#include <random>
#include <string>
#include <string_view>
#include <utility>

#include "engine/column_key.h"
#include "engine/grid_fill.h"
#include "engine/transposition.h"

namespace abc::test {

inline constexpr std::string_view Capitals = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// n letters running A to Z and again: also a key of distinct letters up to 26.
inline std::string Alphabet(std::size_t n)
{
    std::string text(n, 'A');
    for (std::size_t i = 0; i < n; ++i)
        text[i] = Capitals[i % 26];
    return text;
}

inline std::string RandomText(std::mt19937 &random, std::size_t n, std::string_view from = Capitals)
{
    std::string text(n, ' ');
    for (char &ch : text)
        ch = from[random() % from.size()];
    return text;
}

// 2025 characters in index order as 45 lines, the form of DumpGrid: a failed
// comparison then shows the rows that differ.
inline std::string Rows(std::string_view cells)
{
    std::string rows;
    for (int row = 0; row < GridSide; ++row)
        rows += std::string(cells.substr(row * GridSide, GridSide)) + '\n';
    return rows;
}

// Every cell's caption, hidden cells included.
inline std::string Captions(const WorkbenchState &state)
{
    std::string captions;
    for (const GridCell &cell : state.GridCells)
        captions += cell.caption;
    return Rows(captions);
}

// A grid as DumpGrid shows it: these rows at the top, blank cells elsewhere.
inline std::string Picture(std::initializer_list<std::string_view> top)
{
    std::string picture;
    for (std::size_t row = 0; row < GridSide; ++row) {
        std::string line(row < top.size() ? top.begin()[row] : "");
        line.resize(GridSide, ' ');
        picture += line + '\n';
    }
    return picture;
}

// One character per column: its key letter for a key column (both labels
// shown, every cell enabled and shown), "." for a column cut off (both labels
// hidden, every cell ".", hidden and disabled), "#" for anything else.
inline std::string KeyColumns(const WorkbenchState &state)
{
    std::string columns;
    for (int c = 0; c < GridSide; ++c) {
        bool key = state.KeyLetterLabels[c].visible && state.ColumnNumberLabels[c].visible;
        bool cut = !state.KeyLetterLabels[c].visible && !state.ColumnNumberLabels[c].visible;
        for (int r = 0; r < GridSide; ++r) {
            const GridCell &cell = state.GridCells[CellIndex(r, c)];
            key = key && cell.enabled && cell.visible;
            cut = cut && !cell.enabled && !cell.visible && cell.caption == OutsideKeyCaption;
        }
        columns += key ? state.KeyLetterLabels[c].caption : cut ? "." : "#";
    }
    return columns;
}

// A label family as it is shown: the captions, a hidden label as "-".
inline std::string LabelRow(const LabelArray &labels)
{
    std::string row;
    for (const GridLabel &label : labels)
        row += (label.visible ? label.caption : "-") + ' ';
    return row;
}

// The numbers 1 to `shown`, then "-" for the hidden labels up to 45.
inline std::string Numbered(int shown)
{
    std::string row;
    for (int i = 1; i <= GridSide; ++i)
        row += (i <= shown ? std::to_string(i) : "-") + ' ';
    return row;
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

// The write order as the window shows it: {"2 3 1 ", "A B C "}.
inline std::pair<std::string, std::string> Shown(const WriteOrder &order)
{
    std::pair<std::string, std::string> shown;
    for (const ColumnEntry &entry : order) {
        shown.first += std::to_string(entry.column) + ' ';
        shown.second += std::string{entry.letter, ' '};
    }
    return shown;
}

inline bool SameLetters(std::string a, std::string b)
{
    std::ranges::sort(a);
    std::ranges::sort(b);
    return a == b;
}

} // namespace abc::test
