#include "analysis/word_list.h"

#include <fstream>
#include <map>
#include <mutex>

#include "engine/column_key.h"
#include "engine/text_cleaning.h"

namespace abc::search {

std::string KeyForWord(std::string_view utf8Word)
{
    // Windows-1252 and Unicode agree on the letters that matter (umlauts
    // and ß); any other character outside ASCII disqualifies the word.
    std::string bytes;
    for (std::size_t i = 0; i < utf8Word.size(); ++i) {
        const auto lead = static_cast<unsigned char>(utf8Word[i]);
        if (lead < 0x80) {
            if (!((lead >= 'A' && lead <= 'Z') || (lead >= 'a' && lead <= 'z')))
                return {};
            bytes += static_cast<char>(lead);
        } else if ((lead == 0xC3) && i + 1 < utf8Word.size()) {
            const unsigned code = 0xC0u | (static_cast<unsigned char>(utf8Word[++i]) & 0x3Fu);
            if (code != 0xC4 && code != 0xD6 && code != 0xDC && code != 0xE4 && code != 0xF6 && code != 0xFC &&
                code != 0xDF)
                return {};
            bytes += static_cast<char>(code);
        } else {
            return {};
        }
    }
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
