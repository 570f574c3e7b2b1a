#include <gtest/gtest.h>

#include "engine_test_support.h"

using namespace abc;
using namespace abc::test;

namespace {

// A key of `columns` columns leaves its columns enabled and visible with the
// captions they had `before`, and the rest ".", hidden and disabled.
void ExpectKeyed(const WorkbenchState &state, const WorkbenchState &before, std::string_view key, int columns)
{
    for (int c = 0; c < GridSide; ++c) {
        const bool inKey = c < columns;
        EXPECT_EQ(state.KeyLetterLabels[c].visible, inKey) << "column " << c;
        EXPECT_EQ(state.ColumnNumberLabels[c].visible, inKey) << "column " << c;
        EXPECT_EQ(state.KeyLetterLabels[c].caption, inKey ? std::string(1, key[c]) : before.KeyLetterLabels[c].caption);
        int wrongCells = 0;
        for (int r = 0; r < GridSide; ++r) {
            const GridCell &cell = state.GridCells[CellIndex(r, c)];
            const char caption = inKey ? before.GridCells[CellIndex(r, c)].caption : '.';
            wrongCells += cell.caption != caption || cell.visible != inKey || cell.enabled != inKey;
        }
        EXPECT_EQ(wrongCells, 0) << "column " << c;
    }
}

} // namespace

TEST(Grid, BuildShowsTheSamePlaceholdersEveryTimeAllVisibleAndDisabled)
{
    WorkbenchState state, again;
    BuildGrid(state);
    BuildGrid(again);
    EXPECT_EQ(Captions(state).substr(0, 45), "AAWFHRIEJLCMBVBHXJUISVSHEIMGVHMDWHUZMXVADDNAP");
    EXPECT_EQ(Captions(state), Captions(again));
    EXPECT_TRUE(std::ranges::all_of(state.GridCells, [](const GridCell &cell) {
        return cell.visible && !cell.enabled && cell.caption >= 'A' && cell.caption <= 'Z';
    }));
    for (const LabelArray *labels : {&state.ColumnNumberLabels, &state.KeyLetterLabels, &state.RowNumberLabels,
                                     &state.RedRowNumberLabels})
        for (int i = 0; i < GridSide; ++i)
            EXPECT_TRUE((*labels)[i].caption == std::to_string(i + 1) && (*labels)[i].visible) << "label " << i;
}

TEST(Grid, ResetDrawsNewLettersShowsEverythingAndKeepsTheKeyColumnsEnabled)
{
    WorkbenchState state = CutGrid("ABCDE", "ABCDEFGHIJKL");
    state.RowNumberLabels[0].caption = state.ColumnNumberLabels[7].caption = state.RedRowNumberLabels[44].caption = "x";
    ResetGrid(state);
    EXPECT_EQ(Captions(state).substr(0, 10), "NMAWGHRTFM");
    for (int index = 0; index < CellCount; ++index) {
        const GridCell &cell = state.GridCells[index];
        ASSERT_TRUE(cell.visible && cell.caption >= 'A' && cell.caption <= 'Z') << "cell " << index;
        ASSERT_EQ(cell.enabled, index % GridSide < 5) << "cell " << index;
    }
    for (int i = 0; i < GridSide; ++i) {
        EXPECT_TRUE(state.KeyLetterLabels[i].caption == std::to_string(i + 1) && state.KeyLetterLabels[i].visible);
        EXPECT_TRUE(state.ColumnNumberLabels[i].visible && state.RowNumberLabels[i].visible &&
                    state.RedRowNumberLabels[i].visible) << i;
    }
    EXPECT_EQ(state.RowNumberLabels[0].caption + state.ColumnNumberLabels[7].caption +
                  state.RedRowNumberLabels[44].caption, "xxx");
}

TEST(KeyFilter, PassesCapitalsDigitsAndBackspaceRaisesSmallLettersSwallowsTheRest)
{
    const std::pair<int, int> passing[] = {{'a', 'A'}, {'k', 'K'}, {'z', 'Z'}, {'A', 'A'}, {'Q', 'Q'},
                                           {'Z', 'Z'}, {'0', '0'}, {'5', '5'}, {'9', '9'}, {8, 8}};
    for (const auto &[code, expected] : passing)
        EXPECT_EQ(FilterKeyChar(code), expected) << "code " << code;
    const int swallowed[] = {' ', 0xC4, 0xE4, 0xD6, 0xFC, 0xDF, '-', '.', ',', '!', '?', '/', ':',
                             '@', '[', '`', '{', 0,    7,    9,    10,   13,   27,  31,  127};
    for (const int code : swallowed)
        EXPECT_EQ(FilterKeyChar(code), 0) << "code " << code;
    int passed = 0, highestPassed = 0;
    for (int code = 0; code < 256; ++code) {
        if (FilterKeyChar(code) != 0) {
            ++passed;
            highestPassed = code;
        }
    }
    EXPECT_EQ(passed, 26 + 26 + 10 + 1);
    EXPECT_EQ(highestPassed, 'z');
}

TEST(ColumnKey, KeysOfEveryShapeLabelEnableAndHideTheirColumns)
{
    const std::pair<std::string, int> table[] = {{"KIRSCHBLUETENAST", 16}, {"Q", 1},    {Alphabet(45), 45},
                                                 {"ABAAB", 5}, {"AB1C", 4}, {Alphabet(60), 45}, {"", 0}};
    for (const auto &[key, columns] : table) {
        SCOPED_TRACE("key \"" + key + "\"");
        WorkbenchState state;
        BuildGrid(state);
        const WorkbenchState before = state;
        EXPECT_EQ(ApplyColumnKey(state, key), columns);
        ExpectKeyed(state, before, key, columns);
        EXPECT_EQ(EnabledCellCount(state), GridSide * columns);
    }
}

TEST(ColumnKey, ANewKeyShowsItsColumnsAgainWhateverAnEarlierKeyOrCutLeft)
{
    // After a key of 10 and a 12-letter text cut at cell 47: a reset, no
    // reset, or a reset followed by a cut left over from before it.
    for (const std::string path : {"reset", "no reset", "reset then cut"}) {
        SCOPED_TRACE(path);
        WorkbenchState state = CutGrid("ABCDEFGHIJ", "ABCDEFGHIJKL");
        if (path != "no reset")
            ResetGrid(state);
        if (path == "reset then cut")
            CutResidualMatrix(state);
        const WorkbenchState before = state;
        EXPECT_EQ(ApplyColumnKey(state, "KIRSCHBLUETENASTABCD"), 20);
        ExpectKeyed(state, before, "KIRSCHBLUETENASTABCD", 20);
    }
}
