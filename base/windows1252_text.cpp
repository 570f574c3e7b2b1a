#include "base/windows1252_text.h"

#include <QList>

#include <algorithm>

namespace {

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
        bytes += abc::Windows1252Byte(codePoint);
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
        *out++ = QChar(static_cast<char16_t>(abc::Windows1252CodePoint(byte)));
    }
    return text;
}
