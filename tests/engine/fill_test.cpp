#include <gtest/gtest.h>

#include "engine_test_support.h"

using namespace abc;
using namespace abc::test;

TEST(FillAndCut, SevenLettersUnderThreeColumns)
{
    WorkbenchState state = KeyedGrid("KEY");
    EXPECT_EQ(FillGrid(state, "ABCDEFG"), 7);
    EXPECT_EQ(state.FillEnd, 91);
    const std::string dots(42, '.');
    EXPECT_EQ(Captions(state), "ABC" + dots + "DEF" + dots + "G" + std::string(CellCount - 91, '?'));
    EXPECT_EQ(CutResidualMatrix(state), 3);
    const std::string blanks(44, ' ');
    EXPECT_EQ(DumpGrid(state).substr(0, 3 * 46),
              "ABC" + blanks.substr(2) + "\nDEF" + blanks.substr(2) + "\nG" + blanks + '\n');
    EXPECT_EQ(DumpGrid(state).find_first_not_of(" \n", 3 * 46), std::string::npos); // rows 3 to 44 hidden
}

// Key columns k, text length L: letter n lands in row n div k, column n mod k.
class FillAndCutTable : public testing::TestWithParam<std::pair<int, int>> {};

TEST_P(FillAndCutTable, PlacesTheTextRowByRowAndCutsRightAfterIt)
{
    const auto [k, length] = GetParam();
    std::mt19937 random(static_cast<unsigned>(k * 4096 + length));
    const std::string text = RandomText(random, length);
    WorkbenchState state = KeyedGrid(Alphabet(k));
    EXPECT_EQ(FillGrid(state, text), length);
    const int fillEnd = length == 0 ? 0 : (length - 1) / k * GridSide + (length - 1) % k + 1;
    EXPECT_EQ(state.FillEnd, fillEnd);

    std::string captions(CellCount, '?'), dump;
    for (int index = 0; index < CellCount; ++index) {
        const int column = index % GridSide, n = index / GridSide * k + column;
        const bool holdsText = column < k && n < length;
        if (holdsText || index < fillEnd)
            captions[index] = holdsText ? text[n] : '.';
        dump += std::string(1, holdsText ? text[n] : ' ') + (column == GridSide - 1 ? "\n" : "");
    }
    EXPECT_EQ(FirstDifference(Captions(state), captions), -1);

    const int rows = length == 0 ? 1 : (length - 1) / k + 1;
    EXPECT_EQ(CutResidualMatrix(state), rows > 1 ? std::optional(rows) : std::nullopt);
    EXPECT_EQ(FirstDifference(DumpGrid(state), dump), -1);
    for (int row = 0; row < GridSide; ++row) {
        EXPECT_EQ(state.RowNumberLabels[row].visible, row < rows) << row;
        EXPECT_EQ(state.RedRowNumberLabels[row].visible, row < rows) << row;
    }
}

INSTANTIATE_TEST_SUITE_P(KeyColumnsAndTextLength, FillAndCutTable,
                         testing::Values(std::pair{3, 7}, std::pair{5, 2}, std::pair{1, 1}, std::pair{1, 45},
                                         std::pair{45, 1}, std::pair{45, 45}, std::pair{45, 46}, std::pair{45, 2025},
                                         std::pair{3, 0}, std::pair{16, 100}, std::pair{7, 315}, std::pair{10, 11},
                                         std::pair{44, 1000}, std::pair{2, 90}, std::pair{13, 26}, std::pair{16, 17}));

TEST(Fill, ATextLongerThanTheKeyColumnsStopsAtTheLastEnabledCell)
{
    for (const int k : {1, 3, 45}) {
        SCOPED_TRACE(testing::Message() << k << " key columns");
        const std::string text = Alphabet(GridSide * k + 5);
        WorkbenchState state = KeyedGrid(Alphabet(k));
        EXPECT_EQ(FillGrid(state, text), GridSide * k);
        const int fillEnd = CellIndex(GridSide - 1, k - 1) + 1;
        EXPECT_EQ(state.FillEnd, fillEnd);
        std::string captions;
        for (int index = 0; index < CellCount; ++index) {
            const int column = index % GridSide;
            captions += column < k ? text[index / GridSide * k + column] : index < fillEnd ? '.' : '?';
        }
        EXPECT_EQ(FirstDifference(Captions(state), captions), -1);
    }
}

TEST(Fill, WithoutAnEnabledCellPlacesNothingAndMarksEveryCell)
{
    WorkbenchState fresh;
    BuildGrid(fresh);
    WorkbenchState emptyKey = KeyedGrid("");
    for (WorkbenchState *state : {&fresh, &emptyKey}) {
        EXPECT_EQ(FillGrid(*state, "ABC"), 0);
        EXPECT_EQ(state->FillEnd, 0);
        EXPECT_EQ(FirstDifference(Captions(*state), std::string(CellCount, '?')), -1);
    }
}
