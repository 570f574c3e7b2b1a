#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/workbench_state.h"

namespace abc {

// A key labels one grid column per character, so it can never be longer
// than the grid is wide.
inline constexpr int MaxKeyLength = GridSide;

// The character to insert for a typed character code (0..255): small letters
// become capitals, capitals, digits and backspace pass, 0 swallows the rest.
constexpr int FilterKeyChar(int code)
{
    if (code == 8 || (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z'))
        return code;
    if (code >= 'a' && code <= 'z')
        return code - 32;
    return 0;
}

// Writes the key into the key row and admits its columns to the fill; the
// columns beyond the key are hidden, disabled and marked ".". Characters past
// MaxKeyLength have no column and are ignored. Returns the number of key
// columns.
int ApplyColumnKey(WorkbenchState &state, std::string_view key);

// A column order: order[k] is the 0-based position of the column read k-th.
using ColumnOrder = std::vector<int>;

// The order in which the transposition takes a key's columns: by their key
// letters from A to Z, equal letters left to right. A column under any other
// character, a digit say, is never taken.
ColumnOrder KeyColumnOrder(std::string_view key);

// The shortest keyword of capitals whose columns are taken in this order;
// nothing when it needs more than 26 letters.
std::optional<std::string> KeywordForOrder(const ColumnOrder &order);

} // namespace abc
