#include "gui/key_search/traffic.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

#include "base/windows1252_text.h"
#include "engine/grouping.h"
#include "engine/text_cleaning.h"

MessageFile ReadMessageFile(const QString &path)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (info.isDir())
        return {{}, QStringLiteral("„%1“ ist ein Verzeichnis, keine Textdatei.").arg(name)};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("„%1“ lässt sich nicht lesen.").arg(name)};
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(file.readAll());
    if (utf8.hasError() || file.error() != QFileDevice::NoError)
        return {{}, QStringLiteral("„%1“ ist keine Textdatei in UTF-8.").arg(name)};
    std::string letters = abc::CleanInputText(ToWindows1252Lines(text));
    if (letters.empty())
        return {{}, QStringLiteral("„%1“ enthält keine Buchstaben.").arg(name)};
    return {{name, std::move(letters)}, {}};
}

ProbableWords ParseProbableWords(const QString &field, std::size_t longestMessage)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
    ProbableWords result;
    for (const QString &typed : field.split(separators, Qt::SkipEmptyParts)) {
        std::string word = abc::CleanInputText(ToWindows1252(typed));
        if (word.empty()) {
            result.error = QStringLiteral("Das vermutete Wort „%1“ enthält keine Buchstaben.").arg(typed);
            return result;
        }
        if (word.size() > longestMessage) {
            result.error = QStringLiteral("Das vermutete Wort „%1“ ist länger als jede Nachricht.").arg(typed);
            return result;
        }
        result.words.push_back(std::move(word));
    }
    return result;
}

QString ReadingsText(const abc::search::Candidate &candidate, const std::vector<QString> &labels)
{
    QStringList lines;
    const std::size_t count = std::min(candidate.messages.size(), labels.size());
    for (std::size_t index = 0; index < count; ++index) {
        const abc::search::MessageReading &reading = candidate.messages[index];
        lines << labels[index]
                + (reading.readsAsGerman ? QStringLiteral(":") : QStringLiteral(" (liest sich nicht deutsch):"));
        lines << FromWindows1252(abc::GroupInFives(reading.plainText)) << QString();
    }
    for (const abc::search::CribPlace &crib : candidate.cribs) {
        const QString word = FromWindows1252(crib.word);
        const auto message = static_cast<std::size_t>(crib.message);
        lines << (crib.found && message < count ? QStringLiteral("„%1“ steht in %2 ab Buchstabe %3.")
                                                      .arg(word, labels[message], QString::number(crib.position + 1))
                                                : QStringLiteral("„%1“ steht in keiner Nachricht.").arg(word));
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.join(QLatin1Char('\n'));
}
