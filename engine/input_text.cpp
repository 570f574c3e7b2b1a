#include "input_text.h"

#include <algorithm>

namespace abc {

namespace {

// Spelled-out words for the kept characters that are not capitals, indexed
// by Windows-1252 code; nullptr for every other code.
constexpr auto ReplacementWords = [] {
    std::array<const char *, 256> words{};
    constexpr const char *digits[] = {"NULL", "EINS", "ZWO",    "DREI", "VIER",
                                      "FUENF", "SECHS", "SIEBEN", "ACHT", "NEUN"};
    for (int digit = 0; digit < 10; ++digit)
        words['0' + digit] = digits[digit];
    words[0xC4] = words[0xE4] = "AE";
    words[0xD6] = words[0xF6] = "OE";
    words[0xDC] = words[0xFC] = "UE";
    words[0xDF] = "SZ";
    return words;
}();

} // namespace

std::string CleanInputText(std::string_view text)
{
    // Inserted words are never examined again, so a single forward pass gives
    // the same result as scanning and rewriting the text in place.
    std::string clean;
    clean.reserve(text.size());
    for (const char ch : text) {
        const auto code = static_cast<unsigned char>(ch);
        if (code >= 'a' && code <= 'z')
            clean += static_cast<char>(code - 32);
        else if (code >= 'A' && code <= 'Z')
            clean += ch;
        else if (const char *word = ReplacementWords[code])
            clean += word;
    }
    return clean;
}

int FillGrid(WorkbenchState &state, std::string_view text)
{
    auto &cells = state.GridCells;
    int placed = 0;
    int next = 0; // the cell the search for an enabled one starts at
    state.FillEnd = 0;
    for (const char ch : text) {
        while (next < CellCount && !cells[next].enabled)
            ++next;
        if (next == CellCount)
            break; // no enabled cell left: FillEnd stays after the last letter
        cells[next++].caption = ch;
        state.FillEnd = next;
        ++placed;
    }
    for (int index = state.FillEnd; index < CellCount; ++index)
        cells[index].caption = AfterTextCaption;
    return placed;
}

std::optional<int> CutResidualMatrix(WorkbenchState &state)
{
    // Showing the key-column cells before FillEnd again matters only after a
    // cut left over from before the last reset; on the main path they are
    // visible already.
    for (int index = 0; index < state.FillEnd; ++index) {
        if (state.GridCells[index].enabled)
            state.GridCells[index].visible = true;
    }
    for (int index = state.FillEnd; index < CellCount; ++index)
        state.GridCells[index].visible = false;

    std::optional<int> rowCount;
    for (int row = 1; row < GridSide; ++row) {
        // A row keeps its labels while it holds text; showing them again
        // matters only after a cut left over from before the last reset.
        const bool holdsText = state.GridCells[CellIndex(row, 0)].caption != AfterTextCaption;
        state.RowNumberLabels[row].visible = holdsText;
        state.RedRowNumberLabels[row].visible = holdsText;
        if (holdsText)
            rowCount = row + 1;
    }
    return rowCount;
}

int EnabledCellCount(const WorkbenchState &state)
{
    return static_cast<int>(std::count_if(state.GridCells.begin(), state.GridCells.end(),
                                          [](const GridCell &cell) { return cell.enabled; }));
}

} // namespace abc
