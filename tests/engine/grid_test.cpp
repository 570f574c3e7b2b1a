#include <gtest/gtest.h>

#include "tests/engine/engine_test_support.h"

using namespace abc;
using namespace abc::test;

namespace {

// Every cell a shown placeholder letter, every label shown with its number.
void ExpectFresh(const WorkbenchState &state)
{
    EXPECT_EQ(DumpGrid(state), Captions(state));
    EXPECT_EQ(Captions(state).find_first_not_of(std::string(Capitals) + '\n'), std::string::npos);
    for (const LabelArray *labels :
         {&state.ColumnNumberLabels, &state.KeyLetterLabels, &state.RowNumberLabels, &state.RedRowNumberLabels})
        EXPECT_EQ(LabelRow(*labels), Numbered(GridSide));
}

// The dump as a key of `columns` columns leaves it: the columns after the key blank.
std::string KeyedDump(std::string dump, int columns)
{
    for (std::size_t i = 0; i < dump.size(); ++i) {
        if (dump[i] != '\n' && static_cast<int>(i % (GridSide + 1)) >= columns)
            dump[i] = ' ';
    }
    return dump;
}

} // namespace

TEST(Grid, BuildAndResetShowPlaceholderLettersAndNumberedLabels)
{
    WorkbenchState state, again;
    BuildGrid(state);
    BuildGrid(again);
    ExpectFresh(state);
    EXPECT_EQ(Captions(state).substr(0, 45), "AAWFHRIEJLCMBVBHXJUISVSHEIMGVHMDWHUZMXVADDNAP");
    EXPECT_EQ(Captions(state), Captions(again));
    EXPECT_EQ(EnabledCellCount(state), 0);

    // The reset draws the next letters and leaves the last key's columns enabled.
    ApplyColumnKey(state, "ABCDE");
    FillGrid(state, Alphabet(12));
    CutResidualMatrix(state);
    ResetGrid(state);
    ExpectFresh(state);
    EXPECT_EQ(Captions(state).substr(0, 10), "NMAWGHRTFM");
    for (int index = 0; index < CellCount; ++index)
        ASSERT_EQ(state.GridCells[index].enabled, index % GridSide < 5) << "cell " << index;
}

TEST(KeyFilter, PassesCapitalsDigitsAndBackspaceRaisesSmallLettersSwallowsTheRest)
{
    std::string passed; // what codes 0 to 255 insert, in code order
    for (int code = 0; code < 256; ++code) {
        if (const int inserted = FilterKeyChar(code))
            passed += static_cast<char>(inserted);
    }
    EXPECT_EQ(passed, "\b0123456789" + std::string(Capitals) + std::string(Capitals));
}

TEST(ColumnKey, KeysOfEveryShapeLabelEnableAndHideTheirColumns)
{
    // On a fresh grid; or after a key of 10 and a 12-letter text cut at cell
    // 47: a reset, no reset, or a reset followed by a cut left over from before it.
    const std::tuple<std::string, std::string, int> table[] = {{"fresh", "KIRSCHBLUETENAST", 16},
                                                               {"fresh", "Q", 1},
                                                               {"fresh", Alphabet(45), 45},
                                                               {"fresh", "ABAAB", 5},
                                                               {"fresh", "AB1C", 4},
                                                               {"fresh", Alphabet(60), 45},
                                                               {"fresh", "", 0},
                                                               {"reset", "KIRSCHBLUETENASTABCD", 20},
                                                               {"no reset", "KIRSCHBLUETENASTABCD", 20},
                                                               {"reset then cut", "KIRSCHBLUETENASTABCD", 20}};
    for (const auto &[path, key, columns] : table) {
        SCOPED_TRACE(path + ", key \"" + key + "\"");
        WorkbenchState state;
        BuildGrid(state);
        if (path != "fresh")
            state = CutGrid("ABCDEFGHIJ", "ABCDEFGHIJKL");
        if (path.starts_with("reset"))
            ResetGrid(state);
        if (path == "reset then cut")
            CutResidualMatrix(state);
        const std::string before = Captions(state);
        EXPECT_EQ(ApplyColumnKey(state, key), columns);
        EXPECT_EQ(KeyColumns(state), key.substr(0, columns) + std::string(GridSide - columns, '.'));
        EXPECT_EQ(DumpGrid(state), KeyedDump(before, columns));
    }
}
