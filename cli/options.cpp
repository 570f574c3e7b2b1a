#include "cli/options.h"

#include <QString>

#include <algorithm>
#include <charconv>
#include <iterator>
#include <optional>

#include "base/messages.h"
#include "base/windows1252_text.h"
#include "engine/column_key.h"

namespace {

constexpr std::string_view Help = R"(Aufruf / usage:
  abc-workbench                       startet das Fenster / starts the window
  abc-workbench --find-key [--json] [--time-limit SEKUNDEN] [--threads N] [DATEI|-]
  abc-workbench --encipher --key SCHLÜSSEL [--method ABC|ABCD] [DATEI|-]
  abc-workbench --decipher --key SCHLÜSSEL [--method ABC|ABCD] [DATEI|-]
  abc-workbench --help | --version

Der Text kommt aus DATEI, ohne DATEI oder mit „-“ von der Standardeingabe
(UTF-8), und wird bereinigt wie mit „Eingabetext bereinigen“.
The text is read from FILE or standard input (UTF-8) and cleaned as the window
cleans it.

  --find-key         sucht Schlüsselwort und Verfahren und gibt den besten
                     Kandidaten aus / finds keyword and method, prints the best
                     candidate
    --json           ein JSON-Objekt statt Text / one JSON object instead
    --time-limit S   Suchzeit in Sekunden, Vorgabe 30 / search time, default 30
    --threads N      Threads der Suche, Vorgabe alle Kerne / default every core
  --encipher         verschlüsselt den Text / enciphers the text
  --decipher         entschlüsselt ihn wie die fünf Schritte des Fensters /
                     deciphers it as the window's five steps do
    --key KEY        Schlüsselwort: Buchstaben und Ziffern, höchstens 45 /
                     keyword: letters and digits, at most 45
    --method M       ABC (Vorgabe / default) oder / or ABCD
  --help             diese Hilfe / this help
  --version          Version

Ausgabe in Fünfergruppen / output in five-letter groups.
Exit-Status: 0 Ergebnis / result, 1 keines / none (Text zu kurz / too short,
kein Kandidat / no candidate, Text passt nicht in die Matrix / does not fit),
2 falscher Aufruf / bad usage.
)";

// The options given, to refuse those that do not fit the command.
struct Given {
    std::optional<std::string> key;
    std::vector<std::string> searchOptions, keyOptions;
};

constexpr std::string_view Commands[] = {"--find-key", "--encipher", "--decipher", "--help", "--version"};
constexpr std::string_view Flags[] = {"--json"};
constexpr std::string_view Valued[] = {"--time-limit", "--threads", "--key", "--method"};

template <std::size_t N>
bool OneOf(std::string_view name, const std::string_view (&names)[N])
{
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

std::string_view NameOf(std::string_view argument)
{
    return argument.substr(0, argument.find('='));
}

// Qt's own options (-platform, -style, ...) still reach the window.
bool NamesAnOption(std::string_view argument)
{
    const std::string_view name = NameOf(argument);
    return argument == "-h" || OneOf(name, Commands) || OneOf(name, Flags) || OneOf(name, Valued);
}

double ParseSeconds(const std::string &text)
{
    double seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || !(seconds > 0 && seconds <= 86400))
        throw UsageError{"--time-limit braucht Sekunden zwischen 0 und 86400, nicht „" + text + "“."};
    return seconds;
}

unsigned ParseThreads(const std::string &text)
{
    unsigned threads = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), threads);
    if (error != std::errc() || end != text.data() + text.size() || threads < 1 || threads > 1024)
        throw UsageError{"--threads braucht eine Zahl von 1 bis 1024, nicht „" + text + "“."};
    return threads;
}

abc::CipherMethod ParseMethod(const std::string &text)
{
    const QString method = QString::fromStdString(text).toUpper();
    if (method == QLatin1String("ABC"))
        return abc::CipherMethod::ABC;
    if (method == QLatin1String("ABCD"))
        return abc::CipherMethod::ABCD;
    throw UsageError{"--method ist ABC oder ABCD, nicht „" + text + "“."};
}

