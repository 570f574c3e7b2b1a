#include "cli/options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QHash>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <charconv>
#include <numeric>
#include <optional>

#include "base/messages.h"
#include "base/windows1252_text.h"
#include "engine/column_key.h"
#include "engine/text_cleaning.h"

namespace {

constexpr std::string_view Help = R"(Aufruf / usage:
  abc-workbench                       startet das Fenster / starts the window
  abc-workbench --find-key [--json] [--time-limit SEKUNDEN] [--threads N]
                [--crib WORT]... [--same-key] [DATEI...|-]
  abc-workbench --encipher --key SCHLÜSSEL [--method ABC|ABCD] [DATEI|-]
  abc-workbench --decipher --key SCHLÜSSEL [--method ABC|ABCD] [DATEI|-]
  abc-workbench --help | --version

Der Text kommt aus DATEI, ohne DATEI oder mit „-“ von der Standardeingabe
(UTF-8), und wird bereinigt wie mit „Eingabetext bereinigen“.
The text is read from FILE or standard input (UTF-8) and cleaned as the window
cleans it.

  --find-key         sucht Schlüsselwort und Verfahren und gibt den besten
                     Kandidaten aus / finds keyword and method, prints the best
                     candidate; mehrere Dateien je für sich, jedes Ergebnis
                     mit ihrem Namen / several files each on its own, each
                     result named by its file
    --same-key       die Dateien sind Nachrichten unter einem Schlüssel:
                     Schlüssel einmal, dann jeder Klartext / the files are
                     messages under one key: the key once, then each plaintext
    --crib WORT      vermutetes Wort, auch mehrmals, bereinigt wie der Text;
                     sagt, wo es steht / probable word, may be repeated,
                     cleaned as the text; says where it stands
    --json           ein JSON-Objekt statt Text, bei mehreren Dateien ohne
                     --same-key eines je Zeile mit "file" / one JSON object
                     instead; for several files without --same-key one a line
                     with "file"
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
Exit-Status: 0 Ergebnis / result (bei mehreren Dateien für jede / for several
files for each), 1 keines / none (Text zu kurz / too short, kein Kandidat /
no candidate, Text passt nicht in die Matrix / does not fit; unter mehreren
Dateien eine unlesbar, leer oder nicht deutsch / among several files one
unreadable, empty or not German), 2 falscher Aufruf / bad usage (auch eine
einzelne unlesbare Datei, ein vermutetes Wort länger als jeder Text / also a
single unreadable file, a probable word longer than every text).
)";

// Whose an option is: the command line's, by the commands it serves, or the
// window's, which Qt's application object reads from the same arguments.
enum class Use { Command, Search, Key, Window };

struct Option {
    const char *name;
    bool takesValue;
    Use use;
};

constexpr Option Options[] = {
    {"find-key", false, Use::Command},
    {"encipher", false, Use::Command},
    {"decipher", false, Use::Command},
    {"help", false, Use::Command},
    {"h", false, Use::Command},
    {"version", false, Use::Command},
    {"json", false, Use::Search},
    {"same-key", false, Use::Search},
    {"crib", true, Use::Search},
    {"time-limit", true, Use::Search},
    {"threads", true, Use::Search},
    {"key", true, Use::Key},
    {"method", true, Use::Key},
    // Qt's own, read by the application object from the same arguments: those
    // of QGuiApplication and QApplication and of the X11 and Windows platforms.
    {"platform", true, Use::Window},
    {"platformpluginpath", true, Use::Window},
    {"platformtheme", true, Use::Window},
    {"plugin", true, Use::Window},
    {"qwindowgeometry", true, Use::Window},
    {"qwindowicon", true, Use::Window},
    {"qwindowtitle", true, Use::Window},
    {"qmljsdebugger", true, Use::Window},
    {"style", true, Use::Window},
    {"stylesheet", true, Use::Window},
    {"session", true, Use::Window},
    {"display", true, Use::Window},
    {"geometry", true, Use::Window},
    {"title", true, Use::Window},
    {"icon", true, Use::Window},
    {"name", true, Use::Window},
    {"visual", true, Use::Window},
    {"fontengine", true, Use::Window},
    {"dialogs", true, Use::Window},
    {"graphicssystem", true, Use::Window},
    {"reverse", false, Use::Window},
    {"widgetcount", false, Use::Window},
    {"sync", false, Use::Window},
    {"nograb", false, Use::Window},
    {"dograb", false, Use::Window},
    {"testability", false, Use::Window},
};

