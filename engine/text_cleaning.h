#pragma once

#include <string>
#include <string_view>

namespace abc {

// Capitals A-Z only: small letters are raised, digits and umlauts spelled
// out ("2" -> "ZWO", "ß" -> "SZ"), everything else dropped. Input and output
// are Windows-1252 bytes.
std::string CleanInputText(std::string_view text);

} // namespace abc
