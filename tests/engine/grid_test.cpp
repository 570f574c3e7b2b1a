#include <gtest/gtest.h>

#include "engine_test_support.h"

using namespace abc;
using namespace abc::test;

namespace {

void ExpectNumbered(const LabelArray &labels)
{
    for (int i = 0; i < GridSide; ++i) {
        EXPECT_EQ(labels[i].caption, std::to_string(i + 1)) << "label " << i;
        EXPECT_TRUE(labels[i].visible) << "label " << i;
    }
}

// What a key of `columns` columns must leave: key columns enabled and
// visible with their captions from `before`, the rest ".", hidden, disabled.
void ExpectKeyed(const WorkbenchState &state, const WorkbenchState &before, std::string_view key, int columns)
{
    for (int c = 0; c < GridSide; ++c) {
        const bool inKey = c < columns;
        EXPECT_EQ(state.KeyLetterLabels[c].visible, inKey) << "column " << c;
        EXPECT_EQ(state.ColumnNumberLabels[c].visible, inKey) << "column " << c;
        EXPECT_EQ(state.ColumnNumberLabels[c].caption, std::to_string(c + 1));
        if (inKey) {
            EXPECT_EQ(state.KeyLetterLabels[c].caption, std::string(1, key[c])) << "column " << c;
        }
        for (int r = 0; r < GridSide; ++r) {
            const GridCell &cell = state.GridCells[CellIndex(r, c)];
            const char caption = inKey ? before.GridCells[CellIndex(r, c)].caption : '.';
            if (cell.caption != caption || cell.visible != inKey || cell.enabled != inKey) {
                ADD_FAILURE() << "cell row " << r << " column " << c << " is '" << cell.caption
                              << "' visible " << cell.visible << " enabled " << cell.enabled;
                break;
            }
        }
    }
}

} // namespace

TEST(Grid, BuildShowsTheSamePlaceholdersEveryTimeAllVisibleAndDisabled)
{
    WorkbenchState first, second;
    BuildGrid(first);
    BuildGrid(second);
    EXPECT_EQ(DumpedRow(first, 0), "AAWFHRIEJLCMBVBHXJUISVSHEIMGVHMDWHUZMXVADDNAP");
    EXPECT_EQ(DumpGrid(first), DumpGrid(second));
    EXPECT_TRUE(std::ranges::all_of(first.GridCells, [](const GridCell &cell) {
        return cell.visible && !cell.enabled && cell.caption >= 'A' && cell.caption <= 'Z';
    }));
    for (const LabelArray *labels : {&first.ColumnNumberLabels, &first.KeyLetterLabels,
                                     &first.RowNumberLabels, &first.RedRowNumberLabels})
        ExpectNumbered(*labels);
}

TEST(Grid, ResetDrawsNewLettersShowsEverythingAndKeepsTheKeyColumnsEnabled)
{
    WorkbenchState state;
    BuildGrid(state);
    ApplyColumnKey(state, "ABCDE");
    FillGrid(state, "ABCDEFGHIJKL");
    CutResidualMatrix(state);
    state.RowNumberLabels[0].caption = "r";
    state.ColumnNumberLabels[7].caption = "c";
    state.RedRowNumberLabels[44].caption = "x";

    ResetGrid(state);
    EXPECT_EQ(DumpedRow(state, 0).substr(0, 10), "NMAWGHRTFM");
    for (int index = 0; index < CellCount; ++index) {
        const GridCell &cell = state.GridCells[index];
        EXPECT_TRUE(cell.visible) << index;
        EXPECT_EQ(cell.enabled, index % GridSide < 5) << index;
        EXPECT_TRUE(cell.caption >= 'A' && cell.caption <= 'Z') << index;
    }
    ExpectNumbered(state.KeyLetterLabels);
    for (int i = 0; i < GridSide; ++i) {
        EXPECT_TRUE(state.ColumnNumberLabels[i].visible && state.RowNumberLabels[i].visible &&
                    state.RedRowNumberLabels[i].visible) << i;
    }
    EXPECT_EQ(state.RowNumberLabels[0].caption, "r");
    EXPECT_EQ(state.ColumnNumberLabels[7].caption, "c");
    EXPECT_EQ(state.RedRowNumberLabels[44].caption, "x");
}

TEST(KeyFilter, PassesCapitalsDigitsAndBackspaceRaisesSmallLettersSwallowsTheRest)
{
    const std::pair<int, int> table[] = {
        {'a', 'A'}, {'k', 'K'}, {'z', 'Z'}, {'A', 'A'}, {'Q', 'Q'}, {'Z', 'Z'}, {'0', '0'}, {'5', '5'},
        {'9', '9'}, {8, 8},     {' ', 0},   {0xC4, 0},  {0xE4, 0},  {0xD6, 0},  {0xFC, 0},  {0xDF, 0},
        {'-', 0},   {'.', 0},   {',', 0},   {'!', 0},   {'?', 0},   {'/', 0},   {':', 0},   {'@', 0},
        {'[', 0},   {'`', 0},   {'{', 0},   {0, 0},     {7, 0},     {9, 0},     {10, 0},    {13, 0},
        {27, 0},    {31, 0},    {127, 0},   {128, 0},   {200, 0},   {255, 0}};
    for (const auto &[code, expected] : table)
        EXPECT_EQ(FilterKeyChar(code), expected) << "code " << code;

    int passed = 0;
    for (int code = 0; code < 256; ++code) {
        const int result = FilterKeyChar(code);
        if (code >= 123) {
            EXPECT_EQ(result, 0) << "code " << code;
        }
        if (result != 0) {
            ++passed;
            EXPECT_TRUE(result == 8 || (result >= '0' && result <= '9') || (result >= 'A' && result <= 'Z'));
        }
    }
    EXPECT_EQ(passed, 26 + 26 + 10 + 1);
}

TEST(ColumnKey, KeysOfEveryShapeLabelEnableAndHideTheirColumns)
{
    const std::pair<std::string, int> table[] = {
        {"KIRSCHBLUETENAST", 16}, {"Q", 1},    {KeyOfLength(45), 45}, {"ABAAB", 5},
        {"AB1C", 4},              {KeyOfLength(60), 45}, {"", 0}};
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
    const std::string longKey = "KIRSCHBLUETENASTABCD";
    for (const char *path : {"reset", "no reset", "reset then cut"}) {
        SCOPED_TRACE(path);
        WorkbenchState state = CutGrid("ABCDEFGHIJ", "ABCDEFGHIJKL");
        if (std::string_view(path) != "no reset")
            ResetGrid(state);
        if (std::string_view(path) == "reset then cut")
            CutResidualMatrix(state);
        const WorkbenchState before = state;
        EXPECT_EQ(ApplyColumnKey(state, longKey), 20);
        ExpectKeyed(state, before, longKey, 20);
    }
}
