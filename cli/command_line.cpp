#include "cli/command_line.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <fstream>
#include <functional>
#include <istream>
#include <iterator>
#include <ostream>

#include "analysis/key_search.h"
#include "base/messages.h"
#include "base/windows1252_text.h"
#include "engine/builtin_keywords.h"
#include "engine/cipher.h"
#include "engine/column_key.h"
#include "engine/decoding_steps.h"
#include "engine/grouping.h"
#include "engine/text_cleaning.h"

namespace {

namespace search = abc::search;

constexpr int Success = 0;
constexpr int NoResult = 1;
constexpr int BadUsage = 2;

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

enum class Command { None, FindKey, Encipher, Decipher, Help, Version };

struct Request {
    Command command = Command::None;
    bool json = false;
    double timeLimit = 30.0;
    unsigned threads = 0;
    std::optional<std::string> key;
    std::optional<abc::CipherMethod> method;
    std::string input = "-";
    // The options given, to refuse those that do not fit the command.
    std::vector<std::string> searchOptions, keyOptions;
};

struct UsageError {
    std::string message;
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
    if (request.command != Command::None && request.command != command)
        throw UsageError{"Nur eines von --find-key, --encipher, --decipher, --help, --version."};
    request.command = command;
}

Request Parse(const std::vector<std::string> &arguments)
{
    Request request;
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
                request.searchOptions.push_back(name);
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
            request.searchOptions.push_back(name);
        } else if (name == "--threads") {
            request.threads = ParseThreads(value);
            request.searchOptions.push_back(name);
        } else if (name == "--key") {
            request.key = value;
            request.keyOptions.push_back(name);
        } else {
            request.method = ParseMethod(value);
            request.keyOptions.push_back(name);
        }
    }

    switch (request.command) {
    case Command::None:
        throw UsageError{"Was soll geschehen: --find-key, --encipher oder --decipher?"};
    case Command::Help:
    case Command::Version:
        break;
    case Command::FindKey:
        if (!request.keyOptions.empty())
            throw UsageError{request.keyOptions.front() + " gilt nur mit --encipher und --decipher."};
        break;
    case Command::Encipher:
    case Command::Decipher:
        if (!request.searchOptions.empty())
            throw UsageError{request.searchOptions.front() + " gilt nur mit --find-key."};
        if (!request.key)
            throw UsageError{"Ohne --key kein Schlüssel."};
        request.key = FilterKey(*request.key);
        if (request.key->empty())
            throw UsageError{EmptyKeywordMessage().toStdString()};
        // The window's transposition reads only the columns under letters; a
        // text enciphered with a digit in the key could not be deciphered.
        if (request.command == Command::Encipher
            && std::any_of(request.key->begin(), request.key->end(), [](char c) { return c < 'A'; }))
            throw UsageError{"Zum Verschlüsseln nur Buchstaben im Schlüssel: Spalten unter Ziffern liest die "
                             "Transposition nicht."};
        break;
    }
    return request;
}

std::optional<std::string> ReadInput(const std::string &path, std::istream &in)
{
    if (path == "-")
        return std::string(std::istreambuf_iterator<char>(in), {});
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::string Utf8(std::string_view windows1252)
{
    return FromWindows1252(windows1252).toStdString();
}

std::string Line(const QString &text)
{
    return text.toStdString() + '\n';
}

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

void PrintCandidate(const search::Candidate &candidate, std::ostream &out)
{
    QString keyword = candidate.writable ? FromWindows1252(candidate.keyword) : UnwritableKeyText();
    if (!candidate.dictionaryWord.empty() && candidate.dictionaryWord != candidate.keyword)
        keyword += QStringLiteral(" (%1)").arg(QString::fromStdString(candidate.dictionaryWord));
    QStringList order;
    for (const int column : candidate.order)
        order << QString::number(column + 1);
    out << Line(QStringLiteral("Schlüsselwort: ") + keyword)
        << Line(QStringLiteral("Verfahren:     ") + MethodName(candidate.method))
        << Line(QStringLiteral("Spaltenfolge:  ") + order.join(QLatin1Char(' ')))
        << Line(QStringLiteral("Bewertung:     ") + Score(candidate.score))
        << Line(QStringLiteral("Klartext:      ") + FromWindows1252(abc::GroupInFives(candidate.plainText)));
}

// Where the search stands, on one line rewritten in place; only for a person
// watching the terminal.
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
        err << '\r' << std::string(40, ' ') << '\r' << std::flush;

    QString error;
    if (result.status == search::SearchStatus::TooShort)
        error = TooShortMessage();
    else if (result.status != search::SearchStatus::Found || result.candidates.empty())
        error = NoCandidateMessage();
    if (!error.isEmpty())
        err << Line(error);
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
        err << Line(QStringLiteral("Der Text enthält keine Buchstaben."));
        return NoResult;
    }
    const auto method = request.method.value_or(abc::CipherMethod::ABC);
    out << Utf8(abc::GroupInFives(abc::EncipherText(plain, *request.key, method))) << '\n';
    return Success;
}

// The window's five steps on a work state of its own.
int Decipher(const Request &request, const std::string &text, std::ostream &out, std::ostream &err)
{
    abc::WorkbenchState state;
    abc::BuildGrid(state);
    const abc::DecodingResult decoded =
        abc::DecipherAllSteps(state, *request.key, text, request.method.value_or(abc::CipherMethod::ABC));
    if (state.CleanText.empty()) {
        err << Line(QStringLiteral("Der Text enthält keine Buchstaben."));
        return NoResult;
    }
    out << Utf8(abc::GroupInFives(state.SubstitutionText)) << '\n';

    const auto left = static_cast<long long>(state.CleanText.size()) - decoded.cleaning.placed;
    if (left > 0) {
        err << Line(MatrixTooSmallMessage(decoded.cleaning.capacity, left));
        return NoResult;
    }
    return Success;
}

} // namespace

std::optional<int> RunCommandLine(const std::vector<std::string> &arguments, std::istream &in, std::ostream &out,
                                  std::ostream &err)
{
    if (std::none_of(arguments.begin(), arguments.end(), NamesAnOption))
        return std::nullopt;

    Request request;
    try {
        request = Parse(arguments);
    } catch (const UsageError &error) {
        err << "abc-workbench: " << error.message << "\n„abc-workbench --help“ zeigt die Aufrufe.\n";
        return BadUsage;
    }
    if (request.command == Command::Help) {
        out << Help;
        return Success;
    }
    if (request.command == Command::Version) {
        out << "abc-workbench " WORKBENCH_VERSION "\n";
        return Success;
    }

    const std::optional<std::string> bytes = ReadInput(request.input, in);
    if (!bytes) {
        err << "abc-workbench: „" << request.input << "“ lässt sich nicht lesen.\n";
        return BadUsage;
    }
    // Through the code page as the window takes pasted text.
    const std::string text = ToWindows1252Lines(QString::fromUtf8(bytes->data(), static_cast<qsizetype>(bytes->size())));
    switch (request.command) {
    case Command::FindKey:
        return FindKey(request, text, out, err);
    case Command::Encipher:
        return Encipher(request, text, out, err);
    default:
        return Decipher(request, text, out, err);
    }
}
