#include "analysis/crib_seeds.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "analysis/german_ngrams.h"
#include "engine/matrix_shape.h"

namespace abc::search {

namespace {

// Partial placements kept while the word's first three columns are placed,
// before any quadgram is complete, and after.
constexpr std::size_t OpeningWidth = 4096;
// The rows around the word can rank the right placement low even at its
// own place (an 11-letter word over four rows lost it with 64 kept).
constexpr std::size_t BeamWidth = 256;
// Seeds one place gives at most: a place whose rows read well by chance
// would otherwise fill those kept with variations of one placement.
constexpr std::size_t SeedsPerPlace = 64;
// The cost of a quadgram of random letters, log10(26^4) in steps of
// 1/QuadgramUnit.
constexpr long RandomQuadgramCost = 181;

struct Partial {
    std::vector<int> starts; // by the word's letter index
    long evidence = 0;
};

// A stretch of the ciphertext this many letters long holds between so
// many columns of rows or rows - 1 letters.
int FewestColumns(int letters, int rows)
{
    return (letters + rows - 1) / rows;
}

int MostColumns(int letters, int rows)
{
    return letters / (rows - 1);
}

// The stretches of the ciphertext that no column placed holds. Those left
// take exactly the columns left when their count lies between the sums of
// the fewest and the most columns of every stretch.
class FreeStretches
{
public:
    FreeStretches(const std::vector<char> &taken, int rows)
        : m_rows(rows)
        , m_begin(taken.size())
        , m_end(taken.size())
    {
        const int length = static_cast<int>(taken.size());
        for (int begin = 0; begin < length;) {
            if (taken[begin]) {
                ++begin;
                continue;
            }
            int end = begin;
            while (end < length && !taken[end])
                ++end;
            std::fill(m_begin.begin() + begin, m_begin.begin() + end, begin);
            std::fill(m_end.begin() + begin, m_end.begin() + end, end);
            m_fewest += fewest(end - begin);
            m_most += most(end - begin);
            begin = end;
        }
    }

    // Whether a column over [start, start + height) lies in one stretch and
    // leaves room for exactly the columns left after it.
    bool leavesRoom(int start, int height, int left) const
    {
        const int end = start + height;
        if (m_end[start] < end) // a letter taken, or the stretch too short
            return false;
        const int before = start - m_begin[start];
        const int after = m_end[start] - end;
        if (fewest(before) > most(before) || fewest(after) > most(after))
            return false;
        const int whole = m_end[start] - m_begin[start];
        const int lowest = m_fewest - fewest(whole) + fewest(before) + fewest(after);
        const int highest = m_most - most(whole) + most(before) + most(after);
        return lowest <= left && left <= highest;
    }

private:
    int fewest(int letters) const { return FewestColumns(letters, m_rows); }
    int most(int letters) const { return MostColumns(letters, m_rows); }

    int m_rows;
    std::vector<int> m_begin; // of the stretch each free letter lies in
    std::vector<int> m_end;
    int m_fewest = 0;
    int m_most = 0;
};

// One message under one key length and period, the word tried at one place
// after another.
class Placer
{
public:
    Placer(const std::vector<std::uint8_t> &letters, int columns, int period);

    // Below two rows no other row tells the word's columns apart.
    bool usable() const { return m_shape.rows >= 2; }
    int length() const { return static_cast<int>(m_letters.size()); }
    void place(const std::string &word, int at, std::vector<CribSeed> &seeds) const;
    std::vector<int> complete(const CribSeed &seed, std::size_t width) const;

private:
    int columnOf(int at, int index) const { return (at + index) % m_shape.columns; }
    std::vector<int> candidateStarts(const std::string &word, int at, int index) const;
    bool fits(const std::vector<int> &starts, int at, int start) const;
    long gain(const std::vector<int> &starts, int at, bool wordRow = false) const;
    bool assignRanks(const std::vector<int> &starts, int at, CribSeed &seed) const;

