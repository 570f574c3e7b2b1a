#include "analysis/column_joins.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numeric>
#include <random>

#include "analysis/german_ngrams.h"
#include "analysis/long_columns.h"
#include "engine/matrix_shape.h"

namespace abc::search {

namespace {

constexpr int Restarts = 12;
constexpr float Impossible = -1e9f;

using PairTable = std::array<std::array<float, 26>, 26>;

// How much likelier German makes each pair of neighbouring letters than
// chance (natural log), from the quadgrams' marginals.
const PairTable &PairInformation()
{
    static const PairTable table = [] {
        std::array<std::array<double, 26>, 26> pairs{};
        for (int index = 0; index < 26 * 26 * 26 * 26; ++index) {
            const double probability = std::pow(10.0, -QuadgramCost[index] / static_cast<double>(QuadgramUnit));
            const int letters[4] = {index / (26 * 26 * 26), index / (26 * 26) % 26, index / 26 % 26, index % 26};
            for (int at = 0; at < 3; ++at)
                pairs[letters[at]][letters[at + 1]] += probability;
        }
        std::array<double, 26> first{};
        std::array<double, 26> second{};
        double total = 0;
        for (int a = 0; a < 26; ++a) {
            for (int b = 0; b < 26; ++b) {
                first[a] += pairs[a][b];
                second[b] += pairs[a][b];
                total += pairs[a][b];
            }
        }
        PairTable information{};
        for (int a = 0; a < 26; ++a) {
            for (int b = 0; b < 26; ++b)
                information[a][b] = static_cast<float>(std::log(pairs[a][b] * total / (first[a] * second[b])));
        }
        return information;
    }();
    return table;
}

// The joins of every pair of stretches at every pair of starts they may
// have: the k-th column read starts k * (rows - 1) + m letters in, m the
// long columns read before it, which is at most k and at least k less the
// short columns.
class JoinTable
{
public:
    JoinTable(const std::vector<std::uint8_t> &letters, const MatrixShape &shape, int period);

    int columns() const { return m_shape.columns; }
    // How well the stretch read leftRank-th, leftBefore long columns read
    // before it, joins on its right the one read rightRank-th.
    float join(int leftRank, int leftBefore, int rightRank, int rightBefore) const
    {
        // A long column moved across others passes starts no column can have.
        if (!possible(leftRank, leftBefore) || !possible(rightRank, rightBefore))
            return Impossible;
        return m_joins[((static_cast<std::size_t>(leftRank) * m_shape.columns + rightRank) * m_range + leftBefore
                        - lowest(leftRank))
                           * m_range
                       + rightBefore - lowest(rightRank)];
    }

private:
    bool possible(int rank, int before) const { return before >= lowest(rank) && before <= highest(rank); }
    int lowest(int rank) const { return std::max(0, rank - (m_shape.columns - m_shape.longColumns)); }
    int highest(int rank) const { return std::min(rank, m_shape.longColumns); }

    MatrixShape m_shape;
    int m_range = 0; // starts a stretch may have, at most
    std::vector<float> m_joins;
};

JoinTable::JoinTable(const std::vector<std::uint8_t> &letters, const MatrixShape &shape, int period)
    : m_shape(shape)
    , m_range(std::min(shape.longColumns, shape.columns - shape.longColumns) + 1)
    , m_joins(static_cast<std::size_t>(shape.columns) * shape.columns * m_range * m_range, Impossible)
{
    const PairTable &information = PairInformation();
    const int n = shape.columns;
    const int height = shape.rows - 1;
    // Each stretch unshifted as if read at each place in the period.
    auto unshifted = [&](int rank, int before, int place, int row) {
        const int shift = static_cast<int>((static_cast<long>(row) * n + place) % period);
        return (letters[rank * height + before + row] + 26 - shift) % 26;
    };
    for (int left = 0; left < n; ++left) {
        for (int right = 0; right < n; ++right) {
            if (left == right)
                continue;
            for (int leftBefore = lowest(left); leftBefore <= highest(left); ++leftBefore) {
                for (int rightBefore = lowest(right); rightBefore <= highest(right); ++rightBefore) {
                    float best = Impossible;
                    for (int place = 0; place < period; ++place) {
                        float sum = 0;
                        for (int row = 0; row < height; ++row)
                            sum += information[unshifted(left, leftBefore, place, row)]
                                              [unshifted(right, rightBefore, (place + 1) % period, row)];
                        best = std::max(best, sum);
                    }
                    m_joins[((static_cast<std::size_t>(left) * n + right) * m_range + leftBefore - lowest(left))
                                * m_range
                            + rightBefore - lowest(right)] = best;
                }
            }
        }
    }
}

// A guess at the long columns, by the long columns read before each
// column, and how well each stretch finds a neighbour on either side under
// it; kept up to date as one stretch's start changes at a time.
class Guess
{
public:
    Guess(const JoinTable &table, std::vector<int> longBefore)
        : m_table(table)
        , m_before(std::move(longBefore))
        , m_right(m_before.size())
        , m_left(m_before.size())
    {
        for (int rank = 0; rank < table.columns(); ++rank)
            rescore(rank);
    }

