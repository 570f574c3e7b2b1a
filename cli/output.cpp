#include "cli/output.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QStringList>

#include <ostream>
#include <string>

#include "base/messages.h"
#include "base/windows1252_text.h"
#include "cli/input.h"
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

void PrintKey(const search::Candidate &candidate, std::ostream &out)
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
}

void PrintCandidate(const search::Candidate &candidate, std::ostream &out)
{
    PrintKey(candidate, out);
    PrintLine(QStringLiteral("Klartext:      ") + FromWindows1252(abc::GroupInFives(candidate.plainText)), out);
}

void PrintFileName(const std::string &file, std::ostream &out)
{
    out << "Datei:         " << file << '\n';
}

void PrintCribs(const search::Candidate &candidate, const std::vector<std::string> &files, std::ostream &out)
{
    for (const search::CribPlace &crib : candidate.cribs) {
        out << "Vermutetes Wort: " << crib.word;
        if (!crib.found) {
            out << " nicht gefunden\n";
            continue;
        }
        out << ", Buchstabe " << crib.position + 1;
        if (files.size() > 1 && crib.message < static_cast<int>(files.size()))
            out << " von " << Quoted(files[static_cast<std::size_t>(crib.message)]);
        out << '\n';
    }
}

QJsonObject ResultJson(const search::SearchResult &result, const QString &error)
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
    return object;
}

QJsonArray CribsJson(const search::Candidate &candidate, const std::vector<int> &messageIndex)
{
    QJsonArray cribs;
    for (const search::CribPlace &crib : candidate.cribs) {
        const auto message = static_cast<std::size_t>(crib.message);
        const int index = message < messageIndex.size() ? messageIndex[message] : crib.message;
        cribs.append(QJsonObject{
            {"word", QString::fromLatin1(crib.word)},
            {"found", crib.found},
            {"message", crib.found ? QJsonValue(index) : QJsonValue()},
            {"position", crib.found ? QJsonValue(crib.position) : QJsonValue()},
        });
    }
    return cribs;
}

void PrintJson(const QJsonObject &object, std::ostream &out)
{
    out << QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() << '\n';
}

QString FileNameJson(const std::string &file)
{
    return QString::fromUtf8(file.data(), static_cast<qsizetype>(file.size()));
}
