#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "analysis/candidates.h"
#include "analysis/crib_climbs.h"
#include "analysis/effort_sharing.h"

namespace abc::search {

// What one job of the search hands back.
struct JobResult {
    std::vector<KeyedFinding> findings;
    long evaluations = 0;
    KeyLengthArm *arm = nullptr;                  // the arm a climb spent its effort on
    std::vector<std::pair<int, double>> evidence; // on the arm's long columns
    int fromWalk = -1;                            // the arm's walk it set out from, if any
    bool fellShort = false;                       // a kick stopped below the walk
};

// Where a climb of several messages sets out: a copy of the arm's walk, for
// climbs of one round may set out from the same walk, or a random order
// when the order is empty.
struct WalkStart {
    std::vector<int> order;
    long sum = 0;
    int number = -1;
};

using Halted = std::function<bool()>;

// The jobs of one key length under one method. Each returns nothing
// (no findings, no arm) when halted before its end.

// Every order of a short key.
JobResult ReadEveryOrder(const KeyLengthArm &arm, const Halted &halted);

// One climb from a random order, or from the arm's walk, kicked.
JobResult ClimbArm(KeyLengthArm &arm, std::uint64_t seed, WalkStart walk, const Halted &halted);

// One climb from an order found at another key length, each of its
// positions moved by shift and the positions it leaves empty put where they
// read best (CarriedOrder).
JobResult ClimbCarriedOrder(KeyLengthArm &arm, const std::vector<int> &found, int shift, std::uint64_t seed,
                            const Halted &halted);

// An order of found.size() columns carried to those of scorer: the column
// at position q goes to q + shift, those that fall outside are left out,
// the reading order of the rest is kept, and each position left empty is
// read in where the order then reads best.
std::vector<int> CarriedOrder(const std::vector<int> &found, int shift, const JointScorer &scorer);

// One climb around a probable word's seed: first the columns that the word
// does not cover, around those it fixes, then all of them freely.
JobResult ClimbFromCribSeed(const ArmSeed &due, const std::vector<std::vector<std::uint8_t>> &messages,
                            std::uint64_t seed, const Halted &halted);

} // namespace abc::search
