#include <gtest/gtest.h>

#include <array>
#include <random>

#include "cipher.h"
#include "engine_test_support.h"
#include "substitution.h"

using namespace abc;
using namespace abc::test;

namespace {

std::string RandomText(std::mt19937 &random, int length, std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ")
{
    std::string text(length, ' ');
    for (char &ch : text)
        ch = alphabet[random() % alphabet.size()];
    return text;
}

int Between(std::mt19937 &random, int low, int high)
{
    return std::uniform_int_distribution(low, high)(random);
}

} // namespace

TEST(Decoding, UndoesTheCipherForRandomKeysAndTexts)
{
    const unsigned seed = 1917u;
    std::mt19937 random(seed);
    for (int round = 0; round < 300; ++round) {
        const int k = round % 20 == 0 ? 45 : Between(random, 1, 45);
        // Every fifth key from a few letters only, so that letters repeat.
        const std::string key = RandomText(random, k, round % 5 == 0 ? "ABC" : "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
        const int length = round % 10 == 0 ? GridSide * k : Between(random, 1, GridSide * k);
        const std::string plain = RandomText(random, length);
        for (const CipherMethod method : {CipherMethod::ABC, CipherMethod::ABCD}) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << ", round " << round << ", key " << key
                                            << ", length " << length << ", method " << ShiftPeriod(method));
            WorkbenchState state;
            BuildGrid(state);
            ApplyColumnKey(state, key);
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
        WorkbenchState state;
        BuildGrid(state);
        ApplyColumnKey(state, "ABCDEFGHIJ");
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
        const std::string readOut = ReadGridRows(state);
        EXPECT_EQ(readOut.size(), text.size()) << readOut;
        EXPECT_TRUE(SameLetters(readOut, text)) << readOut;
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
        int lastReset = -1, lastKey = -1, lastFill = -1, lastCut = -1;
        std::string placed, clicks;
        for (int click = 0; click < 30; ++click) {
            auto step = static_cast<Step>(random() % StepCount);
            while (!enabled[step])
                step = static_cast<Step>(random() % StepCount);
            clicks += "KFXCTSR"[step];
            switch (step) {
            case SetKey: {
                const std::string key = RandomText(random, Between(random, 1, 45));
                clicks += std::to_string(key.size());
                ApplyColumnKey(state, key);
                enabled[SetKey] = false;
                enabled[Reset] = enabled[Clean] = true;
                lastKey = click;
                break;
            }
            case Clean: {
                const int length = random() % 8 == 0 ? 0 : Between(random, 1, 150);
                const std::string input = RandomText(random, length, "ABCXYZabcxyz 0123\xC4\xDF\xFC-\r\n");
                clicks += std::to_string(length);
                if (!input.empty())
                    state.CleanText = CleanInputText(input);
                placed = state.CleanText.substr(0, FillGrid(state, state.CleanText));
                enabled[Clean] = enabled[Clear] = false;
                enabled[Cut] = true;
                lastFill = click;
                break;
            }
            case Clear:
                state.CleanText.clear();
                break;
            case Cut:
                CutResidualMatrix(state);
                enabled[Cut] = false;
                enabled[Transpose] = true;
                lastCut = click;
                break;
            case Transpose:
                WriteKeyColumns(state, state.CleanText);
                state.TranspositionText = ReadGridRows(state);
                enabled[Transpose] = false;
                enabled[Substitute] = true;
                if (lastReset < lastKey && lastKey < lastFill && lastFill < lastCut) {
                    ASSERT_TRUE(SameLetters(state.TranspositionText, placed))
                        << "seed " << seed << ", sequence " << sequence << ", clicks " << clicks
                        << "\nplaced   " << placed << "\nread out " << state.TranspositionText;
                }
                break;
            case Substitute:
                state.SubstitutionText = ShiftTextBack(state, state.TranspositionText, CipherMethod::ABCD);
                enabled[Substitute] = false;
                break;
            case Reset:
                ResetGrid(state);
                enabled[Reset] = false;
                enabled[SetKey] = true;
                lastReset = click;
                break;
            case StepCount:
                break;
            }
            ASSERT_TRUE(state.FillEnd >= 0 && state.FillEnd <= CellCount) << clicks;
        }
    }
}
