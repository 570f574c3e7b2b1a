#include <gtest/gtest.h>

#include <map>

#include "engine/grouping.h"
#include "engine/substitution.h"
#include "engine/text_cleaning.h"
#include "tests/engine/engine_test_support.h"

using namespace abc;
using namespace abc::test;

namespace {

// The cleaning as a literal scan that rewrites the text in place: 1-based p,
// deleted characters close the gap, inserted words are stepped over.
std::string CleanInPlace(std::string text)
{
    static const std::map<unsigned char, std::string> words = {
        {'0', "NULL"},  {'1', "EINS"},   {'2', "ZWO"},  {'3', "DREI"}, {'4', "VIER"}, {'5', "FUENF"},
        {'6', "SECHS"}, {'7', "SIEBEN"}, {'8', "ACHT"}, {'9', "NEUN"}, {0xC4, "AE"},  {0xE4, "AE"},
        {0xD6, "OE"},   {0xF6, "OE"},    {0xDC, "UE"},  {0xFC, "UE"},  {0xDF, "SZ"}};
    std::size_t p = 1;
    while (p <= text.size()) {
        auto code = static_cast<unsigned char>(text[p - 1]);
        if (code >= 'a' && code <= 'z')
            text[p - 1] = static_cast<char>(code -= 32);
        if (const auto word = words.find(code); word != words.end()) {
            text.replace(p - 1, 1, word->second);
            p += word->second.size();
        } else if (code >= 'A' && code <= 'Z') {
            ++p;
        } else {
            text.erase(p - 1, 1);
        }
    }
    return text;
}

} // namespace

TEST(Cleaning, KeepsCapitalsRaisesSmallLettersSpellsOutDigitsAndUmlauts)
{
    const std::pair<std::string_view, std::string_view> table[] = {
        {"Ab c", "ABC"},
        {"AB\r\nCD", "ABCD"},
        {"x1y", "XEINSY"},
        {"1980", "EINSNEUNACHTNULL"},
        {"2a", "ZWOA"},
        {"22", "ZWOZWO"},
        {"2 b", "ZWOB"},
        {"Caf\xE9", "CAF"},
        {" 7", "SIEBEN"},
        {"\xD6l f\xFCr Stra\xDF"
         "e",
         "OELFUERSTRASZE"},
        {"\xE4\xF6\xFC", "AEOEUE"},
        {"\xC4\xD6\xDC\xDF", "AEOEUESZ"},
        {"0123456789", "NULLEINSZWODREIVIERFUENFSECHSSIEBENACHTNEUN"},
        {"  \r\n \n\r\n ", ""},
        {"\t-.,;:!?()\"'", ""},
        {"\xC0\xC9\xE0\xFF\x80\xA0", ""},
        {"", ""}};
    for (const auto &[input, expected] : table)
        EXPECT_EQ(CleanInputText(input), expected) << "input \"" << input << '"';
}

TEST(Cleaning, AgreesWithTheInPlaceScanOnEveryByteAndOnRandomTexts)
{
    std::string everyByte;
    for (int code = 0; code < 256; ++code) {
        const std::string single(1, static_cast<char>(code));
        EXPECT_EQ(CleanInputText(single), CleanInPlace(single)) << "code " << code;
        everyByte += single;
    }
    const std::string cleaned = CleanInputText(everyByte);
    EXPECT_EQ(cleaned.find_first_not_of(Capitals), std::string::npos) << cleaned;
    EXPECT_EQ(cleaned, CleanInPlace(everyByte));

    // Half of the bytes from the characters the scan treats specially.
    const std::string special = "aAzZ0129 \r\n\xC4\xE4\xD6\xF6\xDC\xFC\xDF\xE9-";
    std::mt19937 random(20240611u);
    for (int round = 0; round < 3000; ++round) {
        std::string text = RandomText(random, random() % 41, special);
        for (char &ch : text)
            ch = random() % 2 ? ch : static_cast<char>(random() % 256);
        ASSERT_EQ(CleanInputText(text), CleanInPlace(text)) << "round " << round;
    }
}

TEST(Substitution, ShiftsBackByTheCycleOfTheMethodFromTheFirstLetterOfEveryRun)
{
    const std::tuple<CipherMethod, std::string_view, std::string_view> table[] = {
        {CipherMethod::ABC, "AAAAAA", "AZYAZY"},
        {CipherMethod::ABCD, "AAAAAAAA", "AZYXAZYX"},
        {CipherMethod::ABC, "ABCABC", "AAAAAA"},
        {CipherMethod::ABCD, "DDDD", "DCBA"},
        {CipherMethod::ABC, "ZZZZ", "ZYXZ"},
        {CipherMethod::ABCD, "BCDEFGH", "BBBBFFF"},
        {CipherMethod::ABC, " ", ":"},
        {CipherMethod::ABC, "", ""},
        {CipherMethod::ABCD, "", ""}};
    WorkbenchState state;
    for (const auto &[method, text, expected] : table) {
        // Runs one after the other, each leaving its cursor and counter behind.
        EXPECT_EQ(ShiftTextBack(state, text, method), expected) << '"' << text << '"';
        EXPECT_EQ(state.TextCursor, static_cast<int>(text.size()) + 1) << '"' << text << '"';
    }
    const std::string abc = ShiftTextBack(state, "QWERTYUIOP", CipherMethod::ABC);
    const std::string abcd = ShiftTextBack(state, "QWERTYUIOP", CipherMethod::ABCD);
    EXPECT_EQ(ShiftTextBack(state, "QWERTYUIOP", CipherMethod::ABC), abc);
    EXPECT_EQ(abc.substr(0, 4), "QVCR");
    EXPECT_EQ(abcd.substr(0, 4), "QVCO");
}

TEST(Grouping, SplitsIntoFivesWithSingleSpacesBetween)
{
    const std::pair<std::string_view, std::string_view> table[] = {{"ABCDEFGHIJKL", "ABCDE FGHIJ KL"},
                                                                   {"ABCDEFGHIJ", "ABCDE FGHIJ"},
                                                                   {"ABCDEF", "ABCDE F"},
                                                                   {"ABCDE", "ABCDE"},
                                                                   {"A", "A"},
                                                                   {"", ""}};
    for (const auto &[text, expected] : table)
        EXPECT_EQ(GroupInFives(text), expected);
}
