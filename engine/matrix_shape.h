#pragma once

namespace abc {

// The matrix a text fills when it is written row by row under a key: every
// row full but perhaps the last. The columns that reach into the last row
// are the long ones; when it is full, every column is.
struct MatrixShape {
    int columns = 1;
    int rows = 0;
    int longColumns = 1;

    static constexpr MatrixShape Of(int length, int columns)
    {
        return {columns, (length + columns - 1) / columns, length % columns == 0 ? columns : length % columns};
    }

    constexpr bool ragged() const { return longColumns < columns; }
    // Letters in the column at this position (0-based, left to right).
    constexpr int height(int column) const { return column < longColumns ? rows : rows - 1; }
};

} // namespace abc
