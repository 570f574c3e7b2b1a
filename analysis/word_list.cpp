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
        return (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') || code == 0xC4 || code == 0xD6
            || code == 0xDC || code == 0xE4 || code == 0xF6 || code == 0xFC || code == 0xDF;
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

KeyWords::KeyWords(const std::vector<std::string> &keywords, const std::string &wordListPath, std::stop_token stop)
{
    for (const std::string &keyword : keywords) {
        if (std::all_of(keyword.begin(), keyword.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
            m_keys.push_back(&keyword);
    }
    // Long keys were often phrases. Those of the workbench's keywords are a
    // few thousand; those of the word list would be about 10^9 a key length.
    const std::size_t single = m_keys.size();
    const auto fits = [](std::size_t letters) { return letters <= static_cast<std::size_t>(MaxKeyLength); };
    for (std::size_t first = 0; first < single; ++first) {
        for (std::size_t second = 0; second < single; ++second) {
            const std::string two = *m_keys[first] + *m_keys[second];
            if (!fits(two.size()))
                continue;
            m_phrases.push_back(two);
            for (std::size_t third = 0; third < single; ++third) {
                if (fits(two.size() + m_keys[third]->size()))
                    m_phrases.push_back(two + *m_keys[third]);
            }
        }
    }
    for (const std::string &phrase : m_phrases)
        m_keys.push_back(&phrase);
    m_listedFrom = m_keys.size();
    m_listed = &WordListKeys(wordListPath, std::move(stop));
    for (const ListedWord &word : *m_listed)
        m_keys.push_back(&word.key);
}

const std::string &KeyWords::spelling(std::size_t index) const
{
    return index < m_listedFrom ? *m_keys[index] : (*m_listed)[index - m_listedFrom].spelling;
}

std::optional<std::size_t> KeyWords::firstWithOrder(const ColumnOrder &order) const
{
    for (std::size_t index = 0; index < m_keys.size(); ++index) {
        const std::string &key = *m_keys[index];
        if (key.size() == order.size() && KeyColumnOrder(key) == order)
            return index;
    }
    return std::nullopt;
}

} // namespace abc::search