// The key as the keyword box takes it when typed: capitals and digits, small
// letters raised, the rest dropped, at most as many characters as columns.
std::string FilterKey(const std::string &typed)
{
    std::string key;
    for (const char byte : ToWindows1252(QString::fromStdString(typed))) {
        const int code = abc::FilterKeyChar(static_cast<unsigned char>(byte));
        if (code != 0 && code != '\b' && key.size() < abc::MaxKeyLength)
            key += static_cast<char>(code);
    }
    return key;
}

void SetCommand(Request &request, Command command)
{
    if (request.command != Command::Window && request.command != command)
        throw UsageError{"Nur eines von --find-key, --encipher, --decipher, --help, --version."};
    request.command = command;
}

Request Parse(const std::vector<std::string> &arguments)
{
    Request request;
    Given given;
    bool inputGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        if (argument == "-" || !argument.starts_with('-')) {
            if (inputGiven)
                throw UsageError{"Nur eine Datei, nicht auch „" + argument + "“."};
            request.input = argument;
            inputGiven = true;
            continue;
        }
        const std::string name(NameOf(argument));
        const bool inlineValue = name.size() < argument.size();
        if (argument == "-h" || name == "--help")
            request.command = Command::Help; // wins over everything else
        else if (name == "--version" && request.command != Command::Help)
            request.command = Command::Version;
        if (name == "-h" || name == "--help" || name == "--version")
            continue;

        if (OneOf(name, Commands) || OneOf(name, Flags)) {
            if (inlineValue)
                throw UsageError{name + " nimmt keinen Wert."};
            if (name == "--json") {
                request.json = true;
                given.searchOptions.push_back(name);
            } else if (request.command != Command::Help && request.command != Command::Version) {
                SetCommand(request, name == "--find-key"   ? Command::FindKey
                                    : name == "--encipher" ? Command::Encipher
                                                           : Command::Decipher);
            }
            continue;
        }
        if (!OneOf(name, Valued))
            throw UsageError{"Unbekannte Option „" + argument + "“."};
        if (!inlineValue && i + 1 == arguments.size())
            throw UsageError{name + " braucht einen Wert."};
        const std::string value = inlineValue ? argument.substr(name.size() + 1) : arguments[++i];
        if (name == "--time-limit") {
            request.timeLimit = ParseSeconds(value);
            given.searchOptions.push_back(name);
        } else if (name == "--threads") {
            request.threads = ParseThreads(value);
            given.searchOptions.push_back(name);
        } else if (name == "--key") {
            given.key = value;
            given.keyOptions.push_back(name);
        } else {
            request.method = ParseMethod(value);
            given.keyOptions.push_back(name);
        }
    }

    switch (request.command) {
    case Command::Window:
        throw UsageError{"Was soll geschehen: --find-key, --encipher oder --decipher?"};
    case Command::Help:
    case Command::Version:
        break;
    case Command::FindKey:
        if (!given.keyOptions.empty())
            throw UsageError{given.keyOptions.front() + " gilt nur mit --encipher und --decipher."};
        break;
    case Command::Encipher:
    case Command::Decipher:
        if (!given.searchOptions.empty())
            throw UsageError{given.searchOptions.front() + " gilt nur mit --find-key."};
        if (!given.key)
            throw UsageError{"Ohne --key kein Schlüssel."};
        request.key = FilterKey(*given.key);
        if (request.key.empty())
            throw UsageError{EmptyKeywordMessage().toStdString()};
        // The window's transposition reads only the columns under letters; a
        // text enciphered with a digit in the key could not be deciphered.
        if (request.command == Command::Encipher
            && std::any_of(request.key.begin(), request.key.end(), [](char c) { return c < 'A'; }))
            throw UsageError{"Zum Verschlüsseln nur Buchstaben im Schlüssel: Spalten unter Ziffern liest die "
                             "Transposition nicht."};
        break;
    }
    return request;
}

} // namespace

std::variant<Request, UsageError> ParseArguments(const std::vector<std::string> &arguments)
{
    if (std::none_of(arguments.begin(), arguments.end(), NamesAnOption))
        return Request{};
    try {
        return Parse(arguments);
    } catch (const UsageError &error) {
        return error;
    }
}

std::string_view HelpText()
{
    return Help;
}
