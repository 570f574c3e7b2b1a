#include <gtest/gtest.h>

#include "engine/cipher.h"
#include "engine/decoding_steps.h"
#include "engine/substitution.h"
#include "engine/text_cleaning.h"
#include "tests/engine/engine_test_support.h"

using namespace abc;
using namespace abc::test;

TEST(Decoding, UndoesTheCipherForRandomKeysAndTexts)
{
    const unsigned seed = 1917u;
    std::mt19937 random(seed);
    for (int round = 0; round < 300; ++round) {
        const int k = round % 20 == 0 ? 45 : 1 + static_cast<int>(random() % 45);
        const std::string key = RandomText(random, k, round % 5 == 0 ? "ABC" : Capitals); // often repeated letters
        const int length = round % 10 == 0 ? GridSide * k : 1 + static_cast<int>(random() % (GridSide * k));
        const std::string plain = RandomText(random, length);
        for (const CipherMethod method : {CipherMethod::ABC, CipherMethod::ABCD}) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << ", round " << round << ", key " << key << ", length "
                                            << length << ", period " << ShiftPeriod(method));
            WorkbenchState state = KeyedGrid(key);
            const std::string clean = CleanInputText(EncipherText(plain, key, method));
            ASSERT_EQ(FillGrid(state, clean), length);
            CutResidualMatrix(state);
            WriteKeyColumns(state, clean);
            ASSERT_EQ(ShiftTextBack(state, ReadGridRows(state), method), plain);
        }
    }
}

// The steps as the window runs them: TextCursor counts every cleaned letter
// until a substitution sets it; an empty input keeps the text of before.
TEST(Decoding, StepsKeepTheirTextsAndCounters)
{
    WorkbenchState state = KeyedGrid("AB");
    EXPECT_TRUE(CleanInput(state, "").inputWasEmpty);
    EXPECT_EQ(Captions(state), Rows(std::string(CellCount, '?')));
    CutResidualMatrix(state); // hides every cell; the capacity counts the enabled ones
    const CleaningResult result = CleanInput(state, Alphabet(100) + "\r\n1");
    EXPECT_EQ(std::tuple(result.inputWasEmpty, result.placed, result.capacity), std::tuple(false, 90, 90));
    EXPECT_EQ(CleanInput(state, "x y\r\nz").placed, 3);
    EXPECT_EQ(std::tuple(state.CleanText, state.TextCount, state.TextCursor), std::tuple("XYZ", 3, 104 + 3));

    ResetGrid(state);
    ApplyColumnKey(state, "ABC");
    EXPECT_TRUE(CleanInput(state, "").inputWasEmpty);
    EXPECT_EQ(std::tuple(state.CleanText, state.TextCount, state.TextCursor), std::tuple("XYZ", 0, 107));
    EXPECT_EQ(DumpGrid(state).substr(0, 46), "XYZ" + std::string(42, ' ') + '\n');
    CutResidualMatrix(state);
    EXPECT_EQ(Shown(Transpose(state)).first, "1 2 3 ");
    Substitute(state, CipherMethod::ABCD);
    EXPECT_EQ(std::tuple(state.TranspositionText, state.SubstitutionText, state.TextCursor),
              std::tuple("XYZ", "XXX", 4));
    ClearInput(state);
    EXPECT_EQ(state.CleanText, "");
}

TEST(Decoding, ACutLeftOverFromBeforeAResetLosesNoLetters)
{
    const std::string text = "DERKAISERKOMMTMORGENNACHBERLIN";
    for (const bool cutAfterTheNewKey : {false, true}) {
        SCOPED_TRACE(cutAfterTheNewKey ? "left-over cut after the new key" : "left-over cut before the new key");
        WorkbenchState state = KeyedGrid("ABCDEFGHIJ");
        FillGrid(state, "ABCDEFGHIJ");
        ResetGrid(state);
        if (!cutAfterTheNewKey)
            CutResidualMatrix(state);
        ApplyColumnKey(state, "KIRSCHBLUETENASTWELT");
        if (cutAfterTheNewKey)
            CutResidualMatrix(state);
        ASSERT_EQ(FillGrid(state, text), 30);
        EXPECT_EQ(CutResidualMatrix(state), 2);
        WriteKeyColumns(state, text);
        EXPECT_TRUE(SameLetters(ReadGridRows(state), text)) << ReadGridRows(state);
    }
}
