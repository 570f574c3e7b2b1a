#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace abc {

inline constexpr int GridSide = 45;
inline constexpr int CellCount = GridSide * GridSide;

inline constexpr char AfterTextCaption = '?';
inline constexpr char OutsideKeyCaption = '.';

constexpr int CellIndex(int row, int column)
{
    return row * GridSide + column;
}

// One cell of the transposition matrix. The enabled flag marks a key column
// (the fill writes only there); the visible flag marks the matrix proper (the
// column write and the read-out use only visible cells).
struct GridCell {
    char caption = ' ';
    bool visible = true;
    bool enabled = false;

    friend bool operator==(const GridCell &, const GridCell &) = default;
};

struct GridLabel {
    std::string caption;
    bool visible = true;

    friend bool operator==(const GridLabel &, const GridLabel &) = default;
};

using CellArray = std::array<GridCell, CellCount>;
using LabelArray = std::array<GridLabel, GridSide>;

enum class CipherMethod { ABC, ABCD };

constexpr int ShiftPeriod(CipherMethod method)
{
    return method == CipherMethod::ABC ? 3 : 4;
}

// The work state shared by every decoding step. Texts are Windows-1252 bytes.
struct WorkbenchState {
    CellArray GridCells{};
    LabelArray ColumnNumberLabels{};
    LabelArray KeyLetterLabels{};
    LabelArray RowNumberLabels{};
    LabelArray RedRowNumberLabels{};

    std::string CleanText;
    std::string TranspositionText;
    std::string SubstitutionText;

    std::int32_t TextCount = 0;
    std::int32_t FillEnd = 0;
    std::int32_t TextCursor = 0;
    std::int32_t ShiftCounter = 0;

    std::uint32_t RandomSeed = 0;
};

// Advances the placeholder-letter generator and returns a letter 'A'..'Z'.
char RandomLetter(WorkbenchState &state);

// Every cell gets the next placeholder letter and becomes visible and
// disabled; every label shows its 1-based number and becomes visible.
void BuildGrid(WorkbenchState &state);

// Like BuildGrid, but keeps the cells' enabled flags (the last key's columns)
// and leaves the captions of the number labels alone.
void ResetGrid(WorkbenchState &state);

// The grid as text, one line per row, hidden cells as a blank: for tests and
// diagnostics.
std::string DumpGrid(const WorkbenchState &state);

} // namespace abc
