#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <random>
#include <utility>
#include <vector>

#include "engine/matrix_shape.h"

namespace abc::search {

// Where the columns of a ragged matrix start. The long columns (those that
// reach into the incomplete last row) follow from the order, but a wrong
// guess at them moves the start of every column read after, and the text
// then reads as nothing: the search learns them apart from the order.
//
// A guess is a start for every column read; a column read k-th starts at
// k * (rows - 1) + m, m being the number of long columns read before it.
// Guesses are drawn from how well each stretch of the ciphertext unshifts
// into German letter shares, and from evidence gathered by earlier climbs:
// a column that joined its neighbours well was likely read from the right
// start.
class LongColumnModel
{
public:
    LongColumnModel(const std::vector<std::uint8_t> &letters, int columns, int period);

    // Only a matrix with long and short columns needs the model, and only
    // up to this many rows is it worth its cost: taller columns tell their
    // shift and their neighbours apart without it.
    static bool Needed(int length, int columns);

    // One slot of evidence for each column read and each count of long
    // columns read before it.
    int slotCount() const { return m_shape.columns * (m_shape.longColumns + 1); }

    // A guess at the starts for a climb, by reading rank. Every other climb
    // reads under the long columns of germanOrder, an order that reads as
    // German, if there is one, as that confirms it soonest; over tall
    // columns most of the others under what the joins of the columns tell.
    std::vector<int> guessStarts(const std::vector<double> &evidence, const std::vector<int> &germanOrder,
                                 std::mt19937_64 &random) const;
    // A guess at the starts from the letter shares and the evidence alone.
    std::vector<int> drawStarts(const std::vector<double> &evidence, std::mt19937_64 &random) const;

    // The starts an order gives (rankOf as the scorer takes it).
    std::vector<int> startsOf(const std::vector<int> &rankOf) const;

    // What a climb under the guessed starts says of them: for each column
    // read, the z-score of how well its column joined its neighbours among
    // all columns' (columnScores by position, rankOf as the scorer takes it).
    std::vector<std::pair<int, double>> evidenceFrom(const std::vector<double> &columnScores,
                                                     const std::vector<int> &rankOf,
                                                     const std::vector<int> &starts) const;

private:
    // The best guesses from how well the columns join side by side
    // (column_joins.h), best first; worked out on first use, and only over
    // columns tall enough for the joins to tell (none else).
    const std::vector<std::vector<int>> &startsFromJoins() const;
    int slot(int rank, int longBefore) const { return rank * (m_shape.longColumns + 1) + longBefore; }

    // Made for ragged matrices only, so some columns are short.
    MatrixShape m_shape;
    const std::vector<std::uint8_t> *m_letters;
    int m_period;
    std::unique_ptr<std::once_flag> m_joinsDone = std::make_unique<std::once_flag>();
    mutable std::vector<std::vector<int>> m_startsFromJoins;
    // Log-likelihood of each column's stretch of letters, by slot and by
    // whether the column is long.
    std::vector<double> m_stretchLogLikelihood;
};

// Where each column read begins in a matrix of this shape under an order
// (rankOf as the scorer takes it), by reading rank.
std::vector<int> ColumnStarts(const MatrixShape &shape, const std::vector<int> &rankOf);
// The same from which columns are long, by reading rank.
std::vector<int> StartsOfLongColumns(const MatrixShape &shape, const std::vector<char> &isLong);

} // namespace abc::search
