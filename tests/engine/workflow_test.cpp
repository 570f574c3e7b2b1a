#include <gtest/gtest.h>

#include <array>

#include "cipher.h"
#include "engine_test_support.h"
#include "substitution.h"

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
            SCOPED_TRACE(testing::Message() << "seed " << seed << ", round " << round << ", key " << key
                                            << ", length " << length << ", period " << ShiftPeriod(method));
            WorkbenchState state = KeyedGrid(key);
            const std::string clean = CleanInputText(EncipherText(plain, key, method));
            ASSERT_EQ(FillGrid(state, clean), length);
            CutResidualMatrix(state);
            WriteKeyColumns(state, clean);
            ASSERT_EQ(ShiftTextBack(state, ReadGridRows(state), method), plain);
        }
    }
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

// Clicks in any order the window's enabled flags allow: set key and reset
// alternate, and a step button left enabled by a reset can be pressed before
// or after the next key.
TEST(Decoding, RandomClickSequencesNeverLoseALetter)
{
    enum Step { SetKey, Clean, Clear, Cut, Transpose, Substitute, Reset, StepCount };
    const unsigned seed = 45u;
    std::mt19937 random(seed);
    for (int sequence = 0; sequence < 500; ++sequence) {
        WorkbenchState state;
        BuildGrid(state);
        std::array<bool, StepCount> enabled{true, false, true, false, false, false, false};
        std::array<int, StepCount> last{-1, -1, -1, -1, -1, -1, -1}; // click of each step's last run
        int keyLength = 0;
        std::string placed, clicks;
        for (int click = 0; click < 30; ++click) {
            auto step = static_cast<Step>(random() % StepCount);
            while (!enabled[step])
                step = static_cast<Step>(random() % StepCount);
            clicks += "KFXCTSR"[step];
            // Key, fill, cut and transposition in this order since the last reset.
            const bool mainPath = step == Transpose && last[Reset] < last[SetKey] && last[SetKey] < last[Clean] &&
                                  last[Clean] < last[Cut];
            // A transposition between the fill and the cut writes letters below
            // the text, which the cut then takes for rows of text.
            const bool labelsFollowText = mainPath && last[Transpose] < last[Clean];
            last[step] = click;
            if (step != Clear)
                enabled[step] = false;
            switch (step) {
            case SetKey:
                keyLength = ApplyColumnKey(state, RandomText(random, 1 + random() % 45));
                clicks += std::to_string(keyLength);
                enabled[Reset] = enabled[Clean] = true;
                break;
            case Clean: {
                const std::string input = RandomText(random, random() % 8 ? random() % 150 : 0, "AXZaxz 023\xC4\xDF\xFC-\r\n");
                if (!input.empty()) // an empty input area: the fill takes the text of before
                    state.CleanText = CleanInputText(input);
                placed = state.CleanText.substr(0, FillGrid(state, state.CleanText));
                clicks += std::to_string(input.size());
                enabled[Clear] = false;
                enabled[Cut] = true;
                break;
            }
            case Clear:
                state.CleanText.clear();
                break;
            case Cut:
                CutResidualMatrix(state);
                enabled[Transpose] = true;
                break;
            case Transpose:
                WriteKeyColumns(state, state.CleanText);
                state.TranspositionText = ReadGridRows(state);
                enabled[Substitute] = true;
                break;
            case Substitute:
                state.SubstitutionText = ShiftTextBack(state, state.TranspositionText, CipherMethod::ABC);
                break;
            default:
                ResetGrid(state);
                enabled[SetKey] = true;
            }
            ASSERT_TRUE(state.FillEnd >= 0 && state.FillEnd <= CellCount) << clicks;
            if (mainPath) {
                ASSERT_TRUE(SameLetters(state.TranspositionText, placed))
                    << "seed " << seed << ", sequence " << sequence << ", clicks " << clicks << "\nplaced   "
                    << placed << "\nread out " << state.TranspositionText;
            }
            for (int row = 1; labelsFollowText && row < GridSide; ++row) {
                const bool holdsText = row * keyLength < static_cast<int>(placed.size());
                ASSERT_EQ(state.RowNumberLabels[row].visible, holdsText) << "row " << row << ", " << clicks;
                ASSERT_EQ(state.RedRowNumberLabels[row].visible, holdsText) << "row " << row << ", " << clicks;
            }
        }
    }
}