    const std::vector<std::uint8_t> &m_letters;
    MatrixShape m_shape;
    int m_period;
    // Whether a column's stretch can start there: the k-th column read starts
    // at k * (rows - 1) + m, m long columns read before it.
    std::vector<char> m_possibleStart;
};

Placer::Placer(const std::vector<std::uint8_t> &letters, int columns, int period)
    : m_letters(letters)
    , m_shape(MatrixShape::Of(static_cast<int>(letters.size()), columns))
    , m_period(period)
    , m_possibleStart(letters.size(), 0)
{
    const int shortColumns = m_shape.columns - m_shape.longColumns;
    for (int rank = 0; rank < m_shape.columns; ++rank) {
        for (int before = std::max(0, rank - shortColumns); before <= std::min(rank, m_shape.longColumns); ++before) {
            const int start = rank * (m_shape.rows - 1) + before;
            if (start < length())
                m_possibleStart[start] = 1;
        }
    }
}

// The starts at which the column under the word's letter index holds the
// letters the word puts there, shifted as the cipher shifts them.
std::vector<int> Placer::candidateStarts(const std::string &word, int at, int index) const
{
    const int height = m_shape.height(columnOf(at, index));
    const int wordLength = static_cast<int>(word.size());
    std::vector<int> starts;
    for (int start = 0; start + height <= length(); ++start) {
        bool holds = m_possibleStart[start] != 0;
        for (int letter = index; holds && letter < wordLength; letter += m_shape.columns) {
            const int position = at + letter;
            const int expected = (word[letter] - 'A' + position % m_period) % 26;
            holds = m_letters[start + position / m_shape.columns] == expected;
        }
        if (holds)
            starts.push_back(start);
    }
    return starts;
}

// Whether a stretch for the next letter index keeps clear of those placed.
bool Placer::fits(const std::vector<int> &starts, int at, int start) const
{
    const int index = static_cast<int>(starts.size());
    const int end = start + m_shape.height(columnOf(at, index));
    for (int placed = 0; placed < index; ++placed) {
        const int placedEnd = starts[placed] + m_shape.height(columnOf(at, placed));
        if (start < placedEnd && starts[placed] < end)
            return false;
    }
    return true;
}

// What the last letter index placed adds: the quadgrams it ends in the rows
// above and below the word, German against random.
long Placer::gain(const std::vector<int> &starts, int at, bool wordRow) const
{
    const int last = static_cast<int>(starts.size()) - 1;
    if (last < 3)
        return 0;
    const int n = m_shape.columns;
    long sum = 0;
    for (int rowsAway = -m_shape.rows; rowsAway <= m_shape.rows; ++rowsAway) {
        const int first = at + last - 3 + rowsAway * n;
        if ((rowsAway == 0 && !wordRow) || first < 0 || first + 3 >= length())
            continue;
        int index = 0;
        for (int step = 0; step < 4; ++step) {
            const int position = first + step;
            const int letter = m_letters[starts[last - 3 + step] + position / n] - position % m_period;
            index = index * 26 + (letter < 0 ? letter + 26 : letter);
        }
        sum += RandomQuadgramCost - QuadgramCost[index];
    }
    return sum;
}

void Placer::place(const std::string &word, int at, std::vector<CribSeed> &seeds) const
{
    const int span = std::min(static_cast<int>(word.size()), m_shape.columns);
    std::vector<std::vector<int>> candidates;
    for (int index = 0; index < span; ++index) {
        candidates.push_back(candidateStarts(word, at, index));
        if (candidates.back().empty())
            return;
    }
    // Each step scores every extension in place and copies only those kept.
    struct Extension {
        std::size_t from;
        int start;
        long evidence;
    };
    std::vector<Partial> beam(1);
    std::vector<Extension> extensions;
    for (int index = 0; index < span && !beam.empty(); ++index) {
        extensions.clear();
        for (std::size_t from = 0; from < beam.size(); ++from) {
            Partial &partial = beam[from];
            for (const int start : candidates[index]) {
                if (!fits(partial.starts, at, start))
                    continue;
                partial.starts.push_back(start);
                extensions.push_back({from, start, partial.evidence + gain(partial.starts, at)});
                partial.starts.pop_back();
            }
        }
        const std::size_t width = std::min(extensions.size(), index < 3 ? OpeningWidth : BeamWidth);
        std::partial_sort(extensions.begin(), extensions.begin() + static_cast<std::ptrdiff_t>(width), extensions.end(),
                          [](const Extension &a, const Extension &b) { return a.evidence > b.evidence; });
        std::vector<Partial> next(width);
        for (std::size_t i = 0; i < width; ++i) {
            next[i].starts.reserve(span);
            next[i].starts = beam[extensions[i].from].starts;
            next[i].starts.push_back(extensions[i].start);
            next[i].evidence = extensions[i].evidence;
        }
        beam = std::move(next);
    }
    std::size_t given = 0;
    for (auto partial = beam.begin(); partial != beam.end() && given < SeedsPerPlace; ++partial) {
        CribSeed seed{m_period, {}, partial->evidence, 0, at, partial->starts};
        if (assignRanks(partial->starts, at, seed)) {
            seeds.push_back(std::move(seed));
            ++given;
        }
    }
}

// The ranks the starts give: between two stretches lie as many columns as
// fill the gap, each rows - 1 letters long or one more; where that leaves a
// choice, the count nearest the gap over the mean column, so long as all
// add up to the key length.
bool Placer::assignRanks(const std::vector<int> &starts, int at, CribSeed &seed) const
{
    const int placed = static_cast<int>(starts.size());
    std::vector<int> byStart(placed);
    for (int i = 0; i < placed; ++i)
        byStart[i] = i;
    std::sort(byStart.begin(), byStart.end(), [&starts](int a, int b) { return starts[a] < starts[b]; });
    std::vector<int> gaps;
    int end = 0;
    for (const int index : byStart) {
        gaps.push_back(starts[index] - end);
        end = starts[index] + m_shape.height(columnOf(at, index));
    }
    gaps.push_back(length() - end);

    const int others = m_shape.columns - placed;
    const double meanHeight = static_cast<double>(length()) / m_shape.columns;
    const int rows = m_shape.rows;
    constexpr double Impossible = std::numeric_limits<double>::infinity();
    // cost[g][t]: the least distance from the means with t columns in the
    // first g gaps.
    std::vector<std::vector<double>> cost(gaps.size() + 1, std::vector<double>(others + 1, Impossible));
    cost[0][0] = 0;
    for (std::size_t g = 0; g < gaps.size(); ++g) {
        const int fewest = FewestColumns(gaps[g], rows);
        const int most = MostColumns(gaps[g], rows);
        for (int t = 0; t <= others; ++t) {
            for (int count = fewest; count <= most && t + count <= others && cost[g][t] < Impossible; ++count)
                cost[g + 1][t + count] =
                    std::min(cost[g + 1][t + count], cost[g][t] + std::abs(count - gaps[g] / meanHeight));
        }
    }
    if (cost[gaps.size()][others] == Impossible)
        return false;
    // Back from the last gap, the counts that gave the least cost.
    std::vector<int> counts(gaps.size());
    for (int g = static_cast<int>(gaps.size()) - 1, t = others; g >= 0; --g) {
        for (int count = 0; count <= t; ++count) {
            const double via = cost[g][t - count] + std::abs(count - gaps[g] / meanHeight);
            const bool fitsGap = FewestColumns(gaps[g], rows) <= count && count <= MostColumns(gaps[g], rows);
            if (fitsGap && cost[g][t - count] < Impossible && std::abs(via - cost[g + 1][t]) < 1e-9) {
                counts[g] = count;
                t -= count;
                break;
            }
        }
    }
    int rank = 0;
    for (int i = 0; i < placed; ++i) {
        rank += counts[i];
        seed.ranks.emplace_back(columnOf(at, byStart[i]), rank++);
    }
    return true;
}

std::vector<int> Placer::complete(const CribSeed &seed, std::size_t width) const
{
    struct Grown {
        std::vector<int> starts;
        std::vector<char> taken; // the ciphertext's letters under columns placed
        long evidence = 0;
    };
    Grown first{seed.starts, std::vector<char>(m_letters.size(), 0), 0};
    for (std::size_t index = 0; index < seed.starts.size(); ++index) {
        const int height = m_shape.height(columnOf(seed.at, static_cast<int>(index)));
        std::fill_n(first.taken.begin() + seed.starts[index], height, 1);
    }
    std::vector<Grown> beam{std::move(first)};
    for (int index = static_cast<int>(seed.starts.size()); index < m_shape.columns && !beam.empty(); ++index) {
        const int height = m_shape.height(columnOf(seed.at, index));
        const int left = m_shape.columns - index - 1;
        struct Choice {
            std::size_t from;
            int start;
            long evidence;
        };
        std::vector<Choice> choices;
        for (std::size_t from = 0; from < beam.size(); ++from) {
            Grown &grown = beam[from];
            const FreeStretches stretches(grown.taken, m_shape.rows);
            for (int start = 0; start + height <= length(); ++start) {
                if (!m_possibleStart[start] || !stretches.leavesRoom(start, height, left))
                    continue;
                grown.starts.push_back(start);
                choices.push_back({from, start, grown.evidence + gain(grown.starts, seed.at, true)});
                grown.starts.pop_back();
            }
        }
        const std::size_t kept = std::min(width, choices.size());
        std::partial_sort(choices.begin(), choices.begin() + static_cast<std::ptrdiff_t>(kept), choices.end(),
                          [](const Choice &a, const Choice &b) { return a.evidence > b.evidence; });
        std::vector<Grown> next;
        for (std::size_t i = 0; i < kept; ++i) {
            Grown &grown = next.emplace_back(beam[choices[i].from]);
            grown.starts.push_back(choices[i].start);
            std::fill_n(grown.taken.begin() + choices[i].start, height, 1);
            grown.evidence = choices[i].evidence;
        }
        beam = std::move(next);
    }
    if (beam.empty())
        return {};
    // Stretches that tile the ciphertext are read in the order they start.
    const std::vector<int> &starts = beam.front().starts;
    std::vector<int> byStart(starts.size());
    for (std::size_t i = 0; i < byStart.size(); ++i)
        byStart[i] = static_cast<int>(i);
    std::sort(byStart.begin(), byStart.end(), [&starts](int a, int b) { return starts[a] < starts[b]; });
    std::vector<int> rankOf(m_shape.columns);
    for (int rank = 0; rank < m_shape.columns; ++rank)
        rankOf[columnOf(seed.at, byStart[rank])] = rank;
    return rankOf;
}

} // namespace

std::vector<int> CompleteCribSeed(const std::vector<std::vector<std::uint8_t>> &messages, int columns,
                                  const CribSeed &seed, std::size_t width)
{
    const Placer placer(messages[seed.message], columns, seed.period);
    return placer.complete(seed, width);
}

std::vector<CribSeed> FindCribSeeds(const std::vector<std::vector<std::uint8_t>> &messages,
                                    const std::vector<std::string> &cribs, int columns, int period, std::size_t kept,
                                    const std::function<bool()> &halted)
{
    const auto better = [](const CribSeed &a, const CribSeed &b) { return a.evidence > b.evidence; };
    std::vector<CribSeed> seeds;
    for (const std::vector<std::uint8_t> &letters : messages) {
        const Placer placer(letters, columns, period);
        if (!placer.usable())
            continue;
        for (const std::string &word : cribs) {
            for (int at = 0; at + static_cast<int>(word.size()) <= placer.length(); ++at) {
                if (halted())
                    return {};
                const std::size_t before = seeds.size();
                placer.place(word, at, seeds);
                for (std::size_t added = before; added < seeds.size(); ++added)
                    seeds[added].message = static_cast<int>(&letters - messages.data());
                if (seeds.size() > 8 * kept) {
                    std::stable_sort(seeds.begin(), seeds.end(), better);
                    seeds.resize(kept);
                }
            }
        }
    }
    std::stable_sort(seeds.begin(), seeds.end(), better);
    std::vector<CribSeed> distinct;
    for (CribSeed &seed : seeds) {
        if (distinct.size() >= kept)
            break;
        const bool known = std::any_of(distinct.begin(), distinct.end(),
                                       [&seed](const CribSeed &other) { return other.ranks == seed.ranks; });
        if (!known)
            distinct.push_back(std::move(seed));
    }
    return distinct;
}

} // namespace abc::search
