#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "grouping.h"
#include "input_text.h"
#include "substitution.h"

using namespace abc;

namespace {

// The cleaning as a literal scan that rewrites the text in place: 1-based p,
// deleted characters close the gap, inserted words are stepped over.
std::string CleanInPlace(std::string text)
{
    static const std::map<unsigned char, std::string> words = {
        {'0', "NULL"}, {'1', "EINS"}, {'2', "ZWO"}, {'3', "DREI"},   {'4', "VIER"},
        {'5', "FUENF"}, {'6', "SECHS"}, {'7', "SIEBEN"}, {'8', "ACHT"}, {'9', "NEUN"},
        {0xC4, "AE"}, {0xE4, "AE"}, {0xD6, "OE"}, {0xF6, "OE"}, {0xDC, "UE"}, {0xFC, "UE"}, {0xDF, "SZ"}};
    std::size_t p = 1;
    while (p <= text.size()) {
        auto code = static_cast<unsigned char>(text[p - 1]);
        if (code >= 'a' && code <= 'z')
            text[p - 1] = static_cast<char>(code -= 32);
        const auto word = words.find(code);
        if (word != words.end()) {
            text.erase(p - 1, 1);
            text.insert(p - 1, word->second);
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
        {"\xD6l f\xFCr Stra\xDF" "e", "OELFUERSTRASZE"},
        {"Caf\xE9", "CAF"},
        {" 7", "SIEBEN"},
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
    EXPECT_TRUE(std::ranges::all_of(cleaned, [](char ch) { return ch >= 'A' && ch <= 'Z'; })) << cleaned;
    EXPECT_EQ(cleaned, CleanInPlace(everyByte));

    // Half of the bytes from the characters the scan treats specially.
    const std::string special = "aAzZ0129 \r\n\xC4\xE4\xD6\xF6\xDC\xFC\xDF\xE9-";
    std::mt19937 random(20240611u);
    for (int round = 0; round < 3000; ++round) {
        std::string text(std::uniform_int_distribution<std::size_t>(0, 40)(random), '\0');
        for (char &ch : text)
            ch = random() % 2 ? special[random() % special.size()] : static_cast<char>(random() % 256);
        ASSERT_EQ(CleanInputText(text), CleanInPlace(text)) << "round " << round;
    }
}

TEST(Substitution, ShiftsBackByTheCycleOfTheMethod)
{
    struct Case {
        CipherMethod method;
        std::string_view text, expected;
    };
    const Case table[] = {{CipherMethod::ABC, "AAAAAA", "AZYAZY"},   {CipherMethod::ABCD, "AAAAAAAA", "AZYXAZYX"},
                          {CipherMethod::ABC, "ABCABC", "AAAAAA"},   {CipherMethod::ABCD, "DDDD", "DCBA"},
                          {CipherMethod::ABC, "ZZZZ", "ZYXZ"},       {CipherMethod::ABCD, "BCDEFGH", "BBBBFFF"},
                          {CipherMethod::ABC, " ", ":"},             {CipherMethod::ABC, "", ""},
                          {CipherMethod::ABCD, "", ""}};
    for (const auto &[method, text, expected] : table) {
        WorkbenchState state;
        state.TextCursor = 99;
        state.ShiftCounter = 2;
        EXPECT_EQ(ShiftTextBack(state, text, method), expected) << '"' << text << '"';
        EXPECT_EQ(state.TextCursor, static_cast<int>(text.size()) + 1) << '"' << text << '"';
    }
}

TEST(Substitution, EveryRunStartsTheCycleAfresh)
{
    WorkbenchState state;
    const std::string abc = ShiftTextBack(state, "QWERTYUIOP", CipherMethod::ABC);
    ShiftTextBack(state, "XYZ", CipherMethod::ABCD); // leaves the counter at the end of a cycle
    EXPECT_EQ(ShiftTextBack(state, "QWERTYUIOP", CipherMethod::ABC), abc);
    const std::string abcd = ShiftTextBack(state, "QWERTYUIOP", CipherMethod::ABCD);
    EXPECT_EQ(abc.substr(0, 3), abcd.substr(0, 3));
    EXPECT_EQ(abc[3], 'R');
    EXPECT_EQ(abcd[3], 'O');
}

TEST(Grouping, SplitsIntoFivesWithSingleSpacesBetween)
{
    const std::pair<std::string_view, std::string_view> table[] = {
        {"ABCDEFGHIJKL", "ABCDE FGHIJ KL"}, {"ABCDEFGHIJ", "ABCDE FGHIJ"}, {"ABCDEF", "ABCDE F"},
        {"ABCDE", "ABCDE"}, {"A", "A"}, {"", ""}};
    for (const auto &[text, expected] : table)
        EXPECT_EQ(GroupInFives(text), expected);
}
