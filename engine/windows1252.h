#pragma once

#include <string>
#include <string_view>

namespace abc {

// The code page of every text the engine holds, and its crossing from and to
// Unicode, one character at a time.

// A character that Windows-1252 cannot hold becomes this byte, which the code
// page leaves undefined: no rule keeps it and no key letter matches it.
inline constexpr char UnmappableByte = '\x81';

// The byte of a Unicode code point, or UnmappableByte.
char Windows1252Byte(char32_t codePoint);

// The code point of a byte; U+FFFD for the five bytes the code page leaves
// undefined.
char32_t Windows1252CodePoint(char byte);

// UTF-8 text as Windows-1252 bytes, one byte per character; every byte of a
// malformed sequence becomes UnmappableByte. Characters are taken as they
// come: a letter followed by a combining accent stays two characters.
std::string Utf8ToWindows1252(std::string_view utf8);

} // namespace abc
