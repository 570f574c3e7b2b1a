#include "engine/windows1252.h"

#include <algorithm>
#include <array>

namespace abc {

namespace {

// Code points of 0x80..0x9F; the code page leaves five of them undefined.
constexpr char32_t Undefined = U'\uFFFD';
constexpr std::array<char32_t, 32> HighControlRange = {
    U'\u20AC', Undefined, U'\u201A', U'\u0192', U'\u201E', U'\u2026', U'\u2020', U'\u2021',
    U'\u02C6', U'\u2030', U'\u0160', U'\u2039', U'\u0152', Undefined, U'\u017D', Undefined,
    Undefined, U'\u2018', U'\u2019', U'\u201C', U'\u201D', U'\u2022', U'\u2013', U'\u2014',
    U'\u02DC', U'\u2122', U'\u0161', U'\u203A', U'\u0153', Undefined, U'\u017E', U'\u0178',
};

// The length of the UTF-8 sequence at `at` and its code point, or 0 when it
// is malformed (overlong, a surrogate, past U+10FFFF or cut short).
std::size_t DecodeUtf8(std::string_view utf8, std::size_t at, char32_t &codePoint)
{
    const auto lead = static_cast<unsigned char>(utf8[at]);
    const std::size_t length = lead < 0x80 ? 1
        : (lead & 0xE0) == 0xC0            ? 2
        : (lead & 0xF0) == 0xE0            ? 3
        : (lead & 0xF8) == 0xF0            ? 4
                                           : 0;
    if (length == 0 || at + length > utf8.size())
        return 0;
    codePoint = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(utf8[at + i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    constexpr char32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < Smallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

char Windows1252Byte(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<char>(codePoint);
    if (codePoint == Undefined)
        return UnmappableByte;
    const auto *found = std::find(HighControlRange.begin(), HighControlRange.end(), codePoint);
    if (found == HighControlRange.end())
        return UnmappableByte;
    return static_cast<char>(0x80 + (found - HighControlRange.begin()));
}

char32_t Windows1252CodePoint(char byte)
{
    const auto code = static_cast<unsigned char>(byte);
    return code >= 0x80 && code < 0xA0 ? HighControlRange[code - 0x80] : char32_t{code};
}

std::string Utf8ToWindows1252(std::string_view utf8)
{
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        char32_t codePoint = 0;
        const std::size_t length = DecodeUtf8(utf8, at, codePoint);
        bytes += length > 0 ? Windows1252Byte(codePoint) : UnmappableByte;
        at += std::max<std::size_t>(length, 1);
    }
    return bytes;
}

} // namespace abc