    const std::vector<int> &longBefore() const { return m_before; }
    double fit() const
    {
        double total = 0;
        for (std::size_t rank = 0; rank < m_before.size(); ++rank)
            total += m_right[rank].first + m_left[rank].first;
        return total;
    }

    void move(int rank, int longBefore)
    {
        m_before[rank] = longBefore;
        rescore(rank);
        for (int other = 0; other < m_table.columns(); ++other) {
            if (other == rank)
                continue;
            const float right = m_table.join(other, m_before[other], rank, longBefore);
            const float left = m_table.join(rank, longBefore, other, m_before[other]);
            if (m_right[other].second == rank && right < m_right[other].first)
                rescore(other);
            else if (m_left[other].second == rank && left < m_left[other].first)
                rescore(other);
            else {
                m_right[other] = std::max(m_right[other], {right, rank});
                m_left[other] = std::max(m_left[other], {left, rank});
            }
        }
    }

private:
    void rescore(int rank)
    {
        m_right[rank] = {Impossible, -1};
        m_left[rank] = {Impossible, -1};
        for (int other = 0; other < m_table.columns(); ++other) {
            if (other == rank)
                continue;
            m_right[rank] =
                std::max(m_right[rank], {m_table.join(rank, m_before[rank], other, m_before[other]), other});
            m_left[rank] = std::max(m_left[rank], {m_table.join(other, m_before[other], rank, m_before[rank]), other});
        }
    }

    const JoinTable &m_table;
    std::vector<int> m_before;
    // The best neighbour on each side: its join and its rank.
    std::vector<std::pair<float, int>> m_right;
    std::vector<std::pair<float, int>> m_left;
};

// Moves one long column to another place while that pays: the columns read
// between the two places then start a letter earlier or later.
double ClimbLongColumns(const JoinTable &table, std::vector<char> &isLong)
{
    const int n = table.columns();
    std::vector<int> longBefore(n);
    for (int rank = 1; rank < n; ++rank)
        longBefore[rank] = longBefore[rank - 1] + isLong[rank - 1];
    Guess guess(table, longBefore);
    double current = guess.fit();
    for (bool improved = true; improved;) {
        improved = false;
        for (int from = 0; from < n; ++from) {
            if (!isLong[from])
                continue;
            int bestTo = -1;
            double best = current + 1e-6;
            for (const int step : {1, -1}) {
                Guess trial = guess;
                for (int to = from + step; to >= 0 && to < n; to += step) {
                    const int changed = step > 0 ? to : to + 1;
                    trial.move(changed, trial.longBefore()[changed] - step);
                    if (!isLong[to] && trial.fit() > best) {
                        best = trial.fit();
                        bestTo = to;
                    }
                }
            }
            if (bestTo < 0)
                continue;
            isLong[from] = 0;
            isLong[bestTo] = 1;
            for (int rank = 1; rank < n; ++rank) {
                if (guess.longBefore()[rank] != guess.longBefore()[rank - 1] + isLong[rank - 1])
                    guess.move(rank, guess.longBefore()[rank - 1] + isLong[rank - 1]);
            }
            current = guess.fit();
            improved = true;
        }
    }
    return current;
}

} // namespace

std::vector<std::vector<int>> GuessStartsFromJoins(const std::vector<std::uint8_t> &letters, int columns, int period,
                                                   int count)
{
    const MatrixShape shape = MatrixShape::Of(static_cast<int>(letters.size()), columns);
    if (!shape.ragged() || shape.rows < 3)
        return {};
    const JoinTable table(letters, shape, period);
    std::mt19937_64 random(static_cast<std::uint64_t>(columns) * 7919 + static_cast<std::uint64_t>(period));
    std::map<std::vector<char>, double> found;
    for (int restart = 0; restart < Restarts; ++restart) {
        std::vector<char> isLong(columns, 0);
        std::fill(isLong.begin(), isLong.begin() + shape.longColumns, 1);
        std::shuffle(isLong.begin(), isLong.end(), random);
        const double fit = ClimbLongColumns(table, isLong);
        found.emplace(isLong, fit);
    }
    std::vector<std::pair<double, std::vector<char>>> ranked;
    for (const auto &[isLong, fit] : found)
        ranked.emplace_back(fit, isLong);
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    std::vector<std::vector<int>> guesses;
    for (const auto &[fit, isLong] : ranked) {
        if (static_cast<int>(guesses.size()) >= count)
            break;
        guesses.push_back(StartsOfLongColumns(shape, isLong));
    }
    return guesses;
}

} // namespace abc::search
