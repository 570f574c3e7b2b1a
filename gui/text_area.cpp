#include "gui/text_area.h"

#include <QFontMetricsF>
#include <QPlainTextEdit>
#include <QTextDocument>

#include <algorithm>

namespace {

// Laying out one paragraph takes time that grows faster than its length:
// seconds for a few hundred thousand characters. Longer texts are therefore
// split into paragraphs of LinesPerBlock lines, at places where the layout
// breaks the line anyway, so in a monospace font they look the same.
constexpr qsizetype LongText = 50000;
constexpr int LinesPerBlock = 100;

int CharactersPerLine(const QPlainTextEdit *area)
{
    const QFontMetricsF metrics(area->font());
    const qreal width = area->viewport()->width() - 2 * area->document()->documentMargin();
    return std::max(1, static_cast<int>(width / metrics.horizontalAdvance(QLatin1Char('M'))));
}

// Follows the layout's greedy wrapping at spaces (breaking words longer than
// a line) and turns every LinesPerBlock-th line end into a paragraph end.
QString SplitIntoBlocks(const QString &text, int perLine)
{
    QString blocks;
    blocks.reserve(text.size() + text.size() / (qsizetype{perLine} * LinesPerBlock) + 1);
    qsizetype lineLength = 0;
    int lines = 0;
    const auto endLine = [&](bool atSpace) {
        lineLength = 0;
        if (++lines % LinesPerBlock == 0)
            blocks += QLatin1Char('\n');
        else if (atSpace)
            blocks += QLatin1Char(' ');
    };
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char(' '), start);
        if (end < 0)
            end = text.size();
        QStringView word = QStringView(text).sliced(start, end - start);
        if (start > 0) {
            if (lineLength + 1 + word.size() > perLine) {
                endLine(true);
            } else {
                blocks += QLatin1Char(' ');
                ++lineLength;
            }
        }
        while (lineLength + word.size() > perLine) {
            const qsizetype fits = perLine - lineLength;
            blocks += word.first(fits);
            word = word.sliced(fits);
            endLine(false);
        }
        blocks += word;
        lineLength += word.size();
        start = end + 1;
    }
    return blocks;
}

} // namespace

void ShowText(QPlainTextEdit *area, const QString &text)
{
    // Breaking anywhere gives the same lines as the default for a text
    // without spaces, without the default's cost of looking for word ends.
    // The old text goes first, so that the mode change does not lay it out again.
    area->clear();
    area->setWordWrapMode(text.contains(QLatin1Char(' ')) ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                                          : QTextOption::WrapAnywhere);
    area->setPlainText(text.size() > LongText ? SplitIntoBlocks(text, CharactersPerLine(area)) : text);
}
