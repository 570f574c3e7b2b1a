#include "engine/cipher.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace abc {

std::string EncipherText(std::string_view plainText, std::string_view key, CipherMethod method)
{
    const int period = ShiftPeriod(method);
    std::string shifted(plainText);
    for (std::size_t i = 0; i < shifted.size(); ++i)
        shifted[i] = static_cast<char>('A' + (shifted[i] - 'A' + static_cast<int>(i % period)) % 26);

    std::vector<std::size_t> columns(key.size());
    std::iota(columns.begin(), columns.end(), 0);
    std::stable_sort(columns.begin(), columns.end(),
                     [key](std::size_t a, std::size_t b) { return key[a] < key[b]; });

    std::string cipherText;
    cipherText.reserve(shifted.size());
    for (const std::size_t column : columns) {
        for (std::size_t i = column; i < shifted.size(); i += key.size())
            cipherText += shifted[i];
    }
    return cipherText;
}

} // namespace abc
