// The command line's parser on any argument list, one argument per line of
// the input: every list gives either a request whose values lie in their
// ranges or a usage error that says something.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cli/options.h"
#include "engine/column_key.h"
#include "fuzz/fuzz_check.h"

namespace {

std::vector<std::string> Arguments(std::string_view input)
{
    std::vector<std::string> arguments;
    while (!input.empty()) {
        const std::size_t end = input.find('\n');
        arguments.emplace_back(input.substr(0, end));
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    }
    return arguments;
}

void CheckRequest(const Request &request)
{
    FUZZ_REQUIRE(request.timeLimit > 0 && request.timeLimit <= MaxTimeLimitSeconds);
    FUZZ_REQUIRE(request.threads <= MaxThreads);
    // A key only where one is used, and then as the keyword box would take it.
    const bool keyed = request.command == Command::Encipher || request.command == Command::Decipher;
    FUZZ_REQUIRE(keyed != request.key.empty());
    FUZZ_REQUIRE(request.key.size() <= static_cast<std::size_t>(abc::MaxKeyLength));
    for (const char c : request.key) {
        const bool letter = c >= 'A' && c <= 'Z';
        const bool digit = c >= '0' && c <= '9';
        FUZZ_REQUIRE(letter || (digit && request.command == Command::Decipher));
    }
}

bool IsCapitals(const std::string &word)
{
    return std::all_of(word.begin(), word.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// Several files, a pile under one key and probable words only for the key
// search (or beside help and version, which ignore them); standard input
// only alone; probable words cleaned and never empty.
void CheckSearchInput(const Request &request)
{
    const bool search =
        request.command == Command::FindKey || request.command == Command::Help || request.command == Command::Version;
    FUZZ_REQUIRE(!request.files.empty());
    FUZZ_REQUIRE(search || (request.files.size() == 1 && !request.sameKey && request.cribs.empty()));
    FUZZ_REQUIRE(request.files.size() == 1
                 || std::find(request.files.begin(), request.files.end(), "-") == request.files.end());
    for (const std::string &crib : request.cribs)
        FUZZ_REQUIRE(!crib.empty() && IsCapitals(crib));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::variant<Request, UsageError> parsed =
        ParseArguments(Arguments(std::string_view(reinterpret_cast<const char *>(data), size)));
    FUZZ_REQUIRE(!parsed.valueless_by_exception());
    if (const auto *error = std::get_if<UsageError>(&parsed)) {
        FUZZ_REQUIRE(!error->message.empty());
    } else {
        CheckRequest(std::get<Request>(parsed));
        CheckSearchInput(std::get<Request>(parsed));
    }
    return 0;
}
