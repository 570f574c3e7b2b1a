#pragma once

#include <cstddef>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "engine/column_key.h"

namespace abc::search {

// A keyword to try: the letters the key row would show and the word as the
// list spells it.
struct ListedWord {
    std::string key;
    std::string spelling;
};

// The words of a UTF-8 word list (one per line) as keys: cleaned as the
// workbench cleans a key typed from the list (umlauts spelled out, ß as SZ,
// small letters raised), words that keep other characters or fewer than 2
// or more than 45 letters left out. Empty when the file cannot be read.
// Read once per path and kept: the list does not change while the program
// runs. A stop while reading gives an empty list and keeps nothing.
const std::vector<ListedWord> &WordListKeys(const std::string &path, std::stop_token stop = {});

// The same cleaning for one UTF-8 word; empty when the word does not make a
// key.
std::string KeyForWord(std::string_view utf8Word);

// The words a search tries, in order: the workbench's keywords (those of
// capitals alone), phrases of two or three of them that fit a key, then the
// keys of a word list. Keeps pointers into the keywords, which must outlive
// it.
class KeyWords
{
public:
    KeyWords() = default;
    KeyWords(const std::vector<std::string> &keywords, const std::string &wordListPath, std::stop_token stop);
    // The phrases are held here and pointed at: moving keeps them in place,
    // copying would not.
    KeyWords(KeyWords &&) = default;
    KeyWords &operator=(KeyWords &&) = default;
    KeyWords(const KeyWords &) = delete;
    KeyWords &operator=(const KeyWords &) = delete;

    std::size_t size() const { return m_keys.size(); }
    const std::string &key(std::size_t index) const { return *m_keys[index]; }
    // The word as the workbench or the list spells it.
    const std::string &spelling(std::size_t index) const;
    // The first word whose key gives this column order.
    std::optional<std::size_t> firstWithOrder(const ColumnOrder &order) const;

private:
    std::vector<const std::string *> m_keys;
    std::vector<std::string> m_phrases;
    std::size_t m_listedFrom = 0; // where the word list's keys begin
    const std::vector<ListedWord> *m_listed = nullptr;
};

} // namespace abc::search
