#include "cli/input.h"

#include <QStringDecoder>

#include <filesystem>
#include <fstream>
#include <istream>
#include <iterator>
#include <optional>

#include "base/windows1252_text.h"
#include "engine/text_cleaning.h"

namespace {

std::optional<std::string> ReadBytes(const std::string &path, std::istream &in)
{
    if (path == "-")
        return std::string(std::istreambuf_iterator<char>(in), {});
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    // The file buffer throws when reading fails midway.
    try {
        return std::string(std::istreambuf_iterator<char>(file), {});
    } catch (const std::ios_base::failure &) {
        return std::nullopt;
    }
}

bool IsUtf8(const std::string &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    [[maybe_unused]] const QString text = decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return !decoder.hasError();
}

} // namespace

std::string Quoted(const std::string &path)
{
    return "„" + path + "“";
}

std::variant<std::string, ReadFailure> ReadText(const std::string &path, std::istream &in, Utf8 utf8)
{
    std::error_code error;
    if (path != "-" && std::filesystem::is_directory(path, error))
        return ReadFailure{Quoted(path) + " ist ein Verzeichnis, keine Datei."};
    const std::optional<std::string> bytes = ReadBytes(path, in);
    if (!bytes)
        return ReadFailure{Quoted(path) + " lässt sich nicht lesen."};
    if (utf8 == Utf8::Required && !IsUtf8(*bytes))
        return ReadFailure{Quoted(path) + " ist kein UTF-8-Text."};
    return ToWindows1252Lines(QString::fromUtf8(bytes->data(), static_cast<qsizetype>(bytes->size())));
}

std::variant<std::string, ReadFailure> ReadLetters(const std::string &path, std::istream &in)
{
    auto text = ReadText(path, in, Utf8::Required);
    if (auto *bytes = std::get_if<std::string>(&text)) {
        std::string letters = abc::CleanInputText(*bytes);
        if (letters.empty())
            return ReadFailure{Quoted(path) + " enthält keine Buchstaben.", true};
        return letters;
    }
    return text;
}