const Option *Find(const QString &name)
{
    const auto found = std::find_if(std::begin(Options), std::end(Options),
                                    [&name](const Option &option) { return name == QLatin1String(option.name); });
    return found == std::end(Options) ? nullptr : found;
}

bool IsOurs(const QString &name)
{
    const Option *option = Find(name);
    return option && option->use != Use::Window;
}

// The arguments go through Qt as Latin-1, which holds any byte as one
// character: a file name or key that is no UTF-8 comes back unchanged.
std::string Bytes(const QString &latin1)
{
    return latin1.toLatin1().toStdString();
}

void AddOptions(QCommandLineParser &parser)
{
    // "-platform" is one option, as Qt's application object reads it.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const Option &option : Options) {
        const QString name = QString::fromLatin1(option.name);
        parser.addOption(QCommandLineOption(name, QString(), option.takesValue ? QStringLiteral("value") : QString()));
    }
}

bool Parse(QCommandLineParser &parser, const QStringList &arguments)
{
    return parser.parse(QStringList(QStringLiteral("abc-workbench")) + arguments);
}

// Whether the arguments parse once an option at their end that waits for a
// value has one.
bool ParsesWithValue(const QStringList &arguments)
{
    QCommandLineParser parser;
    AddOptions(parser);
    return Parse(parser, arguments + QStringList(QStringLiteral("value")));
}

// Qt's parser says in English what it refused, but not where. The first
// refused argument ends the shortest beginning of the list that does not
// parse; with none, the last option lacks its value.
std::string RefusalMessage(const QStringList &arguments)
{
    std::vector<qsizetype> counts(static_cast<std::size_t>(arguments.size()));
    std::iota(counts.begin(), counts.end(), 1);
    const auto refused = std::partition_point(counts.begin(), counts.end(), [&arguments](qsizetype count) {
        return ParsesWithValue(arguments.first(count));
    });
    if (refused == counts.end())
        return Bytes(arguments.constLast()) + " braucht einen Wert.";

    const QString &argument = arguments.at(*refused - 1);
    QCommandLineParser alone;
    AddOptions(alone);
    Parse(alone, {argument});
    if (!alone.unknownOptionNames().isEmpty())
        return "Unbekannte Option „" + Bytes(argument) + "“.";
    return Bytes(argument.section(QLatin1Char('='), 0, 0)) + " nimmt keinen Wert.";
}

double ParseSeconds(const std::string &text)
{
    double seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || !(seconds > 0 && seconds <= MaxTimeLimitSeconds))
        throw UsageError{"--time-limit braucht Sekunden zwischen 0 und " + std::to_string(MaxTimeLimitSeconds)
                         + ", nicht „" + text + "“."};
    return seconds;
}

unsigned ParseThreads(const std::string &text)
{
    unsigned threads = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), threads);
    if (error != std::errc() || end != text.data() + text.size() || threads < 1 || threads > MaxThreads)
        throw UsageError{"--threads braucht eine Zahl von 1 bis " + std::to_string(MaxThreads) + ", nicht „" + text
                         + "“."};
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

// A probable word cleaned as the text is, so that it can match the plaintext.
std::string ParseCrib(const std::string &text)
{
    std::string word =
        abc::CleanInputText(ToWindows1252(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))));
    if (word.empty())
        throw UsageError{"--crib braucht ein Wort mit Buchstaben, nicht „" + text + "“."};
    return word;
}

// Every value in the order given, so that an error names the first wrong one;
// the last value of an option counts, except --crib, whose every value does.
// The key is read with the command.
void ReadValues(const QCommandLineParser &parser, Request &request)
{
    QHash<QString, qsizetype> taken;
    for (const QString &name : parser.optionNames()) {
        if (!IsOurs(name) || !Find(name)->takesValue)
            continue;
        const std::string value = Bytes(parser.values(name).at(taken[name]++));
        if (name == QLatin1String("time-limit"))
            request.timeLimit = ParseSeconds(value);
        else if (name == QLatin1String("threads"))
            request.threads = ParseThreads(value);
        else if (name == QLatin1String("method"))
            request.method = ParseMethod(value);
        else if (name == QLatin1String("crib"))
            request.cribs.push_back(ParseCrib(value));
    }
}

