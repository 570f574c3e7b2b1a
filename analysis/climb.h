#pragma once

#include <functional>
#include <optional>
#include <random>
#include <vector>

namespace abc::search {

// A score of a column order given as rankOf (see OrderScorer).
using OrderScore = std::function<long(const int *rankOf)>;

// Climbs from the order rankOf under score until no move improves it,
// counting every scoring but the first in evaluations; turnsBy, when set,
// is the period for the trades and turns of the closing stages, and
// patienceShare shortens the random moves before them; readingBlocks, when
// set, adds a last stage in which blocks of up to that many columns trade
// places in the reading order. Returns the final score, or nothing when
// halted.
std::optional<long> Climb(std::vector<int> &rankOf, std::mt19937_64 &random, const OrderScore &score, long &evaluations,
                          const std::function<bool()> &halted, int turnsBy = 0, double patienceShare = 1.0,
                          int readingBlocks = 0);

// Only the random moves of a climb, until patienceShare of a climb's
// patience passes without a gain; false when halted.
bool ClimbByRandomMoves(std::vector<int> &rankOf, std::mt19937_64 &random, const OrderScore &score, long &evaluations,
                        const std::function<bool()> &halted, double patienceShare);

// A few random block moves of up to a third of the columns each: enough to
// leave the hill a climb ended on, too few to lose all it got right.
// Blocks of whole periods move by whole periods, so that every column keeps
// its shift; orders of fewer than three periods stay as they are.
void Kick(std::vector<int> &rankOf, std::mt19937_64 &random, int moves, int period);

} // namespace abc::search
