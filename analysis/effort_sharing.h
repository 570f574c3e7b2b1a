#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "analysis/joint_scorer.h"
#include "analysis/long_columns.h"
#include "analysis/method_detection.h"
#include "engine/column_key.h"

namespace abc::search {

// Key lengths up to this are tried in every order rather than climbed.
inline constexpr int ExhaustiveColumns = 7;
// Below three rows any order of the columns reads about as well as another,
// so keys are at most a third of the letters long.
inline constexpr double FewestRows = 3.0;

// One arm of the multi-armed bandit that shares the climbs out: one key
// length under one method, with the search's belief in it.
struct KeyLengthArm {
    KeyLengthArm(int period, int columns, double logPrior, JointScorer scorer);

    // The arm's share of the effort, up to 1.
    double weight() const;
    double costPerClimb() const;
    bool likely() const { return logPrior > -8; }

    // Books a climb's effort and what it learnt of the long columns.
    void recordClimb(long evaluations, const std::vector<std::pair<int, double>> &longColumnEvidence);
    // Books where a climb ended and how German it read; readsWell when it
    // read well enough to end the search, fromWalk the number of the walk
    // the climb set out from (see walkOrder), or -1. False when the climb
    // is not an independent trial of an order that reads well: one walk
    // reaching it again.
    bool recordEnd(const std::vector<int> &rankOf, long sum, double zScore, bool readsWell, int fromWalk);
    // Books a kick from the walk that fell short of it.
    void recordFallenKick() { ++staleKicks; }
    // Whether the next climb of several messages should set out from the
    // walk rather than from a random order.
    bool walkDue() const;

    int period = 3;
    int columns = 2;
    double logPrior = 0; // natural log, relative to the likeliest arm
    JointScorer scorer;
    // Scorings spent on this arm so far, and climbs: the search shares its
    // effort out by these, not by time, so that its course does not depend
    // on the machine.
    long effort = 0;
    long climbs = 0;
    long misses = 0;       // climbs from a random order that ended on nothing German
    long walkedMisses = 0; // climbs along a walk that did
    // The most German a climb here has read, and how far that stands above
    // what the key lengths around it read, worked out before each round.
    double bestZScore = -1e300;
    double lead = 1.0;
    // For a ragged matrix of a single message: the guesses at the long
    // columns, and the evidence the climbs so far have gathered on them.
    std::optional<LongColumnModel> longColumns;
    std::vector<double> evidence;
    // The best order climbed here so far, while it reads as German: its
    // long columns are then worth reading under again.
    std::vector<int> germanOrder;
    long germanSum = 0;
    // Several messages of a few rows each: a climb from a random order
    // seldom reaches the key, but one that sets out from where the last
    // ended, the order kicked by a few block moves, often does. The walk
    // moves on to every climb that ends at least as high, and starts again
    // from a random order when many climbs in a row have not gained or
    // when it reaches an order that reads as German.
    std::vector<int> walkOrder;
    long walkSum = 0;
    int staleKicks = 0;
    int walkNumber = 0;    // counts the walks begun
    int walkReadWell = -1; // the last walk that reached an order that reads well
};

// A climb due in a round: its arm, and which of the arm's climbs in the
// round it is.
struct DueClimb {
    KeyLengthArm *arm = nullptr;
    int restart = 0;
};

// Every key length the messages allow under both methods, likeliest first.
class KeyLengthArms
{
public:
    KeyLengthArms() = default;
    // Priors from the letter counts and the neighbouring letters within
    // each message; messages (each ciphertext as 0..25, none empty) must
    // outlive the arms. Several messages skip the key lengths under which
    // one of them would not fit the grid. Keys are at most the letters over
    // fewestRows long.
    KeyLengthArms(const std::vector<std::vector<std::uint8_t>> &messages, const MethodEvidence &method,
                  double fewestRows = FewestRows);

    std::vector<KeyLengthArm>::iterator begin() { return m_arms.begin(); }
    std::vector<KeyLengthArm>::iterator end() { return m_arms.end(); }
    std::vector<KeyLengthArm>::const_iterator begin() const { return m_arms.begin(); }
    std::vector<KeyLengthArm>::const_iterator end() const { return m_arms.end(); }
    const KeyLengthArm &at(int period, int columns) const;
    // Null when the messages do not allow that key length.
    const KeyLengthArm *find(int period, int columns) const;

    // The next round's climbs, the arms furthest behind their share first:
    // at least wanted where the growing threshold allows, at most most.
    std::vector<DueClimb> planRound(std::size_t wanted, std::size_t most);

private:
    std::vector<DueClimb> dueClimbs();
    void updateLeads();

    std::vector<KeyLengthArm> m_arms;
    std::array<std::array<int, MaxKeyLength + 1>, 2> m_index{}; // by method and key length, -1 for none
    // The effort an arm of weight 1 may have spent so far.
    double m_threshold = 3000;
};

} // namespace abc::search
