#pragma once

#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

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

} // namespace abc::search
