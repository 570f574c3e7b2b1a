#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/key_search.h"

// How the command line prints: UTF-8 lines, German numbers, JSON on one line.

void PrintLine(const QString &text, std::ostream &stream);
// A text of the engine's Windows-1252 bytes in five-letter groups, on one line.
void PrintInFives(std::string_view text, std::ostream &out);

// Keyword, method, column order and score.
void PrintKey(const abc::search::Candidate &candidate, std::ostream &out);
// The key and the plaintext.
void PrintCandidate(const abc::search::Candidate &candidate, std::ostream &out);
// A line that names the file whose result follows.
void PrintFileName(const std::string &file, std::ostream &out);
// Where each probable word stands; with several messages, in which, named by
// the file it came from.
void PrintCribs(const abc::search::Candidate &candidate, const std::vector<std::string> &files, std::ostream &out);

// The best candidate's fields, or the error, and every candidate.
QJsonObject ResultJson(const abc::search::SearchResult &result, const QString &error);
// The probable words' places; messageIndex gives the place in the output's
// list of messages for the engine's index.
QJsonArray CribsJson(const abc::search::Candidate &candidate, const std::vector<int> &messageIndex = {});
void PrintJson(const QJsonObject &object, std::ostream &out);
QString FileNameJson(const std::string &file);
