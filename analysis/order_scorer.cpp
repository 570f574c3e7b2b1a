#include "analysis/order_scorer.h"

#include <algorithm>
#include <cmath>

namespace abc::search {

OrderScorer::OrderScorer(const std::vector<std::uint8_t> &letters, int columns, int period, int scoredRows)
    : m_letters(&letters)
    , m_shape(MatrixShape::Of(static_cast<int>(letters.size()), columns))
    , m_period(period)
    , m_scoredRows(scoredRows > 0 ? std::min(scoredRows, m_shape.rows) : m_shape.rows)
{
}

long OrderScorer::score(const int *rankOf) const
{
    int columnAt[MaxKeyLength];
    for (int column = 0; column < m_shape.columns; ++column)
        columnAt[rankOf[column]] = column;
    return scoreReadingOrder(columnAt);
}

long OrderScorer::scoreReadingOrder(const int *columnAt) const
{
    // Where each column's letters start in the ciphertext: the columns are
    // read by rank, long ones (those left of the last row's end) one letter
    // longer.
    int startOf[MaxKeyLength];
    int start = 0;
    for (int rank = 0; rank < m_shape.columns; ++rank) {
        const int column = columnAt[rank];
        startOf[column] = start;
        start += m_shape.height(column);
    }
    return sum<false>(startOf);
}

long OrderScorer::score(const int *rankOf, const int *startOfRank) const
{
    int startOf[MaxKeyLength];
    for (int column = 0; column < m_shape.columns; ++column)
        startOf[column] = startOfRank[rankOf[column]];
    return sum<true>(startOf);
}

template<bool MayReadPast>
long OrderScorer::sum(const int *startOf) const
{
    const std::uint8_t *letters = m_letters->data();
    const int last = static_cast<int>(m_letters->size()) - 1;
    const std::uint8_t *costs = QuadgramCost.data();
    long sum = 0;
    // The three letters before, each already weighted by its place in the
    // quadgram's index: no step waits on the index of the step before.
    int first = 0;
    int second = 0;
    int third = 0;
    int seen = 0;
    for (int row = 0; row < m_scoredRows; ++row) {
        const int width = row == m_shape.rows - 1 ? m_shape.longColumns : m_shape.columns;
        int shift = static_cast<int>((static_cast<long>(row) * m_shape.columns) % m_period);
        for (int column = 0; column < width; ++column) {
            int at = startOf[column] + row;
            if constexpr (MayReadPast)
                at = std::min(at, last);
            int letter = letters[at] - shift;
            letter += letter < 0 ? 26 : 0;
            if (++seen >= 4)
                sum -= costs[first + second + third + letter];
            first = second * 26;
            second = third * 26;
            third = letter * 26;
            if (++shift == m_period)
                shift = 0;
        }
    }
    return sum;
}

std::vector<double> OrderScorer::columnScores(const int *rankOf, const int *startOfRank) const
{
    const int last = static_cast<int>(m_letters->size()) - 1;
    std::vector<double> sums(m_shape.columns, 0.0);
    std::vector<int> counts(m_shape.columns, 0);
    std::vector<int> row(m_shape.columns);
    for (int r = 0; r < m_scoredRows; ++r) {
        const int width = r == m_shape.rows - 1 ? m_shape.longColumns : m_shape.columns;
        for (int column = 0; column < width; ++column) {
            const int shift = static_cast<int>((static_cast<long>(r) * m_shape.columns + column) % m_period);
            const int at = std::min(startOfRank[rankOf[column]] + r, last);
            row[column] = ((*m_letters)[at] - shift + 26) % 26;
        }
        for (int column = 0; column + 3 < width; ++column) {
            const int index = ((row[column] * 26 + row[column + 1]) * 26 + row[column + 2]) * 26 + row[column + 3];
            for (int j = 0; j < 4; ++j) {
                sums[column + j] -= QuadgramCost[index];
                ++counts[column + j];
            }
        }
    }
    for (int column = 0; column < m_shape.columns; ++column)
        sums[column] = counts[column] > 0 ? sums[column] / counts[column] : 0.0;
    return sums;
}

long OrderScorer::quadgramCount() const
{
    long letters = static_cast<long>(m_scoredRows) * m_shape.columns;
    if (m_scoredRows == m_shape.rows)
        letters -= m_shape.columns - m_shape.longColumns;
    return std::max(0L, letters - 3);
}

double OrderScorer::germanZScore(long sum) const
{
    return GermanZScore(sum, quadgramCount());
}

double GermanZScore(long sum, long quadgrams)
{
    const double count = std::max(1.0, static_cast<double>(quadgrams));
    const double mean = static_cast<double>(sum) / QuadgramUnit / count;
    // Past a few hundred letters texts differ more by style and subject
    // than by chance, so the deviation stops shrinking with the length.
    const double standardDeviation = GermanQuadgramSpread100 * std::max(std::sqrt(100.0 / count), 0.75);
    return (mean - GermanQuadgramMean) / standardDeviation;
}

std::vector<int> InversePermutation(const std::vector<int> &permutation)
{
    std::vector<int> inverse(permutation.size());
    for (std::size_t i = 0; i < permutation.size(); ++i)
        inverse[permutation[i]] = static_cast<int>(i);
    return inverse;
}

std::vector<std::uint8_t> LetterCodes(std::string_view text)
{
    std::vector<std::uint8_t> codes(text.size());
    std::transform(text.begin(), text.end(), codes.begin(),
                   [](char letter) { return static_cast<std::uint8_t>(letter - 'A'); });
    return codes;
}

} // namespace abc::search
