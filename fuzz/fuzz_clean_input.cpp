// CleanInputText against a literal reading of the in-place scan: a 1-based
// position p walks a text that shrinks and grows under it.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "engine/text_cleaning.h"
#include "fuzz/fuzz_check.h"

namespace {

// The longest input tried; the scan below is quadratic.
constexpr std::size_t MaxInput = 4096;

const char *WordFor(unsigned char code)
{
    switch (code) {
    case '0':
        return "NULL";
    case '1':
        return "EINS";
    case '2':
        return "ZWO";
    case '3':
        return "DREI";
    case '4':
        return "VIER";
    case '5':
        return "FUENF";
    case '6':
        return "SECHS";
    case '7':
        return "SIEBEN";
    case '8':
        return "ACHT";
    case '9':
        return "NEUN";
    case 0xC4:
    case 0xE4:
        return "AE"; // Ä ä
    case 0xD6:
    case 0xF6:
        return "OE"; // Ö ö
    case 0xDC:
    case 0xFC:
        return "UE"; // Ü ü
    case 0xDF:
        return "SZ"; // ß
    default:
        return nullptr;
    }
}

bool IsCapital(unsigned char code)
{
    return code >= 'A' && code <= 'Z';
}

bool IsKept(unsigned char code)
{
    return IsCapital(code) || (code >= 'a' && code <= 'z') || WordFor(code) != nullptr;
}

std::string ScanInPlace(std::string text)
{
    std::size_t p = 1;
    while (p <= text.size()) {
        auto code = static_cast<unsigned char>(text[p - 1]);
        if (code >= 'a' && code <= 'z') {
            code = static_cast<unsigned char>(code - 32);
            text[p - 1] = static_cast<char>(code);
        }
        if (!IsKept(code)) {
            text.erase(p - 1, 1); // the next character moves into p
        } else if (const char *word = WordFor(code)) {
            text.replace(p - 1, 1, word);
            p += std::strlen(word); // an inserted word is not scanned again
        } else {
            ++p;
        }
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > MaxInput)
        return 0;
    const std::string input(reinterpret_cast<const char *>(data), size);

    const std::string clean = abc::CleanInputText(input);
    for (const char ch : clean)
        FUZZ_REQUIRE(IsCapital(static_cast<unsigned char>(ch)));
    FUZZ_REQUIRE(clean == ScanInPlace(input));
    return 0;
}
