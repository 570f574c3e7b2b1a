#pragma once

#include <iosfwd>
#include <string>
#include <variant>

// Reading the text of a file, or of standard input for "-".

enum class Utf8 { Required, Lenient };

struct ReadFailure {
    std::string message; // UTF-8, the file named as given
    // Read, but without a letter: no bad usage even for a single file.
    bool noLetters = false;
};

// The text through the code page as the window takes pasted text (Windows-1252,
// lines ending in CR LF), or why there is none, the file named. Lenient
// drops what is not UTF-8, as encipher and decipher always have.
std::variant<std::string, ReadFailure> ReadText(const std::string &path, std::istream &in, Utf8 utf8);

// The cleaned letters of a message among several, or why it has none: also
// when it has no letters.
std::variant<std::string, ReadFailure> ReadLetters(const std::string &path, std::istream &in);

// The file as a message names it, with German quotes, its name's bytes as given.
std::string Quoted(const std::string &path);
