#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "engine/builtin_keywords.h"
#include "engine/cipher.h"
#include "engine/column_key.h"
#include "tests/engine/engine_test_support.h"

using namespace abc;
using namespace abc::test;

namespace {

// The rules the column order once had besides the search's, which it now
// is: the cipher sorted every key character, the grid's write took the
// letters A to Z wherever the key row showed them.
ColumnOrder SortedColumns(std::string_view key)
{
    ColumnOrder order(key.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [key](int a, int b) { return key[a] < key[b]; });
    return order;
}

// The grid's write took, for each letter A to Z, every key column whose
// label shows it.
ColumnOrder WrittenColumns(std::string_view key)
{
    const WorkbenchState state = KeyedGrid(key);
    ColumnOrder order;
    for (const char letter : Capitals) {
        for (int column = 0; column < GridSide; ++column) {
            const GridLabel &label = state.KeyLetterLabels[column];
            if (label.visible && label.caption == std::string(1, letter))
                order.push_back(column);
        }
    }
    return order;
}

} // namespace

// One rule for all: the grid's write (what the window does with a digit in
// the key) decides; on keys of capitals the cipher's sort agrees.
TEST(ColumnOrder, IsTheOrderTheWindowWritesForEveryKeyAndTheCiphersOnCapitals)
{
    std::vector<std::string> keys = BuiltInKeywords();
    std::mt19937 random(3);
    for (int trial = 0; trial < 200; ++trial)
        keys.push_back(RandomText(random, 1 + random() % 45, trial % 2 ? "AB12" : "ABCZ9"));
    for (const std::string &key : keys) {
        const ColumnOrder order = KeyColumnOrder(key);
        EXPECT_EQ(order, WrittenColumns(key)) << key;
        if (std::all_of(key.begin(), key.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) {
            EXPECT_EQ(order, SortedColumns(key)) << key;
        }
    }
}

TEST(ColumnOrder, KeywordsAndOrdersRoundTripAndTheTranspositionIsUndone)
{
    std::mt19937 random(7);
    for (int trial = 0; trial < 200; ++trial) {
        const auto columns = 2 + random() % 44;
        const std::string key = RandomText(random, columns);
        const ColumnOrder order = KeyColumnOrder(key);
        ASSERT_EQ(order.size(), columns);
        const std::optional<std::string> keyword = KeywordForOrder(order);
        ASSERT_TRUE(keyword) << key;
        EXPECT_EQ(KeyColumnOrder(*keyword), order) << key;

        // Incomplete last rows and both periods.
        const std::string plain = RandomText(random, 20 + random() % 300);
        const CipherMethod method = trial % 2 ? CipherMethod::ABC : CipherMethod::ABCD;
        EXPECT_EQ(DecipherWithOrder(EncipherText(plain, key, method), order, method), plain) << key;
    }
}

TEST(ColumnOrder, AnOrderNeedingMoreThan26LettersHasNoKeyword)
{
    ColumnOrder backwards(27);
    for (int k = 0; k < 27; ++k)
        backwards[k] = 26 - k; // every column left of the one read before it
    EXPECT_FALSE(KeywordForOrder(backwards));
    backwards.pop_back();
    for (int &column : backwards)
        --column;
    EXPECT_EQ(KeywordForOrder(backwards), std::string("ZYXWVUTSRQPONMLKJIHGFEDCBA"));
}
