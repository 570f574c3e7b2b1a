#include "analysis/long_columns.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "analysis/column_joins.h"
#include "analysis/german_ngrams.h"

namespace abc::search {

namespace {

// Above this the stretches tell their starts apart well enough for the
// plain climb.
constexpr int MaxRows = 400;
// Guesses are drawn from a flattened posterior, evidence weighted against
// the letter shares; both found by trial on held-out text.
constexpr double Temperature = 0.5;
constexpr double EvidenceWeight = 0.5;
constexpr double MaxEvidence = 2.0;
// Below this many rows the joins of two columns tell little; the guesses
// kept from them.
constexpr int MinJoinRows = 15;
constexpr int JoinGuesses = 4;

double LogSumExp(double a, double b)
{
    const double top = std::max(a, b);
    if (top == -INFINITY)
        return top;
    return top + std::log(std::exp(a - top) + std::exp(b - top));
}

} // namespace

bool LongColumnModel::Needed(int length, int columns)
{
    const MatrixShape shape = MatrixShape::Of(length, columns);
    return shape.ragged() && shape.rows <= MaxRows;
}

LongColumnModel::LongColumnModel(const std::vector<std::uint8_t> &letters, int columns, int period)
    : m_shape(MatrixShape::Of(static_cast<int>(letters.size()), columns))
    , m_letters(&letters)
    , m_period(period)
{
    const int length = static_cast<int>(letters.size());
    std::array<double, 26> logShare{};
    for (int letter = 0; letter < 26; ++letter)
        logShare[letter] = std::log(GermanLetterShares[letter]);

    // Down a column the shift steps by the key length mod the period; the
    // column's own first shift is unknown, so it is summed out.
    const int step = columns % period;
    m_stretchLogLikelihood.assign(static_cast<std::size_t>(slotCount()) * 2, -INFINITY);
    for (int rank = 0; rank < m_shape.columns; ++rank) {
        for (int before = 0; before <= m_shape.longColumns; ++before) {
            const int start = rank * (m_shape.rows - 1) + before;
            for (int isLong = 0; isLong < 2; ++isLong) {
                const int height = m_shape.rows - 1 + isLong;
                if (start + height > length)
                    continue;
                double total = -INFINITY;
                for (int first = 0; first < period; ++first) {
                    double logLikelihood = 0;
                    int shift = first;
                    for (int row = 0; row < height; ++row) {
                        logLikelihood += logShare[(letters[start + row] - shift + 26) % 26];
                        shift = (shift + step) % period;
                    }
                    total = LogSumExp(total, logLikelihood);
                }
                m_stretchLogLikelihood[slot(rank, before) * 2 + isLong] = total - std::log(period);
            }
        }
    }
}

std::vector<int> LongColumnModel::drawStarts(const std::vector<double> &evidence, std::mt19937_64 &random) const
{
    const int n = m_shape.columns;
    const int f = m_shape.longColumns;
    auto logWeight = [&](int rank, int before, int isLong) {
        const int index = slot(rank, before);
        return (m_stretchLogLikelihood[index * 2 + isLong] + EvidenceWeight * evidence[index]) / Temperature;
    };
    auto feasible = [&](int rank, int before) { return before <= f && rank - before <= n - f; };
    // forward[k][m]: all ways of reading k columns with m of them long.
    std::vector<double> forward(static_cast<std::size_t>(n + 1) * (f + 1), -INFINITY);
    auto at = [&](int rank, int before) -> double & { return forward[rank * (f + 1) + before]; };
    at(0, 0) = 0;
    for (int rank = 0; rank < n; ++rank) {
        for (int before = 0; before <= std::min(rank, f); ++before) {
            if (at(rank, before) == -INFINITY)
                continue;
            for (int isLong = 0; isLong < 2; ++isLong) {
                if (feasible(rank + 1, before + isLong))
                    at(rank + 1, before + isLong) =
                        LogSumExp(at(rank + 1, before + isLong), at(rank, before) + logWeight(rank, before, isLong));
            }
        }
    }
    // Backwards, each column long or short in proportion to the ways on.
    std::vector<int> starts(n);
    int longs = f;
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    for (int rank = n; rank > 0; --rank) {
        std::array<double, 2> way{-INFINITY, -INFINITY};
        for (int isLong = 0; isLong < 2; ++isLong) {
            const int before = longs - isLong;
            if (before >= 0 && before <= std::min(rank - 1, f))
                way[isLong] = at(rank - 1, before) + logWeight(rank - 1, before, isLong);
        }
        const double longShare = std::exp(way[1] - LogSumExp(way[0], way[1]));
        longs -= uniform(random) < longShare ? 1 : 0;
        starts[rank - 1] = (rank - 1) * (m_shape.rows - 1) + longs;
    }
    return starts;
}

std::vector<int> LongColumnModel::guessStarts(const std::vector<double> &evidence, const std::vector<int> &germanOrder,
                                              std::mt19937_64 &random) const
{
    if (!germanOrder.empty() && random() % 2 == 0)
        return startsOf(germanOrder);
    const std::vector<std::vector<int>> &joined = startsFromJoins();
    if (!joined.empty() && random() % 4 != 0) {
        // The best guess most often, the next ones in case it is wrong.
        std::size_t index = 0;
        while (index + 1 < joined.size() && random() % 2 == 0)
            ++index;
        return joined[index];
    }
    return drawStarts(evidence, random);
}

const std::vector<std::vector<int>> &LongColumnModel::startsFromJoins() const
{
    std::call_once(*m_joinsDone, [this] {
        if (m_shape.rows >= MinJoinRows)
            m_startsFromJoins = GuessStartsFromJoins(*m_letters, m_shape.columns, m_period, JoinGuesses);
    });
    return m_startsFromJoins;
}

std::vector<int> LongColumnModel::startsOf(const std::vector<int> &rankOf) const
{
    return ColumnStarts(m_shape, rankOf);
}

std::vector<std::pair<int, double>> LongColumnModel::evidenceFrom(const std::vector<double> &columnScores,
                                                                  const std::vector<int> &rankOf,
                                                                  const std::vector<int> &starts) const
{
    const double count = static_cast<double>(m_shape.columns);
    double mean = 0;
    for (const double score : columnScores)
        mean += score / count;
    double variance = 0;
    for (const double score : columnScores)
        variance += (score - mean) * (score - mean) / count;
    // Kept off zero for a matrix whose columns all join alike.
    const double standardDeviation = std::sqrt(variance) + 1e-9;
    std::vector<std::pair<int, double>> found;
    for (int position = 0; position < m_shape.columns; ++position) {
        const int rank = rankOf[position];
        const int before = starts[rank] - rank * (m_shape.rows - 1);
        const double zScore = (columnScores[position] - mean) / standardDeviation;
        found.emplace_back(slot(rank, before), std::clamp(zScore, -MaxEvidence, MaxEvidence));
    }
    return found;
}

std::vector<int> ColumnStarts(const MatrixShape &shape, const std::vector<int> &rankOf)
{
    std::vector<char> isLong(shape.columns, 0);
    for (int position = 0; position < shape.longColumns; ++position)
        isLong[rankOf[position]] = 1;
    return StartsOfLongColumns(shape, isLong);
}

std::vector<int> StartsOfLongColumns(const MatrixShape &shape, const std::vector<char> &isLong)
{
    std::vector<int> starts(shape.columns);
    int start = 0;
    for (int rank = 0; rank < shape.columns; ++rank) {
        starts[rank] = start;
        start += shape.rows - 1 + isLong[rank];
    }
    return starts;
}

} // namespace abc::search
