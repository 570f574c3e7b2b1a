#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "analysis/crib_seeds.h"
#include "analysis/effort_sharing.h"
#include "analysis/job_runner.h"
#include "analysis/joint_scorer.h"
#include "analysis/key_search.h"

namespace abc::search {

// A seed and the arm of its key length and period.
struct ArmSeed {
    const CribSeed *seed = nullptr;
    KeyLengthArm *arm = nullptr;
    int lap = 0; // how often the rotation has handed this seed out before
};

// The probable words' seeds of every arm, handed out in turn and again from
// the top once all have had a climb: the right seed is seldom the very
// best, and a climb from it does not always succeed. They go by how well
// the whole orders they grow into read: the rows around the word alone
// rank the right seed far down as often as not, and key lengths' evidence
// is not comparable.
class CribSeedRotation
{
public:
    void add(std::vector<CribSeed> seeds, KeyLengthArm &arm);
    // Sorts what was added; call once, before next.
    void rank();
    bool empty() const { return m_seeds.empty(); }
    std::vector<ArmSeed> next(std::size_t count);

private:
    std::vector<std::pair<CribSeed, KeyLengthArm *>> m_seeds;
    std::size_t m_handedOut = 0;
};

// Whether the best order so far may end a search with probable words. Over
// a few rows independent climbs seldom end on the same order, so instead of
// their agreement it takes an order that holds every word, reads as German,
// and has not been beaten by the many climbs since it was found.
class CribConfirmation
{
public:
    void newBest(bool holdsEveryWord);
    void climbEnded() { ++m_climbsSince; }
    bool confirmed(double zScore) const;

private:
    bool m_holdsEveryWord = false;
    int m_climbsSince = 0;
};

// The seeds of every arm that is climbed rather than tried in every order,
// found side by side on the runner's threads; onArm is called as each arm
// begins.
CribSeedRotation FindArmSeeds(const std::vector<std::vector<std::uint8_t>> &messages,
                              const std::vector<std::string> &cribs, KeyLengthArms &arms, JobRunner &runner,
                              const std::function<void(const KeyLengthArm &)> &onArm);

// Whether the candidate's plaintexts hold every probable word.
bool HoldsEveryWord(const Candidate &candidate);

// Puts the candidates that read as German and hold every probable word
// before the others, each part in its order: the words are the user's own
// evidence, and over a few rows an order that breaks one can read as well
// as the one that holds them.
void PutHoldersOfEveryWordFirst(std::vector<Candidate> &candidates);

// A start for a climb around the seed: its columns at their ranks, the
// others at random.
std::vector<int> RandomOrderAround(const CribSeed &seed, int columns, std::mt19937_64 &random);

// A climb of the columns that the seed leaves free around those it covers,
// which keep their ranks: rankOf as OrderScorer takes it, the start on
// entry and the climbed order on return. Returns the score, or nothing when
// halted.
std::optional<long> ClimbAroundCrib(const JointScorer &scorer, const CribSeed &seed, std::vector<int> &rankOf,
                                    std::mt19937_64 &random, long &evaluations, const std::function<bool()> &halted);

} // namespace abc::search
