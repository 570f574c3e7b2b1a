#include "cli/search_request.h"

#include <ostream>

#include "base/messages.h"
#include "engine/builtin_keywords.h"

namespace search = abc::search;

search::SearchOptions SearchOptionsFor(const Request &request)
{
    search::SearchOptions options;
    options.timeLimitSeconds = request.timeLimit;
    options.threads = request.threads;
    options.keywords = abc::BuiltInKeywords();
    options.cribs = request.cribs;
    return options;
}

QString SearchError(const search::SearchResult &result)
{
    if (result.status == search::SearchStatus::TooShort)
        return TooShortMessage();
    if (result.status != search::SearchStatus::Found || result.candidates.empty())
        return NoCandidateMessage();
    return {};
}

bool CribsFit(const std::vector<std::string> &cribs, std::size_t longestMessage, bool severalMessages,
              std::ostream &err)
{
    for (const std::string &crib : cribs) {
        if (longestMessage == 0 || crib.size() <= longestMessage)
            continue;
        err << "abc-workbench: Das vermutete Wort „" << crib << "“ (" << crib.size() << " Buchstaben) ist länger als "
            << (severalMessages ? "jeder Text (höchstens " : "der Text (") << longestMessage << " Buchstaben).\n";
        return false;
    }
    return true;
}

void ReportUnsolved(const std::vector<std::string> &quotedFiles, std::size_t fileCount, std::ostream &err)
{
    if (quotedFiles.empty())
        return;
    err << "abc-workbench: ohne Ergebnis (" << quotedFiles.size() << " von " << fileCount << " Dateien):";
    for (std::size_t index = 0; index < quotedFiles.size(); ++index)
        err << (index == 0 ? " " : ", ") << quotedFiles[index];
    err << ".\n";
}
