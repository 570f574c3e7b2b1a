#include <gtest/gtest.h>

#include <set>

#include "engine_test_support.h"

using namespace abc;
using namespace abc::test;

TEST(Transposition, WritesColumnsInKeyLetterOrderAndReadsRows)
{
    struct Case {
        std::string key, text, numbers, letters, readOut;
    };
    const Case table[] = {
        // key letters ranked 3, 1, 2
        {"CAB", "ABCDEFG", "2 3 1 ", "A B C ", "EACFBDG"},
        // equal letters left to right
        {"ABA", "ABCDEFG", "1 3 2 ", "A A B ", "AFDBGEC"},
        // a digit never matches: column 1 keeps B and D from the fill
        {"A1", "ABCDE", "1 ", "A ", "ABBDC"},
        // shorter than the key: columns 3 and 4 have no visible cell
        {"DCBAE", "XYZ", "4 3 2 1 5 ", "A B C D E ", "ZYX"},
        // nothing left visible after the cut
        {"KEY", "", "2 1 3 ", "E K Y ", ""},
    };
    for (const Case &c : table) {
        SCOPED_TRACE("key " + c.key + ", text " + c.text);
        WorkbenchState state = CutGrid(c.key, c.text);
        const WriteOrder order = WriteKeyColumns(state, c.text);
        EXPECT_EQ(Numbers(order), c.numbers);
        EXPECT_EQ(Letters(order), c.letters);
        EXPECT_EQ(ReadGridRows(state), c.readOut);
    }

    WorkbenchState state = CutGrid("CAB", "ABCDEFG");
    WriteKeyColumns(state, "ABCDEFG");
    EXPECT_EQ(DumpedRow(state, 0).substr(0, 4), "EAC ");
    EXPECT_EQ(DumpedRow(state, 1).substr(0, 4), "FBD ");
    EXPECT_EQ(DumpedRow(state, 2).substr(0, 4), "G   ");
}

TEST(Transposition, FortyFiveKeyLettersTakeEveryColumnOnce)
{
    const std::string key = "KIRSCHBLUETENASTWELTKRIEGFUNKSPRUCHABCDEFGHIJ";
    ASSERT_EQ(key.size(), 45u);
    std::string text(2025, 'A');
    for (std::size_t n = 0; n < text.size(); ++n)
        text[n] = static_cast<char>('A' + n * 7 % 26);
    WorkbenchState state = CutGrid(key, text);
    const WriteOrder order = WriteKeyColumns(state, text);

    std::set<int> columns;
    for (std::size_t i = 0; i < order.size(); ++i) {
        columns.insert(order[i].column);
        EXPECT_EQ(order[i].letter, key[order[i].column - 1]);
        if (i > 0) {
            EXPECT_LT(std::pair(order[i - 1].letter, order[i - 1].column), std::pair(order[i].letter, order[i].column));
        }
    }
    EXPECT_EQ(order.size(), 45u);
    EXPECT_EQ(columns.size(), 45u);
    // Each column holds 45 consecutive letters, top to bottom.
    for (std::size_t i = 0; i < order.size(); ++i) {
        for (int row = 0; row < GridSide; ++row)
            ASSERT_EQ(state.GridCells[CellIndex(row, order[i].column - 1)].caption, text[i * 45 + row]);
    }
    EXPECT_TRUE(SameLetters(ReadGridRows(state), text));
}

TEST(Transposition, OnAFreshGridNothingIsWrittenAndEveryCellIsRead)
{
    WorkbenchState state = CutGrid("KEY", "ABCDEFG");
    ResetGrid(state);
    const std::string captions = Captions(state);
    EXPECT_TRUE(WriteKeyColumns(state, "ABCDEFG").empty());
    EXPECT_EQ(Captions(state), captions);
    EXPECT_EQ(ReadGridRows(state), captions);
}

TEST(Transposition, MoreVisibleCellsThanLettersNeverReadsPastTheText)
{
    // A reset and a new key without a new cleaning and cut: columns 0 and 1
    // are visible down to row 44.
    for (const std::size_t length : {std::size_t{4}, std::size_t{100}}) {
        SCOPED_TRACE(length);
        std::string text(length, 'A');
        for (std::size_t n = 0; n < length; ++n)
            text[n] = static_cast<char>('A' + n % 26);
        WorkbenchState state = CutGrid("AB", "ABCD");
        ResetGrid(state);
        ApplyColumnKey(state, "BA");
        const std::string before = Captions(state);

        EXPECT_EQ(Numbers(WriteKeyColumns(state, text)), "2 1 ");
        for (int row = 0; row < GridSide; ++row) {
            for (int column : {1, 0}) {
                const std::size_t n = (1 - column) * 45 + row;
                const int index = CellIndex(row, column);
                EXPECT_EQ(state.GridCells[index].caption, n < length ? text[n] : before[index])
                    << "row " << row << " column " << column;
            }
        }
    }
}
