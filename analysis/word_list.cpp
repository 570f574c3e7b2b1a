#include "analysis/word_list.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <mutex>

#include "engine/column_key.h"
#include "engine/text_cleaning.h"
#include "engine/windows1252.h"

namespace abc::search {

std::string KeyForWord(std::string_view utf8Word)
{
    // Letters, umlauts and ß only: a word with any other character is no key.
    const std::string bytes = Utf8ToWindows1252(utf8Word);
    const bool keyable = std::all_of(bytes.begin(), bytes.end(), [](char byte) {
        const auto code = static_cast<unsigned char>(byte);
        return (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') || code == 0xC4 || code == 0xD6 ||
               code == 0xDC || code == 0xE4 || code == 0xF6 || code == 0xFC || code == 0xDF;
    });
    if (!keyable)
        return {};
    std::string key = CleanInputText(bytes);
    if (key.size() < 2 || key.size() > static_cast<std::size_t>(MaxKeyLength))
        return {};
    return key;
}

const std::vector<ListedWord> &WordListKeys(const std::string &path, std::stop_token stop)
{
    static std::mutex mutex;
    static std::map<std::string, std::vector<ListedWord>> lists;
    static const std::vector<ListedWord> none;
    const std::lock_guard lock(mutex);
    if (const auto known = lists.find(path); known != lists.end())
        return known->second;
    std::vector<ListedWord> words;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (words.size() % 4096 == 0 && stop.stop_requested())
            return none;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::string key = KeyForWord(line);
        if (!key.empty())
            words.push_back({std::move(key), line});
    }
    return lists.emplace(path, std::move(words)).first->second;
}

} // namespace abc::search
