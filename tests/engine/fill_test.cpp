#include <gtest/gtest.h>

#include "tests/engine/engine_test_support.h"

using namespace abc;
using namespace abc::test;

TEST(FillAndCut, SevenLettersUnderThreeColumns)
{
    WorkbenchState state = KeyedGrid("KEY");
    EXPECT_EQ(FillGrid(state, "ABCDEFG"), 7);
    EXPECT_EQ(state.FillEnd, 91);
    const std::string dots(42, '.');
    EXPECT_EQ(Captions(state), Rows("ABC" + dots + "DEF" + dots + "G" + std::string(CellCount - 91, '?')));
    EXPECT_EQ(CutResidualMatrix(state), 3);
    EXPECT_EQ(DumpGrid(state), Picture({"ABC", "DEF", "G"}));
    EXPECT_EQ(LabelRow(state.RowNumberLabels) + LabelRow(state.RedRowNumberLabels), Numbered(3) + Numbered(3));
}

// Key columns k, text length L: letter n lands in row n div k, column n mod
// k, as far as the 45 k enabled cells go.
class FillAndCutTable : public testing::TestWithParam<std::pair<int, int>>
{
};

TEST_P(FillAndCutTable, PlacesTheTextRowByRowAndCutsRightAfterIt)
{
    const auto [k, length] = GetParam();
    std::mt19937 random(static_cast<unsigned>(k * 4096 + length));
    const std::string text = RandomText(random, length);
    WorkbenchState state = KeyedGrid(Alphabet(k));
    const int placed = std::min(length, GridSide * k);
    EXPECT_EQ(FillGrid(state, text), placed);
    const int fillEnd = placed == 0 ? 0 : (placed - 1) / k * GridSide + (placed - 1) % k + 1;
    EXPECT_EQ(state.FillEnd, fillEnd);

    std::string captions(CellCount, '?'), shown(CellCount, ' ');
    for (int index = 0; index < CellCount; ++index) {
        const int column = index % GridSide, n = index / GridSide * k + column;
        if (column < k && n < placed)
            captions[index] = shown[index] = text[n];
        else if (index < fillEnd)
            captions[index] = '.';
    }
    EXPECT_EQ(Captions(state), Rows(captions));

    const int rows = placed == 0 ? 1 : (placed - 1) / k + 1;
    EXPECT_EQ(CutResidualMatrix(state), rows > 1 ? std::optional(rows) : std::nullopt);
    EXPECT_EQ(DumpGrid(state), Rows(shown));
    EXPECT_EQ(LabelRow(state.RowNumberLabels) + LabelRow(state.RedRowNumberLabels), Numbered(rows) + Numbered(rows));
}

// Over the grid: a text longer than the key columns hold, and a key without columns.
INSTANTIATE_TEST_SUITE_P(KeyColumnsAndTextLength, FillAndCutTable,
                         testing::Values(std::pair{3, 7}, std::pair{5, 2}, std::pair{1, 1}, std::pair{1, 45},
                                         std::pair{45, 1}, std::pair{45, 45}, std::pair{45, 46}, std::pair{45, 2025},
                                         std::pair{3, 0}, std::pair{16, 100}, std::pair{7, 315}, std::pair{10, 11},
                                         std::pair{44, 1000}, std::pair{2, 90}, std::pair{13, 26}, std::pair{16, 17},
                                         std::pair{1, 50}, std::pair{3, 140}, std::pair{45, 2030}, std::pair{0, 3}));
