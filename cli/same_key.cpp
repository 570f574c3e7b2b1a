#include "cli/same_key.h"

#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "base/messages.h"
#include "base/windows1252_text.h"
#include "cli/exit_status.h"
#include "cli/input.h"
#include "cli/output.h"
#include "cli/search_request.h"
#include "cli/terminal_progress.h"
#include "engine/grouping.h"

namespace {

namespace search = abc::search;

struct PileFile {
    std::string file;
    std::string failure; // why it was left out; empty when searched
    int searched = -1;   // its index among the messages searched
};

// The files in the order given, and the letters of those that have any.
struct Pile {
    std::vector<PileFile> files;
    std::vector<std::string> messages;
    bool unreadable = false;
};

Pile ReadPile(const Request &request, std::istream &in, std::ostream &err)
{
    Pile pile;
    for (const std::string &file : request.files) {
        PileFile &entry = pile.files.emplace_back(PileFile{file, {}, -1});
        auto letters = ReadLetters(file, in);
        if (auto *failure = std::get_if<ReadFailure>(&letters)) {
            err << "abc-workbench: " << failure->message << '\n';
            entry.failure = std::move(failure->message);
            pile.unreadable = pile.unreadable || !failure->noLetters;
            continue;
        }
        entry.searched = static_cast<int>(pile.messages.size());
        pile.messages.push_back(std::move(std::get<std::string>(letters)));
    }
    return pile;
}

// The reading of a searched file under the best candidate, if there is one.
const search::MessageReading *Reading(const PileFile &file, const search::Candidate *best)
{
    if (!best || file.searched < 0 || static_cast<std::size_t>(file.searched) >= best->messages.size())
        return nullptr;
    return &best->messages[static_cast<std::size_t>(file.searched)];
}

QJsonArray MessagesJson(const Pile &pile, const search::Candidate *best)
{
    QJsonArray messages;
    for (const PileFile &file : pile.files) {
        QJsonObject message{{"file", FileNameJson(file.file)}};
        if (!file.failure.empty())
            message.insert("error", QString::fromStdString(file.failure));
        else
            message.insert("letters", static_cast<int>(pile.messages[static_cast<std::size_t>(file.searched)].size()));
        if (const search::MessageReading *reading = Reading(file, best)) {
            message.insert("plaintext", FromWindows1252(reading->plainText));
            message.insert("readsAsGerman", reading->readsAsGerman);
        }
        messages.append(message);
    }
    return messages;
}

void PrintPile(const Pile &pile, const search::Candidate &best, std::ostream &out)
{
    PrintKey(best, out);
    std::vector<std::string> searchedFiles;
    for (const PileFile &file : pile.files) {
        const search::MessageReading *reading = Reading(file, &best);
        if (!reading)
            continue;
        searchedFiles.push_back(file.file);
        out << "Datei:         " << file.file << " (" << pile.messages[static_cast<std::size_t>(file.searched)].size()
            << " Buchstaben" << (reading->readsAsGerman ? "" : ", liest sich nicht wie deutscher Text") << ")\n";
        PrintLine(QStringLiteral("Klartext:      ") + FromWindows1252(abc::GroupInFives(reading->plainText)), out);
    }
    PrintCribs(best, searchedFiles, out);
}

void PrintPileJson(const Pile &pile, const search::SearchResult &result, const QString &error, const Request &request,
                   std::ostream &out)
{
    const search::Candidate *best = error.isEmpty() ? &result.candidates.front() : nullptr;
    QJsonObject object = ResultJson(result, error);
    object.insert("messages", MessagesJson(pile, best));
    if (best && !request.cribs.empty()) {
        std::vector<int> fileIndex;
        for (std::size_t index = 0; index < pile.files.size(); ++index) {
            if (pile.files[index].searched >= 0)
                fileIndex.push_back(static_cast<int>(index));
        }
        object.insert("crib", CribsJson(*best, fileIndex));
    }
    PrintJson(object, out);
}

// Names the files that do not read as German under the key; whether there
// are none.
bool ReportStrays(const Pile &pile, const search::Candidate &best, std::ostream &err)
{
    bool allGerman = true;
    for (const PileFile &file : pile.files) {
        const search::MessageReading *reading = Reading(file, &best);
        if (reading && !reading->readsAsGerman) {
            err << "abc-workbench: " << Quoted(file.file)
                << " liest sich unter diesem Schlüssel nicht wie deutscher Text.\n";
            allGerman = false;
        }
    }
    return allGerman;
}

} // namespace

int FindSharedKeyOfFiles(const Request &request, std::istream &in, std::ostream &out, std::ostream &err)
{
    const Pile pile = ReadPile(request, in, err);
    if (pile.unreadable && request.files.size() == 1)
        return BadUsage;
    if (pile.messages.empty()) {
        if (request.json)
            PrintJson(QJsonObject{{"error", QStringLiteral("Keine Datei enthält Buchstaben.")},
                                  {"candidates", QJsonArray()},
                                  {"messages", MessagesJson(pile, nullptr)}},
                      out);
        return NoResult;
    }
    std::size_t longest = 0;
    for (const std::string &message : pile.messages)
        longest = std::max(longest, message.size());
    if (!CribsFit(request.cribs, longest, pile.messages.size() > 1, err))
        return BadUsage;

    search::SearchOptions options = SearchOptionsFor(request);
    const QString subject = pile.messages.size() == 1 ? FileNameJson(request.files.front())
                                                      : QStringLiteral("%1 Dateien").arg(pile.messages.size());
    TerminalProgress progress(err, subject);
    options.onProgress = progress.callback();
    const search::SearchResult result = search::FindSharedKey(pile.messages, options);
    progress.clear();

    const QString error = SearchError(result);
    if (!error.isEmpty())
        PrintLine(QStringLiteral("abc-workbench: ") + error, err);
    if (request.json)
        PrintPileJson(pile, result, error, request, out);
    else if (error.isEmpty())
        PrintPile(pile, result.candidates.front(), out);
    const bool allGerman = error.isEmpty() && ReportStrays(pile, result.candidates.front(), err);
    return allGerman && pile.messages.size() == pile.files.size() ? Success : NoResult;
}
