#include "analysis/column_order.h"

#include <algorithm>
#include <numeric>

namespace abc::search {

namespace {

constexpr int TrigramCount = 26 * 26 * 26;

} // namespace

OrderScorer::OrderScorer(const std::vector<std::uint8_t> &letters, int columns, int period, int scoredRows)
    : m_letters(&letters)
    , m_columns(columns)
    , m_period(period)
{
    const int length = static_cast<int>(letters.size());
    m_rows = (length + columns - 1) / columns;
    m_longColumns = length % columns == 0 ? columns : length % columns;
    m_scoredRows = scoredRows > 0 ? std::min(scoredRows, m_rows) : m_rows;
}

long OrderScorer::score(const int *rankOf) const
{
    // Where each column's letters start in the ciphertext: the columns are
    // read by rank, long ones (those left of the last row's end) one letter
    // longer.
    int startOf[MaxKeyLength];
    int columnAt[MaxKeyLength];
    for (int column = 0; column < m_columns; ++column)
        columnAt[rankOf[column]] = column;
    int start = 0;
    for (int rank = 0; rank < m_columns; ++rank) {
        const int column = columnAt[rank];
        startOf[column] = start;
        start += m_rows - (column < m_longColumns ? 0 : 1);
    }
    return sum<false>(startOf);
}

long OrderScorer::score(const int *rankOf, const int *startOfRank) const
{
    int startOf[MaxKeyLength];
    for (int column = 0; column < m_columns; ++column)
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
    int index = 0;
    int seen = 0;
    for (int row = 0; row < m_scoredRows; ++row) {
        const int width = row == m_rows - 1 ? m_longColumns : m_columns;
        int shift = static_cast<int>((static_cast<long>(row) * m_columns) % m_period);
        for (int column = 0; column < width; ++column) {
            int at = startOf[column] + row;
            if constexpr (MayReadPast)
                at = std::min(at, last);
            int letter = letters[at] - shift;
            letter += letter < 0 ? 26 : 0;
            index = (index % TrigramCount) * 26 + letter;
            if (++seen >= 4)
                sum -= costs[index];
            if (++shift == m_period)
                shift = 0;
        }
    }
    return sum;
}

std::vector<double> OrderScorer::columnScores(const int *rankOf, const int *startOfRank) const
{
    const int last = static_cast<int>(m_letters->size()) - 1;
    std::vector<double> sums(m_columns, 0.0);
    std::vector<int> counts(m_columns, 0);
    std::vector<int> row(m_columns);
    for (int r = 0; r < m_scoredRows; ++r) {
        const int width = r == m_rows - 1 ? m_longColumns : m_columns;
        for (int column = 0; column < width; ++column) {
            const int shift = static_cast<int>((static_cast<long>(r) * m_columns + column) % m_period);
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
    for (int column = 0; column < m_columns; ++column)
        sums[column] = counts[column] > 0 ? sums[column] / counts[column] : 0.0;
    return sums;
}

long OrderScorer::quadgramCount() const
{
    long letters = static_cast<long>(m_scoredRows) * m_columns;
    if (m_scoredRows == m_rows)
        letters -= m_columns - m_longColumns;
    return std::max(0L, letters - 3);
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

std::optional<std::string> KeywordForOrder(const ColumnOrder &order)
{
    // Each run of columns read left to right can share one letter; a
    // column left of its predecessor in the reading needs the next letter.
    std::string keyword(order.size(), 'A');
    char letter = 'A';
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k > 0 && order[k] < order[k - 1]) {
            if (letter == 'Z')
                return std::nullopt;
            ++letter;
        }
        keyword[order[k]] = letter;
    }
    return keyword;
}

ColumnOrder OrderForKeyword(std::string_view keyword)
{
    ColumnOrder order;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        for (std::size_t column = 0; column < keyword.size(); ++column) {
            if (keyword[column] == letter)
                order.push_back(static_cast<int>(column));
        }
    }
    return order;
}

std::string DecipherWithOrder(std::string_view cipherText, const ColumnOrder &order, CipherMethod method)
{
    const int columns = static_cast<int>(order.size());
    const int length = static_cast<int>(cipherText.size());
    if (columns == 0)
        return std::string(cipherText);
    const int rows = (length + columns - 1) / columns;
    const int longColumns = length % columns == 0 ? columns : length % columns;
    const int period = ShiftPeriod(method);

    std::string plain(cipherText.size(), ' ');
    int start = 0;
    for (const int column : order) {
        const int height = rows - (column < longColumns ? 0 : 1);
        for (int row = 0; row < height && start + row < length; ++row) {
            const int position = row * columns + column;
            if (position >= length)
                break;
            const int letter = (cipherText[start + row] - 'A' - position % period + 26) % 26;
            plain[position] = static_cast<char>('A' + letter);
        }
        start += height;
    }
    return plain;
}

} // namespace abc::search
