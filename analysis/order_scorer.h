#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "analysis/german_ngrams.h"
#include "analysis/key_search.h"
#include "engine/matrix_shape.h"

namespace abc::search {

// Deciphers and scores one ciphertext under many column orders of one
// length and one shift period, as fast as the search needs it: no
// plaintext is written, the quadgrams are summed on the fly.
class OrderScorer
{
public:
    // letters: the ciphertext as 0..25. Only the first scoredRows rows are
    // scored (all when 0), so that a very long text costs no more than a
    // matrix full.
    OrderScorer(const std::vector<std::uint8_t> &letters, int columns, int period, int scoredRows = 0);

    int columns() const { return m_shape.columns; }
    int period() const { return m_period; }
    int rows() const { return m_shape.rows; }
    const MatrixShape &shape() const { return m_shape; }

    // Sum of the quadgrams' log10 probabilities, in steps of 1/QuadgramUnit. rankOf[c] is
    // the place in the reading order of the column at position c.
    long score(const int *rankOf) const;
    // The same given the order as columnAt[rank], the column at each place
    // of the reading order, which several messages under one key share.
    long scoreReadingOrder(const int *columnAt) const;
    // The same with the columns' starts given rather than worked out from
    // the order: startOfRank[k] is where the k-th column read begins. A
    // column may then read into the next one; the search reads so while
    // it has yet to learn which columns are long.
    long score(const int *rankOf, const int *startOfRank) const;
    // How well each position's column reads with its neighbours there: the
    // mean of the quadgrams it takes part in, in steps of 1/QuadgramUnit.
    std::vector<double> columnScores(const int *rankOf, const int *startOfRank) const;
    // The number of quadgrams score() sums.
    long quadgramCount() const;
    // A sum's mean quadgram as a z-score against German text of as many
    // quadgrams: 0 is typical German, -4 is four standard deviations worse.
    double germanZScore(long sum) const;

private:
    template<bool MayReadPast>
    long sum(const int *startOf) const;

    const std::vector<std::uint8_t> *m_letters;
    MatrixShape m_shape;
    int m_period;
    int m_scoredRows;
};

// A mean quadgram as a z-score against German text of as many quadgrams.
double GermanZScore(long sum, long quadgrams);

// Inverse of a permutation of 0..n-1.
std::vector<int> InversePermutation(const std::vector<int> &permutation);

// Letters 'A'..'Z' of a capitals-only text as 0..25.
std::vector<std::uint8_t> LetterCodes(std::string_view text);

} // namespace abc::search
