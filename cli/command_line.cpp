#include "cli/command_line.h"

#include <QString>

#include <ext/stdio_sync_filebuf.h>

#include <cstdio>
#include <istream>
#include <ostream>
#include <string>
#include <variant>

#include "base/messages.h"
#include "cli/exit_status.h"
#include "cli/find_key.h"
#include "cli/input.h"
#include "cli/options.h"
#include "cli/output.h"
#include "engine/cipher.h"
#include "engine/decoding_steps.h"
#include "engine/text_cleaning.h"

namespace {

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
    if (request.command == Command::FindKey)
        return FindKeys(request, in, out, err);
    const auto text = ReadText(request.files.front(), in, Utf8::Lenient);
    if (const auto *failure = std::get_if<ReadFailure>(&text)) {
        err << "abc-workbench: " << failure->message << '\n';
        return BadUsage;
    }
    if (request.command == Command::Encipher)
        return Encipher(request, std::get<std::string>(text), out, err);
    return Decipher(request, std::get<std::string>(text), out, err);
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
