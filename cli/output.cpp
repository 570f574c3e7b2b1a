#include "cli/output.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QStringList>

#include <unistd.h>

#include <chrono>
#include <ostream>
#include <string>

#include "base/messages.h"
#include "base/windows1252_text.h"
#include "engine/grouping.h"

namespace {

namespace search = abc::search;

QString Score(double score)
{
    return QLocale(QLocale::German).toString(score, 'f', 2);
}

QJsonObject CandidateJson(const search::Candidate &candidate)
{
    QJsonArray order;
    for (const int column : candidate.order)
        order.append(column + 1);
    QJsonObject object{
        {"keyword", candidate.writable ? QJsonValue(FromWindows1252(candidate.keyword)) : QJsonValue()},
        {"method", candidate.method == abc::CipherMethod::ABC ? "ABC" : "ABCD"},
        {"columns", static_cast<int>(candidate.order.size())},
        {"order", order},
        {"score", candidate.score},
        {"plaintext", FromWindows1252(candidate.plainText)},
    };
    if (!candidate.dictionaryWord.empty()) // spelled as the UTF-8 word list spells it
        object.insert("dictionaryWord", QString::fromStdString(candidate.dictionaryWord));
    return object;
}

} // namespace

void PrintLine(const QString &text, std::ostream &stream)
{
    stream << text.toStdString() << '\n';
}

void PrintInFives(std::string_view text, std::ostream &out)
{
    out << FromWindows1252(abc::GroupInFives(text)).toStdString() << '\n';
}

void PrintCandidate(const search::Candidate &candidate, std::ostream &out)
{
    QString keyword = candidate.writable ? FromWindows1252(candidate.keyword) : UnwritableKeyText();
    if (!candidate.dictionaryWord.empty() && candidate.dictionaryWord != candidate.keyword)
        keyword += QStringLiteral(" (%1)").arg(QString::fromStdString(candidate.dictionaryWord));
    QStringList order;
    for (const int column : candidate.order)
        order << QString::number(column + 1);
    PrintLine(QStringLiteral("Schlüsselwort: ") + keyword, out);
    PrintLine(QStringLiteral("Verfahren:     ") + MethodName(candidate.method), out);
    PrintLine(QStringLiteral("Spaltenfolge:  ") + order.join(QLatin1Char(' ')), out);
    PrintLine(QStringLiteral("Bewertung:     ") + Score(candidate.score), out);
    PrintLine(QStringLiteral("Klartext:      ") + FromWindows1252(abc::GroupInFives(candidate.plainText)), out);
}

void PrintJson(const search::SearchResult &result, const QString &error, std::ostream &out)
{
    QJsonArray candidates;
    for (const search::Candidate &candidate : result.candidates)
        candidates.append(CandidateJson(candidate));
    QJsonObject object;
    if (!error.isEmpty())
        object.insert("error", error);
    else if (!result.candidates.empty())
        object = CandidateJson(result.candidates.front());
    object.insert("candidates", candidates);
    out << QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() << '\n';
}

std::function<void(const search::Progress &)> TerminalProgress(std::ostream &err)
{
    if (isatty(STDERR_FILENO) != 1)
        return {};
    return [&err, shown = std::chrono::steady_clock::time_point()](const search::Progress &progress) mutable {
        const auto now = std::chrono::steady_clock::now();
        if (now - shown < std::chrono::milliseconds(200))
            return;
        shown = now;
        err << '\r'
            << QStringLiteral("%1, %2 s   ")
                   .arg(SearchPhaseText(progress.keyLength))
                   .arg(static_cast<int>(progress.seconds))
                   .toStdString()
            << std::flush;
    };
}

void ClearTerminalProgress(std::ostream &err)
{
    err << '\r' << std::string(40, ' ') << '\r' << std::flush;
}
