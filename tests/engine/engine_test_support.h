#pragma once

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <utility>

#include "column_key.h"
#include "input_text.h"
#include "transposition.h"

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

// All 2025 captions in index order, hidden cells included.
inline std::string Captions(const WorkbenchState &state)
{
    std::string captions;
    for (const GridCell &cell : state.GridCells)
        captions += cell.caption;
    return captions;
}

// Where two grid texts first differ, or -1: a short report on 2025 cells.
inline int FirstDifference(std::string_view actual, std::string_view expected)
{
    const auto [a, e] = std::ranges::mismatch(actual, expected);
    return a == actual.end() && e == expected.end() ? -1 : static_cast<int>(a - actual.begin());
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
