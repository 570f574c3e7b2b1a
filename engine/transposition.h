#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/workbench_state.h"

namespace abc {

// One column as the transposition takes it: its 1-based number and the key
// letter above it.
struct ColumnEntry {
    int column = 0;
    char letter = 'A';

    bool operator==(const ColumnEntry &) const = default;
};

using WriteOrder = std::vector<ColumnEntry>;

// Writes the text column by column into the visible cells of the key
// columns, taking the columns in the key's column order (KeyColumnOrder).
// Cells left over when the text runs out keep their captions.
WriteOrder WriteKeyColumns(WorkbenchState &state, std::string_view text);

// The captions of all visible cells, row by row.
std::string ReadGridRows(const WorkbenchState &state);

} // namespace abc
