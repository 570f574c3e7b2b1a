#pragma once

#include <QString>

#include <functional>
#include <iosfwd>
#include <string_view>

#include "analysis/key_search.h"

// How the command line prints: UTF-8 lines, German numbers, JSON on one line.

void PrintLine(const QString &text, std::ostream &stream);
// A text of the engine's Windows-1252 bytes in five-letter groups, on one line.
void PrintInFives(std::string_view text, std::ostream &out);

void PrintCandidate(const abc::search::Candidate &candidate, std::ostream &out);
// The best candidate's fields, or the error, and every candidate.
void PrintJson(const abc::search::SearchResult &result, const QString &error, std::ostream &out);

// Where the search stands, on one line of err rewritten in place; nothing
// unless a person watches the terminal.
std::function<void(const abc::search::Progress &)> TerminalProgress(std::ostream &err);
void ClearTerminalProgress(std::ostream &err);
