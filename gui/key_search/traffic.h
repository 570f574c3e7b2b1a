#pragma once

#include <QString>

#include <string>
#include <vector>

#include "analysis/key_search.h"

// A day's traffic as the key search dialog takes it in and shows it: the
// messages' sources, probable words and each message read under a key.

// A message as the dialog lists it: where it came from, and its letters
// cleaned as the input area's text is.
struct TrafficMessage {
    QString source; // the input area, "eingefügt" or a file's name
    std::string cipherText;
};

// A text file's message, or why it cannot be one (the message is then empty).
struct MessageFile {
    TrafficMessage message;
    QString error;
};
MessageFile ReadMessageFile(const QString &path);

// The probable words of the field, separated by spaces or commas and cleaned
// as text is; the error names a word that no message can hold.
struct ProbableWords {
    std::vector<std::string> words;
    QString error;
};
ProbableWords ParseProbableWords(const QString &field, std::size_t longestMessage);

// Each searched message's plaintext under the candidate in five-letter
// groups, marked when it does not read as German, then where each probable
// word stands; labels name the searched messages in order.
QString ReadingsText(const abc::search::Candidate &candidate, const std::vector<QString> &labels);
