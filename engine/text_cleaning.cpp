#include "engine/text_cleaning.h"

#include <array>
#include <cstring>
#include <string>
#include <string_view>

namespace abc {

namespace {

// What each Windows-1252 code becomes in the cleaned text: a capital, a
// spelled-out word of up to six letters, or nothing. The letters are padded
// to eight bytes so that every code is written with one fixed-size copy.
struct Cleaned {
    std::array<char, 8> letters{};
    std::size_t length = 0;
};

constexpr Cleaned Word(std::string_view word)
{
    Cleaned cleaned;
    for (std::size_t i = 0; i < word.size(); ++i)
        cleaned.letters[i] = word[i];
    cleaned.length = word.size();
    return cleaned;
}

constexpr auto CleanedCodes = [] {
    std::array<Cleaned, 256> cleaned{};
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        cleaned[static_cast<unsigned char>(letter)] = cleaned[static_cast<unsigned char>(letter + 32)] =
            Word(std::string_view(&letter, 1));
    constexpr std::string_view digits[] = {"NULL",  "EINS",  "ZWO",    "DREI", "VIER",
                                           "FUENF", "SECHS", "SIEBEN", "ACHT", "NEUN"};
    for (int digit = 0; digit < 10; ++digit)
        cleaned['0' + digit] = Word(digits[digit]);
    cleaned[0xC4] = cleaned[0xE4] = Word("AE");
    cleaned[0xD6] = cleaned[0xF6] = Word("OE");
    cleaned[0xDC] = cleaned[0xFC] = Word("UE");
    cleaned[0xDF] = Word("SZ");
    return cleaned;
}();

} // namespace

std::string CleanInputText(std::string_view text)
{
    // Inserted words are never examined again, so a single forward pass gives
    // the same result as scanning and rewriting the text in place. The result
    // is sized first, with room for the last padded copy.
    std::size_t length = 0;
    for (const char ch : text)
        length += CleanedCodes[static_cast<unsigned char>(ch)].length;
    std::string clean(length + sizeof(Cleaned::letters), '\0');
    char *out = clean.data();
    for (const char ch : text) {
        const Cleaned &cleaned = CleanedCodes[static_cast<unsigned char>(ch)];
        std::memcpy(out, cleaned.letters.data(), sizeof(Cleaned::letters));
        out += cleaned.length;
    }
    clean.resize(length);
    return clean;
}

} // namespace abc
