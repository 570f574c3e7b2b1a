#include <gtest/gtest.h>

#include <set>

#include "tests/engine/engine_test_support.h"

using namespace abc;
using namespace abc::test;

TEST(Transposition, WritesColumnsInKeyLetterOrderAndReadsRows)
{
    struct Case {
        std::string key, text, numbers, letters, readOut;
    };
    const Case table[] = {
        {"CAB", "ABCDEFG", "2 3 1 ", "A B C ", "EACFBDG"},   // key letters ranked 3, 1, 2
        {"ABA", "ABCDEFG", "1 3 2 ", "A A B ", "AFDBGEC"},   // equal letters left to right
        {"A1", "ABCDE", "1 ", "A ", "ABBDC"},                // column 1 keeps B and D from the fill
        {"DCBAE", "XYZ", "4 3 2 1 5 ", "A B C D E ", "ZYX"}, // columns 3 and 4 have no visible cell
        {"KEY", "", "2 1 3 ", "E K Y ", ""},                 // the cut left nothing visible
    };
    for (const Case &c : table) {
        SCOPED_TRACE("key " + c.key + ", text " + c.text);
        WorkbenchState state = CutGrid(c.key, c.text);
        EXPECT_EQ(Shown(WriteKeyColumns(state, c.text)), std::pair(c.numbers, c.letters));
        EXPECT_EQ(ReadGridRows(state), c.readOut);
    }
    WorkbenchState state = CutGrid("CAB", "ABCDEFG");
    WriteKeyColumns(state, "ABCDEFG");
    EXPECT_EQ(DumpGrid(state), Picture({"EAC", "FBD", "G"}));

    // Re-keyed without a reset, the hidden labels of columns 2 to 4 still carry
    // letters of the longer key: the key ends at the first hidden label.
    state = KeyedGrid("ZYXWV");
    ApplyColumnKey(state, "BA");
    FillGrid(state, "ABCD");
    CutResidualMatrix(state);
    EXPECT_EQ(Shown(WriteKeyColumns(state, "ABCD")).first, "2 1 ");
    EXPECT_EQ(ReadGridRows(state), "CADB");
}

TEST(Transposition, FortyFiveKeyLettersTakeEveryColumnOnce)
{
    const std::string key = "KIRSCHBLUETENASTWELTKRIEGFUNKSPRUCHABCDEFGHIJ";
    std::mt19937 random(45u);
    const std::string text = RandomText(random, CellCount);
    WorkbenchState state = CutGrid(key, text);
    const WriteOrder order = WriteKeyColumns(state, text);
    std::set<int> columns;
    for (const ColumnEntry &entry : order)
        columns.insert(entry.column);
    EXPECT_EQ(order.size(), 45u);
    EXPECT_TRUE(columns.size() == 45 && *columns.begin() == 1 && *columns.rbegin() == 45);
    EXPECT_TRUE(std::ranges::is_sorted(order, {}, [](const ColumnEntry &e) { return std::pair(e.letter, e.column); }));
    EXPECT_TRUE(SameLetters(ReadGridRows(state), text));
}

TEST(Transposition, OnAFreshGridNothingIsWrittenAndEveryCellIsRead)
{
    WorkbenchState state = CutGrid("KEY", "ABCDEFG");
    ResetGrid(state);
    const std::string captions = Captions(state);
    EXPECT_TRUE(WriteKeyColumns(state, "ABCDEFG").empty());
    EXPECT_EQ(Captions(state), captions);
    EXPECT_EQ(Rows(ReadGridRows(state)), captions);
}

TEST(Transposition, MoreVisibleCellsThanLettersNeverReadsPastTheText)
{
    // A reset and a new key without a new cleaning and cut: columns 0 and 1
    // are visible down to row 44 and take 90 letters at most, column 1 first.
    for (const std::size_t length : {4, 100}) {
        SCOPED_TRACE(length);
        const std::string text = Alphabet(length);
        WorkbenchState state = CutGrid("AB", "ABCD");
        ResetGrid(state);
        ApplyColumnKey(state, "BA");
        std::string expected = Captions(state);
        for (std::size_t n = 0; n < std::min<std::size_t>(length, 90); ++n)
            expected[n % 45 * (GridSide + 1) + 1 - n / 45] = text[n];
        EXPECT_EQ(Shown(WriteKeyColumns(state, text)).first, "2 1 ");
        EXPECT_EQ(Captions(state), expected);
    }
}
