#include "base/windows1252_text.h"

#include <QList>

#include <algorithm>
#include <array>

namespace {

// Code points of 0x80..0x9F; the code page leaves five of them undefined.
constexpr char32_t Undefined = U'\uFFFD';
constexpr std::array<char32_t, 32> HighControlRange = {
    U'\u20AC', Undefined,  U'\u201A', U'\u0192', U'\u201E', U'\u2026', U'\u2020', U'\u2021',
    U'\u02C6', U'\u2030', U'\u0160', U'\u2039', U'\u0152', Undefined,  U'\u017D', Undefined,
    Undefined,  U'\u2018', U'\u2019', U'\u201C', U'\u201D', U'\u2022', U'\u2013', U'\u2014',
    U'\u02DC', U'\u2122', U'\u0161', U'\u203A', U'\u0153', Undefined,  U'\u017E', U'\u0178',
};

char EncodeCodePoint(char32_t codePoint)
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

// The text in composed form, so that a letter typed with a combining accent
// is one character, as the user sees it. Composing a long text in one piece
// takes time that grows with the square of its accents; no ASCII character
// composes with what stands before it, so pieces may end before one.
QString Composed(QStringView text)
{
    constexpr qsizetype PieceLength = 4096;
    QString composed;
    composed.reserve(text.size());
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = std::min(start + PieceLength, text.size());
        while (end < text.size() && text[end].unicode() >= 0x80)
            ++end;
        composed += text.sliced(start, end - start).toString().normalized(QString::NormalizationForm_C);
        start = end;
    }
    return composed;
}

} // namespace

std::string ToWindows1252(QStringView text)
{
    const QString composed = Composed(text);
    std::string bytes;
    bytes.reserve(composed.size());
    for (const char32_t codePoint : composed.toUcs4())
        bytes += EncodeCodePoint(codePoint);
    return bytes;
}

std::string ToWindows1252Lines(QStringView text)
{
    const std::string lines = ToWindows1252(text);
    std::string bytes;
    bytes.reserve(lines.size() + static_cast<std::size_t>(std::count(lines.begin(), lines.end(), '\n')));
    for (const char byte : lines) {
        if (byte == '\n')
            bytes += '\r';
        bytes += byte;
    }
    return bytes;
}

QString FromWindows1252(std::string_view bytes)
{
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        *out++ = (code >= 0x80 && code < 0xA0) ? QChar(static_cast<char16_t>(HighControlRange[code - 0x80]))
                                               : QChar(static_cast<char16_t>(code));
    }
    return text;
}