void ReadInput(const QCommandLineParser &parser, Request &request)
{
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1 && !parser.isSet(QStringLiteral("find-key")))
        throw UsageError{"Nur eine Datei, nicht auch „" + Bytes(files.at(1)) + "“."};
    // Standard input cannot be read a second time, nor told apart in a pile.
    if (files.size() > 1 && files.contains(QStringLiteral("-")))
        throw UsageError{"Die Standardeingabe „-“ nur allein, nicht neben Dateien."};
    if (!files.isEmpty()) {
        request.files.clear();
        for (const QString &file : files)
            request.files.push_back(Bytes(file));
    }
}

// Help wins over everything else, then the version.
Command ReadCommand(const QCommandLineParser &parser)
{
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("h")))
        return Command::Help;
    if (parser.isSet(QStringLiteral("version")))
        return Command::Version;
    std::optional<Command> command;
    for (const auto &[name, given] : {std::pair{"find-key", Command::FindKey}, std::pair{"encipher", Command::Encipher},
                                      std::pair{"decipher", Command::Decipher}}) {
        if (!parser.isSet(QLatin1String(name)))
            continue;
        if (command)
            throw UsageError{"Nur eines von --find-key, --encipher, --decipher, --help, --version."};
        command = given;
    }
    if (!command)
        throw UsageError{"Was soll geschehen: --find-key, --encipher oder --decipher?"};
    return *command;
}

// The first option given for that use, spelled as the help spells it.
std::optional<std::string> FirstGiven(const QCommandLineParser &parser, Use use)
{
    for (const QString &name : parser.optionNames()) {
        if (Find(name)->use == use)
            return "--" + Bytes(name);
    }
    return std::nullopt;
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

void CheckKey(const QCommandLineParser &parser, Request &request)
{
    if (const std::optional<std::string> option = FirstGiven(parser, Use::Search))
        throw UsageError{*option + " gilt nur mit --find-key."};
    if (!parser.isSet(QStringLiteral("key")))
        throw UsageError{"Ohne --key kein Schlüssel."};
    request.key = FilterKey(Bytes(parser.value(QStringLiteral("key"))));
    if (request.key.empty())
        throw UsageError{EmptyKeywordMessage().toStdString()};
    // The window's transposition reads only the columns under letters; a
    // text enciphered with a digit in the key could not be deciphered.
    if (request.command == Command::Encipher
        && std::any_of(request.key.begin(), request.key.end(), [](char c) { return c < 'A'; }))
        throw UsageError{"Zum Verschlüsseln nur Buchstaben im Schlüssel: Spalten unter Ziffern liest die "
                         "Transposition nicht."};
}

Request ReadRequest(const QCommandLineParser &parser)
{
    Request request;
    request.json = parser.isSet(QStringLiteral("json"));
    request.sameKey = parser.isSet(QStringLiteral("same-key"));
    ReadValues(parser, request);
    ReadInput(parser, request);
    request.command = ReadCommand(parser);
    if (request.command == Command::FindKey) {
        if (const std::optional<std::string> option = FirstGiven(parser, Use::Key))
            throw UsageError{*option + " gilt nur mit --encipher und --decipher."};
    } else if (request.command == Command::Encipher || request.command == Command::Decipher) {
        CheckKey(parser, request);
    }
    return request;
}

} // namespace

std::variant<Request, UsageError> ParseArguments(const std::vector<std::string> &arguments)
{
    QStringList latin1;
    for (const std::string &argument : arguments)
        latin1 << QString::fromLatin1(argument.data(), static_cast<qsizetype>(argument.size()));

    QCommandLineParser parser;
    AddOptions(parser);
    if (!Parse(parser, latin1))
        return UsageError{RefusalMessage(latin1)};

    const QStringList given = parser.optionNames();
    if (std::none_of(given.begin(), given.end(), IsOurs))
        return Request{};
    try {
        return ReadRequest(parser);
    } catch (const UsageError &error) {
        return error;
    }
}

std::string_view HelpText()
{
    return Help;
}
