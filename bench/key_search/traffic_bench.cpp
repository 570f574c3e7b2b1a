// The key search on a day's traffic, on German text it was not built from:
// several messages under one key, a message with a probable word, and the
// single messages at the frontier of today's search.
//
// A pile is searched as the workbench searches it (key length and method
// unknown, two threads, 30 s); it counts as recovered when at least 95 % of
// all letters of all its messages under the key come out right. A stray (a
// message under another key) must be flagged as not German, the others
// recovered. A batch is a folder of unrelated messages, searched as the
// command line searches them: side by side, one thread each. Counters: recovered (share of
// piles), median_s, worst_s, and cores_busy (the search threads' CPU time
// over the wall time of every core).
//
// TRAFFIC_PILES (default 20) piles per row, TRAFFIC_BATCH_FILES (default
// 100) messages in the batch, TRAFFIC_FRONTIER_PILES (default 8) per
// frontier cell and TRAFFIC_FRONTIER_SECONDS (default 30) per pile there.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "analysis/key_search.h"
#include "bench/key_search/held_out.h"
#include "engine/builtin_keywords.h"
#include "engine/cipher.h"

namespace {

using abc::CipherMethod;
using namespace abc::search;

struct Pile {
    std::vector<std::string> plains;
    std::vector<std::string> ciphers;
    int stray = -1;   // index of the message under another key
    std::string crib; // a probable word, when the row has one
};

struct Row {
    int messages;
    int minLength;
    int maxLength;
    int minKey;
    int maxKey;
    bool stray = false;
    bool crib = false;
};

std::string Stretch(std::mt19937_64 &random, int length)
{
    const std::string &text = bench::HeldOut();
    return text.substr(random() % (text.size() - length), length);
}

Pile MakePile(std::mt19937_64 &random, const Row &row)
{
    Pile pile;
    const int columns = row.minKey + static_cast<int>(random() % (row.maxKey - row.minKey + 1));
    const std::string key = bench::RandomKey(random, columns);
    const CipherMethod method = random() % 2 ? CipherMethod::ABC : CipherMethod::ABCD;
    if (row.stray)
        pile.stray = static_cast<int>(random() % row.messages);
    for (int m = 0; m < row.messages; ++m) {
        const int length = row.minLength + static_cast<int>(random() % (row.maxLength - row.minLength + 1));
        pile.plains.push_back(Stretch(random, length));
        const std::string strayKey = m == pile.stray ? bench::RandomKey(random, columns) : key;
        pile.ciphers.push_back(abc::EncipherText(pile.plains.back(), strayKey, method));
    }
    if (row.crib) {
        const std::string &plain = pile.plains.front();
        const int length = 7 + static_cast<int>(random() % 6);
        pile.crib = plain.substr(random() % (plain.size() - length), length);
    }
    return pile;
}

bool Recovered(const Pile &pile, const SearchResult &result)
{
    if (result.candidates.empty())
        return false;
    const Candidate &best = result.candidates.front();
    int right = 0;
    int letters = 0;
    for (std::size_t m = 0; m < pile.plains.size(); ++m) {
        if (static_cast<int>(m) == pile.stray) {
            if (m >= best.messages.size() || best.messages[m].readsAsGerman)
                return false;
            continue;
        }
        const std::string found = m < best.messages.size() ? best.messages[m].plainText : std::string();
        right += bench::RightLetters(found, pile.plains[m]);
        letters += static_cast<int>(pile.plains[m].size());
    }
    return right * 100 >= 95 * letters;
}

double ProcessCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &time) { return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

constexpr int Threads = 2;

SearchResult Search(const Pile &pile, double seconds, unsigned threads = Threads)
{
    SearchOptions options;
    options.timeLimitSeconds = seconds;
    options.threads = threads;
    options.keywords = abc::BuiltInKeywords();
    if (!pile.crib.empty())
        options.cribs.push_back(pile.crib);
    if (pile.ciphers.size() == 1)
        return FindKey(pile.ciphers.front(), options);
    return FindSharedKey(pile.ciphers, options);
}

void RunRow(benchmark::State &state, const Row &row, int piles, double seconds, std::uint64_t seed)
{
    for (auto _ : state) {
        std::mt19937_64 random(seed);
        std::vector<double> times;
        int recovered = 0;
        const auto rowStart = std::chrono::steady_clock::now();
        const double cpuStart = ProcessCpuSeconds();
        for (int p = 0; p < piles; ++p) {
            const Pile pile = MakePile(random, row);
            const auto start = std::chrono::steady_clock::now();
            const SearchResult result = Search(pile, seconds);
            times.push_back(bench::SecondsSince(start));
            recovered += Recovered(pile, result);
        }
        std::sort(times.begin(), times.end());
        state.counters["recovered"] = static_cast<double>(recovered) / piles;
        state.counters["median_s"] = times[times.size() / 2];
        state.counters["worst_s"] = times.back();
        state.counters["piles"] = piles;
        state.counters["cores_busy"] = (ProcessCpuSeconds() - cpuStart) / (bench::SecondsSince(rowStart) * Threads);
    }
}

void RunBatch(benchmark::State &state, const Row &row, int files, double seconds, std::uint64_t seed)
{
    for (auto _ : state) {
        std::mt19937_64 random(seed);
        std::vector<Pile> batch;
        for (int file = 0; file < files; ++file)
            batch.push_back(MakePile(random, row));
        std::vector<double> times(batch.size());
        std::vector<char> recovered(batch.size());
        std::atomic<std::size_t> next = 0;
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = ProcessCpuSeconds();
        {
            std::vector<std::jthread> workers;
            for (unsigned worker = 0; worker < Threads; ++worker)
                workers.emplace_back([&] {
                    for (std::size_t file = next++; file < batch.size(); file = next++) {
                        const auto searched = std::chrono::steady_clock::now();
                        recovered[file] = Recovered(batch[file], Search(batch[file], seconds, 1));
                        times[file] = bench::SecondsSince(searched);
                    }
                });
        }
        const double wall = bench::SecondsSince(start);
        std::sort(times.begin(), times.end());
        state.counters["recovered"] = static_cast<double>(std::count(recovered.begin(), recovered.end(), 1)) / files;
        state.counters["median_s"] = times[times.size() / 2];
        state.counters["worst_s"] = times.back();
        state.counters["total_s"] = wall;
        state.counters["piles"] = files;
        state.counters["cores_busy"] = (ProcessCpuSeconds() - cpuStart) / (wall * Threads);
    }
}

std::string RowName(const char *kind, const Row &row)
{
    return std::string(kind) + "/" + std::to_string(row.messages) + "_messages/" + std::to_string(row.minLength) + "-"
        + std::to_string(row.maxLength) + "_letters/keys_" + std::to_string(row.minKey) + "-"
        + std::to_string(row.maxKey);
}

void RegisterRows()
{
    const int piles = bench::EnvInt("TRAFFIC_PILES", 20);
    const Row rows[] = {
        {3, 60, 100, 2, 30},  {5, 40, 80, 2, 35},         {8, 40, 80, 30, 45},
        {5, 80, 150, 38, 45}, {6, 60, 100, 20, 30, true}, {1, 100, 150, 25, 40, false, true},
    };
    std::uint64_t seed = 19;
    for (const Row &row : rows) {
        const char *kind = row.stray ? "Stray" : row.crib ? "Crib" : "SharedKey";
        benchmark::RegisterBenchmark(RowName(kind, row).c_str(),
                                     [=](benchmark::State &state) { RunRow(state, row, piles, 30, seed); })
            ->Iterations(1)
            ->Unit(benchmark::kSecond)
            ->UseRealTime();
        ++seed;
    }
    const int files = bench::EnvInt("TRAFFIC_BATCH_FILES", 100);
    const Row batch{1, 250, 400, 2, 20};
    benchmark::RegisterBenchmark(("Batch/" + std::to_string(files) + "_files/250-400_letters/keys_2-20").c_str(),
                                 [=](benchmark::State &state) { RunBatch(state, batch, files, 30, 77); })
        ->Iterations(1)
        ->Unit(benchmark::kSecond)
        ->UseRealTime();

    // Where it stops working: for 1, 3 and 5 messages under one key, piles
    // of a total length around the point where half the keys come back,
    // each message's last row ragged.
    const int frontierPiles = bench::EnvInt("TRAFFIC_FRONTIER_PILES", 8);
    const int frontierSeconds = bench::EnvInt("TRAFFIC_FRONTIER_SECONDS", 30);
    for (const int messages : {1, 3, 5}) {
        for (const int columns : {10, 20, 30, 45}) {
            for (const int total : {columns * 3, columns * 5, columns * 8, columns * 12, columns * 20}) {
                const int each = total / messages;
                if (each < 20)
                    continue;
                const Row row{messages, each - each / 8, each + each / 8, columns, columns};
                const std::string name = "TrafficFrontier/" + std::to_string(messages) + "_messages/"
                    + std::to_string(columns) + "_columns/" + std::to_string(total) + "_letters";
                benchmark::RegisterBenchmark(name.c_str(),
                                             [=](benchmark::State &state) {
                                                 RunRow(state, row, frontierPiles, frontierSeconds,
                                                        1000 + columns * 7 + messages);
                                             })
                    ->Iterations(1)
                    ->Unit(benchmark::kSecond)
                    ->UseRealTime();
            }
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    RegisterRows();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
