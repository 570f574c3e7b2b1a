// Success and speed of the key search on German text it was not built from.
//
// Each message is a stretch of held-out German, enciphered under a key of
// random letters, a word of the word list, or a phrase of two words of the
// word list or of the workbench's keywords, with ABC or ABCD; the search
// knows neither key length nor method. A key counts as recovered when at
// least 95 % of the plaintext comes out right. Counters per cell:
// recovered (share), median_s and worst_s (wall time per message, two
// threads), method_right (share of first guesses from the letter counts).
//
// KEY_SEARCH_MESSAGES (default 20) messages per cell, KEY_SEARCH_SECONDS
// (default 30) per message; the frontier cells take KEY_SEARCH_FRONTIER_
// MESSAGES (default 6) messages and 10 s each, full rectangles unless
// KEY_SEARCH_RAGGED is set.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "analysis/joint_scorer.h"
#include "analysis/key_search.h"
#include "analysis/order_scorer.h"
#include "analysis/word_list.h"
#include "bench/key_search/held_out.h"
#include "engine/builtin_keywords.h"
#include "engine/cipher.h"

namespace {

using abc::CipherMethod;
using namespace abc::search;

using bench::EnvInt;
using bench::HeldOut;

enum class KeyKind { Random, Word, WordPair, KeywordPair };

struct Message {
    std::string plain;
    std::string key;
    CipherMethod method;
    std::string cipher;
};

Message MakeMessage(std::mt19937_64 &random, int length, int minKey, int maxKey, KeyKind kind)
{
    const std::string &text = HeldOut();
    Message message;
    message.plain = text.substr(random() % (text.size() - length), length);
    const int columns = minKey + static_cast<int>(random() % (maxKey - minKey + 1));
    if (kind == KeyKind::Random) {
        for (int i = 0; i < columns; ++i)
            message.key += static_cast<char>('A' + random() % 26);
    } else {
        const auto &words = WordListKeys("/usr/share/dict/ngerman");
        const std::vector<std::string> &keywords = abc::BuiltInKeywords();
        const auto draw = [&]() -> const std::string & {
            return kind == KeyKind::KeywordPair ? keywords.at(random() % keywords.size())
                                                : words.at(random() % words.size()).key;
        };
        do {
            message.key = draw();
            if (kind != KeyKind::Word)
                message.key += draw();
        } while (static_cast<int>(message.key.size()) < minKey || static_cast<int>(message.key.size()) > maxKey
                 || static_cast<int>(message.key.size()) > length / 2);
    }
    message.method = random() % 2 ? CipherMethod::ABC : CipherMethod::ABCD;
    message.cipher = abc::EncipherText(message.plain, message.key, message.method);
    return message;
}

void RunCell(benchmark::State &state, int length, int minKey, int maxKey, KeyKind kind, int messages, double seconds)
{
    for (auto _ : state) {
        std::mt19937_64 random(static_cast<std::uint64_t>(length) * 1000 + minKey * 50 + maxKey
                               + (kind == KeyKind::Word ? 7 : 0));
        std::vector<double> times;
        int recovered = 0;
        int methodRight = 0;
        for (int m = 0; m < messages; ++m) {
            const Message message = MakeMessage(random, length, minKey, maxKey, kind);
            SearchOptions options;
            options.timeLimitSeconds = seconds;
            options.threads = 2;
            options.keywords = abc::BuiltInKeywords();
            const auto start = std::chrono::steady_clock::now();
            const SearchResult result = FindKey(message.cipher, options);
            times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            methodRight += result.evidence.likeliest == message.method;
            if (result.candidates.empty())
                continue;
            const std::string &plain = result.candidates.front().plainText;
            int right = 0;
            for (int i = 0; i < length; ++i)
                right += plain[i] == message.plain[i];
            recovered += right * 100 >= 95 * length;
        }
        std::sort(times.begin(), times.end());
        state.counters["recovered"] = static_cast<double>(recovered) / messages;
        state.counters["median_s"] = times[times.size() / 2];
        state.counters["worst_s"] = times.back();
        state.counters["method_right"] = static_cast<double>(methodRight) / messages;
        state.counters["messages"] = messages;
    }
}

void RegisterCells()
{
    const int messages = EnvInt("KEY_SEARCH_MESSAGES", 20);
    const double seconds = EnvInt("KEY_SEARCH_SECONDS", 30);
    struct Cell {
        int length;
        int minKey;
        int maxKey;
        KeyKind kind;
    };
    const Cell cells[] = {
        {100, 2, 25, KeyKind::Random},      {150, 2, 30, KeyKind::Random},    {400, 2, 30, KeyKind::Random},
        {400, 31, 45, KeyKind::Random},     {1000, 2, 45, KeyKind::Random},   {150, 2, 45, KeyKind::Word},
        {400, 2, 45, KeyKind::Word},        {150, 24, 35, KeyKind::WordPair}, {400, 16, 45, KeyKind::WordPair},
        {150, 2, 45, KeyKind::KeywordPair},
    };
    const char *const kindNames[] = {"/random_letters", "/word_list", "/word_list_pairs", "/keyword_pairs"};
    for (const Cell &cell : cells) {
        const std::string name = "Recovery/" + std::to_string(cell.length) + "_letters/keys_"
            + std::to_string(cell.minKey) + "-" + std::to_string(cell.maxKey) + kindNames[static_cast<int>(cell.kind)];
        benchmark::RegisterBenchmark(name.c_str(),
                                     [=](benchmark::State &state) {
                                         RunCell(state, cell.length, cell.minKey, cell.maxKey, cell.kind, messages,
                                                 seconds);
                                     })
            ->Iterations(1)
            ->Unit(benchmark::kSecond)
            ->UseRealTime();
    }

    // Where the search stops working: for each key length, the message
    // lengths around the point where half the keys come back. Full
    // rectangles (the message fills every row) and a last row two thirds
    // full are told apart: a short column moves every column read after it.
    const int frontierMessages = EnvInt("KEY_SEARCH_FRONTIER_MESSAGES", 6);
    const bool ragged = std::getenv("KEY_SEARCH_RAGGED") != nullptr;
    for (const int columns : {10, 20, 30, 45}) {
        for (const int rows : {4, 6, 8, 12, 20}) {
            const int length = columns * rows + (ragged ? columns * 2 / 3 : 0);
            if (length < 40)
                continue;
            const std::string name = "Frontier/" + std::to_string(columns) + "_columns/" + std::to_string(length)
                + "_letters" + (ragged ? "/ragged" : "/full_rows");
            benchmark::RegisterBenchmark(name.c_str(),
                                         [=](benchmark::State &state) {
                                             RunCell(state, length, columns, columns, KeyKind::Random, frontierMessages,
                                                     10);
                                         })
                ->Iterations(1)
                ->Unit(benchmark::kSecond)
                ->UseRealTime();
        }
    }
}

// The method as the letter counts tell it, on 200-letter messages.
void MethodDetection(benchmark::State &state)
{
    for (auto _ : state) {
        std::mt19937_64 random(200);
        int right = 0;
        constexpr int Messages = 2000;
        for (int m = 0; m < Messages; ++m) {
            const Message message = MakeMessage(random, static_cast<int>(state.range(0)), 2, 45, KeyKind::Random);
            right += DetectMethod(message.cipher).likeliest == message.method;
        }
        state.counters["method_right"] = static_cast<double>(right) / Messages;
    }
}
BENCHMARK(MethodDetection)->Arg(100)->Arg(200)->Arg(400)->Iterations(1);

// One scoring of a column order, the search's inner step.
void ScoreOrder(benchmark::State &state)
{
    const int length = static_cast<int>(state.range(0));
    const int columns = static_cast<int>(state.range(1));
    const std::vector<std::uint8_t> letters = LetterCodes(HeldOut().substr(0, length));
    const OrderScorer scorer(letters, columns, 3);
    std::vector<int> rankOf(columns);
    std::iota(rankOf.begin(), rankOf.end(), 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(scorer.score(rankOf.data()));
    state.SetItemsProcessed(state.iterations() * length);
}
BENCHMARK(ScoreOrder)->Args({100, 15})->Args({400, 30})->Args({1000, 45});

// The same for a day's traffic: messages of 40-80 letters under one key,
// each read under its own shape.
void ScoreSharedOrder(benchmark::State &state)
{
    const int count = static_cast<int>(state.range(0));
    const int columns = static_cast<int>(state.range(1));
    std::vector<std::vector<std::uint8_t>> messages;
    int letters = 0;
    for (int m = 0; m < count; ++m) {
        const int length = 40 + 37 * m % 41;
        messages.push_back(LetterCodes(HeldOut().substr(100 * m, length)));
        letters += length;
    }
    const JointScorer scorer(messages, columns, 3);
    std::vector<int> rankOf(columns);
    std::iota(rankOf.begin(), rankOf.end(), 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(scorer.score(rankOf.data()));
    state.SetItemsProcessed(state.iterations() * letters);
}
BENCHMARK(ScoreSharedOrder)->Args({5, 32})->Args({8, 40});

} // namespace

int main(int argc, char **argv)
{
    RegisterCells();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
