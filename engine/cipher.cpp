#include "engine/cipher.h"

#include "engine/matrix_shape.h"

namespace abc {

std::string EncipherText(std::string_view plainText, std::string_view key, CipherMethod method)
{
    const int period = ShiftPeriod(method);
    std::string shifted(plainText);
    for (std::size_t i = 0; i < shifted.size(); ++i)
        shifted[i] = static_cast<char>('A' + (shifted[i] - 'A' + static_cast<int>(i % period)) % 26);

    std::string cipherText;
    cipherText.reserve(shifted.size());
    for (const int column : KeyColumnOrder(key)) {
        for (std::size_t i = static_cast<std::size_t>(column); i < shifted.size(); i += key.size())
            cipherText += shifted[i];
    }
    return cipherText;
}

std::string DecipherWithOrder(std::string_view cipherText, const ColumnOrder &order, CipherMethod method)
{
    const int columns = static_cast<int>(order.size());
    const int length = static_cast<int>(cipherText.size());
    if (columns == 0)
        return std::string(cipherText);
    const MatrixShape shape = MatrixShape::Of(length, columns);
    const int period = ShiftPeriod(method);

    std::string plain(cipherText.size(), ' ');
    int start = 0;
    for (const int column : order) {
        const int height = shape.height(column);
        for (int row = 0; row < height && start + row < length; ++row) {
            const int position = row * columns + column;
            if (position >= length)
                break;
            const int letter = (cipherText[start + row] - 'A' - position % period + 26) % 26;
            plain[position] = static_cast<char>('A' + letter);
        }
        start += height;
    }
    return plain;
}

} // namespace abc
