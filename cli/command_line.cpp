#include "cli/command_line.h"

#include <QString>

#include <ext/stdio_sync_filebuf.h>

#include <cstdio>
#include <fstream>
#include <istream>
#include <iterator>
#include <ostream>
#include <variant>

#include "analysis/key_search.h"
#include "base/messages.h"
#include "base/windows1252_text.h"
#include "cli/options.h"
#include "cli/output.h"
#include "engine/builtin_keywords.h"
#include "engine/cipher.h"
#include "engine/decoding_steps.h"
#include "engine/text_cleaning.h"

namespace {

namespace search = abc::search;

constexpr int Success = 0;
constexpr int NoResult = 1;
constexpr int BadUsage = 2;

std::optional<std::string> ReadInput(const std::string &path, std::istream &in)
{
    if (path == "-")
        return std::string(std::istreambuf_iterator<char>(in), {});
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), {});
}

int FindKey(const Request &request, const std::string &text, std::ostream &out, std::ostream &err)
{
    search::SearchOptions options;
    options.timeLimitSeconds = request.timeLimit;
    options.threads = request.threads;
    options.keywords = abc::BuiltInKeywords();
    if (!request.json)
        options.onProgress = TerminalProgress(err);
    const search::SearchResult result = search::FindKey(abc::CleanInputText(text), options);
    if (options.onProgress)
        ClearTerminalProgress(err);

    QString error;
    if (result.status == search::SearchStatus::TooShort)
        error = TooShortMessage();
    else if (result.status != search::SearchStatus::Found || result.candidates.empty())
        error = NoCandidateMessage();
    if (!error.isEmpty())
        PrintLine(error, err);
    if (request.json)
        PrintJson(result, error, out);
    else if (error.isEmpty())
        PrintCandidate(result.candidates.front(), out);
    return error.isEmpty() ? Success : NoResult;
}

int Encipher(const Request &request, const std::string &text, std::ostream &out, std::ostream &err)
{
    const std::string plain = abc::CleanInputText(text);
    if (plain.empty()) {
        PrintLine(QStringLiteral("Der Text enthält keine Buchstaben."), err);
        return NoResult;
    }
    PrintInFives(abc::EncipherText(plain, request.key, request.method), out);
    return Success;
}

// The window's five steps on a work state of its own.
int Decipher(const Request &request, const std::string &text, std::ostream &out, std::ostream &err)
{
    abc::WorkbenchState state;
    abc::BuildGrid(state);
    const abc::DecodingResult decoded = abc::DecipherAllSteps(state, request.key, text, request.method);
    if (state.CleanText.empty()) {
        PrintLine(QStringLiteral("Der Text enthält keine Buchstaben."), err);
        return NoResult;
    }
    PrintInFives(state.SubstitutionText, out);

    const auto left = static_cast<long long>(state.CleanText.size()) - decoded.cleaning.placed;
    if (left > 0) {
        PrintLine(MatrixTooSmallMessage(decoded.cleaning.capacity, left), err);
        return NoResult;
    }
    return Success;
}

int Run(const Request &request, std::istream &in, std::ostream &out, std::ostream &err)
{
    const std::optional<std::string> bytes = ReadInput(request.input, in);
    if (!bytes) {
        err << "abc-workbench: „" << request.input << "“ lässt sich nicht lesen.\n";
        return BadUsage;
    }
    // Through the code page as the window takes pasted text.
    const std::string text =
        ToWindows1252Lines(QString::fromUtf8(bytes->data(), static_cast<qsizetype>(bytes->size())));
    switch (request.command) {
    case Command::FindKey:
        return FindKey(request, text, out, err);
    case Command::Encipher:
        return Encipher(request, text, out, err);
    default:
        return Decipher(request, text, out, err);
    }
}

} // namespace

namespace {

int Dispatch(const std::variant<Request, UsageError> &parsed, std::istream &in, std::ostream &out, std::ostream &err)
{
    if (const auto *error = std::get_if<UsageError>(&parsed)) {
        err << "abc-workbench: " << error->message << "\n„abc-workbench --help“ zeigt die Aufrufe.\n";
        return BadUsage;
    }
    const Request &request = std::get<Request>(parsed);
    switch (request.command) {
    case Command::Help:
        out << HelpText();
        return Success;
    case Command::Version:
        out << "abc-workbench " WORKBENCH_VERSION "\n";
        return Success;
    default:
        return Run(request, in, out, err);
    }
}

} // namespace

std::optional<int> RunCommandLine(const std::vector<std::string> &arguments)
{
    const std::variant<Request, UsageError> parsed = ParseArguments(arguments);
    if (const auto *request = std::get_if<Request>(&parsed); request && request->command == Command::Window)
        return std::nullopt;
    // The standard streams as <iostream> would make them (unbuffered, in
    // step with C's stdio), but only here: <iostream> makes them before
    // main() in every run, window or not, and sets up the C++ locale on the
    // way, a third of a megabyte the window never needs.
    __gnu_cxx::stdio_sync_filebuf<char> inBuffer(stdin), outBuffer(stdout), errBuffer(stderr);
    std::istream in(&inBuffer);
    std::ostream out(&outBuffer);
    std::ostream err(&errBuffer);
    return Dispatch(parsed, in, out, err);
}
