#include "cli/find_key.h"

#include <algorithm>
#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

#include "base/messages.h"
#include "cli/exit_status.h"
#include "cli/input.h"
#include "cli/output.h"
#include "cli/same_key.h"
#include "cli/search_request.h"
#include "cli/terminal_progress.h"
#include "engine/text_cleaning.h"

namespace {

namespace search = abc::search;

// One file as today's scripts call it: its output has no file name.
int FindKeyInFile(const Request &request, std::istream &in, std::ostream &out, std::ostream &err)
{
    const std::string &file = request.files.front();
    const auto text = ReadText(file, in, Utf8::Required);
    if (const auto *failure = std::get_if<ReadFailure>(&text)) {
        err << "abc-workbench: " << failure->message << '\n';
        return BadUsage;
    }
    const std::string letters = abc::CleanInputText(std::get<std::string>(text));
    if (!CribsFit(request.cribs, letters.size(), false, err))
        return BadUsage;

    search::SearchOptions options = SearchOptionsFor(request);
    TerminalProgress progress(err);
    options.onProgress = progress.callback();
    const search::SearchResult result = search::FindKey(letters, options);
    progress.clear();

    const QString error = SearchError(result);
    if (!error.isEmpty())
        PrintLine(error, err);
    if (request.json) {
        QJsonObject object = ResultJson(result, error);
        if (error.isEmpty() && !request.cribs.empty())
            object.insert("crib", CribsJson(result.candidates.front()));
        PrintJson(object, out);
    } else if (error.isEmpty()) {
        PrintCandidate(result.candidates.front(), out);
        PrintCribs(result.candidates.front(), {}, out);
    }
    return error.isEmpty() ? Success : NoResult;
}

// The letters of the longest message among the files, each read and dropped.
std::size_t LongestMessage(const std::vector<std::string> &files, std::istream &in)
{
    std::size_t longest = 0;
    for (const std::string &file : files) {
        const auto text = ReadText(file, in, Utf8::Required);
        if (const auto *bytes = std::get_if<std::string>(&text))
            longest = std::max(longest, abc::CleanInputText(*bytes).size());
    }
    return longest;
}

void ReportFailure(const std::string &file, const QString &message, bool json, std::ostream &out, std::ostream &err)
{
    PrintLine(QStringLiteral("abc-workbench: ") + message, err);
    if (json)
        PrintJson(QJsonObject{{"file", FileNameJson(file)}, {"error", message}, {"candidates", QJsonArray()}}, out);
}

// One file of a batch, its result named by the file; whether it gave a key
// under which it reads as German.
bool FindKeyInBatchFile(const Request &request, std::size_t index, std::istream &in, std::ostream &out,
                        std::ostream &err)
{
    const std::string &file = request.files[index];
    const auto letters = ReadLetters(file, in);
    if (const auto *failure = std::get_if<ReadFailure>(&letters)) {
        ReportFailure(file, QString::fromStdString(failure->message), request.json, out, err);
        return false;
    }

    search::SearchOptions options = SearchOptionsFor(request);
    TerminalProgress progress(
        err, QStringLiteral("%1 (%2/%3)").arg(FileNameJson(file)).arg(index + 1).arg(request.files.size()));
    options.onProgress = progress.callback();
    const search::SearchResult result = search::FindKey(std::get<std::string>(letters), options);
    progress.clear();

    const QString error = SearchError(result);
    if (!error.isEmpty())
        PrintLine(QStringLiteral("abc-workbench: %1: %2").arg(QString::fromStdString(Quoted(file)), error), err);
    if (request.json) {
        QJsonObject object = ResultJson(result, error);
        object.insert("file", FileNameJson(file));
        if (error.isEmpty() && !request.cribs.empty())
            object.insert("crib", CribsJson(result.candidates.front()));
        PrintJson(object, out);
    } else if (error.isEmpty()) {
        PrintFileName(file, out);
        PrintCandidate(result.candidates.front(), out);
        PrintCribs(result.candidates.front(), {}, out);
        out << '\n';
    }
    return error.isEmpty();
}

int FindKeysInBatch(const Request &request, std::istream &in, std::ostream &out, std::ostream &err)
{
    if (!request.cribs.empty() && !CribsFit(request.cribs, LongestMessage(request.files, in), true, err))
        return BadUsage;
    std::vector<std::string> unsolved;
    for (std::size_t index = 0; index < request.files.size(); ++index) {
        if (!FindKeyInBatchFile(request, index, in, out, err))
            unsolved.push_back(Quoted(request.files[index]));
    }
    ReportUnsolved(unsolved, request.files.size(), err);
    return unsolved.empty() ? Success : NoResult;
}

} // namespace

int FindKeys(const Request &request, std::istream &in, std::ostream &out, std::ostream &err)
{
    if (request.sameKey)
        return FindSharedKeyOfFiles(request, in, out, err);
    if (request.files.size() == 1)
        return FindKeyInFile(request, in, out, err);
    return FindKeysInBatch(request, in, out, err);
}
