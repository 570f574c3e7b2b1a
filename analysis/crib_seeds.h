#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace abc::search {

// Where a probable word puts the columns it covers: the word at one place
// in one message, under one key length and period.
struct CribSeed {
    int period = 3;
    // The rank in the reading order of each key position the word covers,
    // as (position, rank).
    std::vector<std::pair<int, int>> ranks;
    // How much better the rows above and below the word read as German
    // than as random letters under those columns: a log-likelihood ratio
    // in steps of 1/QuadgramUnit.
    long evidence = 0;
    // The message and place, and where each column the word covers starts
    // in that message, by the word's letter index.
    int message = 0;
    int at = 0;
    std::vector<int> starts;
    // How well the whole order it grows into reads (see JointScorer's
    // germanZScore), once grown.
    double grownZScore = 0;
};

// The seeds that the probable words (capitals A-Z) give for one key length
// and period, over every place in every message (each as 0..25), best
// evidence first, at most kept. Empty when halted.
//
// At a place, the word fixes the ciphertext letter each of its columns must
// hold at the word's row; the columns' stretches of the ciphertext that do
// are few, and the other rows under the same columns must then read as
// German. A beam over the word's columns, left to right, keeps the best
// stretches; their starts then give the columns' ranks.
std::vector<CribSeed> FindCribSeeds(const std::vector<std::vector<std::uint8_t>> &messages,
                                    const std::vector<std::string> &cribs, int columns, int period, std::size_t kept,
                                    const std::function<bool()> &halted);

// The whole order a seed grows into: from the word's last column on, the
// column that joins best in every row is put beside the last, among the
// stretches of the ciphertext still free that leave the rest fillable,
// with a beam of width orders over the choices. rankOf as OrderScorer
// takes it; empty when no order fits.
std::vector<int> CompleteCribSeed(const std::vector<std::vector<std::uint8_t>> &messages, int columns,
                                  const CribSeed &seed, std::size_t width = 256);

} // namespace abc::search
