#include "analysis/crib_climbs.h"

#include <algorithm>
#include <limits>

#include "analysis/candidates.h"
#include "analysis/climb.h"

namespace abc::search {

namespace {

// Climbs after the best order was found that must not beat it. With 64
// seeds for every key length, 48 and 96 let wrong orders through; orders
// that climbs agree on end most searches before this many.
constexpr int ConfirmingClimbs = 256;
// A probable word's seeds for each key length, best by the rows around the
// word, and the orders kept while each grows into the whole order that
// ranks it; the best so ranked are climbed from. The rows around the word
// can put the right seed as far down as the 600th, where a narrow growth
// still ranks it among the first few.
constexpr std::size_t SeedsPerKeyLength = 1024;
constexpr std::size_t RankingWidth = 8;
constexpr std::size_t SeedsClimbed = 64;

// Grows the seed into a whole order and ranks it by how that reads. The
// ranks the whole order gives the word's columns agree with where they
// start; those counted from the gaps alone may not.
void Grow(const std::vector<std::vector<std::uint8_t>> &messages, const KeyLengthArm &arm, CribSeed &seed,
          std::size_t width)
{
    const std::vector<int> grown = CompleteCribSeed(messages, arm.columns, seed, width);
    if (grown.empty()) {
        seed.grownZScore = -std::numeric_limits<double>::infinity();
        return;
    }
    seed.grownZScore = arm.scorer.germanZScore(arm.scorer.score(grown.data()));
    for (auto &[position, rank] : seed.ranks)
        rank = grown[position];
}

} // namespace

void CribSeedRotation::add(std::vector<CribSeed> seeds, KeyLengthArm &arm)
{
    for (CribSeed &seed : seeds)
        m_seeds.emplace_back(std::move(seed), &arm);
}

void CribSeedRotation::rank()
{
    std::stable_sort(m_seeds.begin(), m_seeds.end(),
                     [](const auto &a, const auto &b) { return a.first.grownZScore > b.first.grownZScore; });
}

std::vector<ArmSeed> CribSeedRotation::next(std::size_t count)
{
    std::vector<ArmSeed> due;
    for (std::size_t i = 0; i < count && !m_seeds.empty(); ++i, ++m_handedOut) {
        const auto &[seed, arm] = m_seeds[m_handedOut % m_seeds.size()];
        due.push_back({&seed, arm, static_cast<int>(m_handedOut / m_seeds.size())});
    }
    return due;
}

CribSeedRotation FindArmSeeds(const std::vector<std::vector<std::uint8_t>> &messages,
                              const std::vector<std::string> &cribs, KeyLengthArms &arms, JobRunner &runner,
                              const std::function<void(const KeyLengthArm &)> &onArm)
{
    const std::function<bool()> halted = [&runner] { return runner.halted(); };
    std::vector<std::function<std::vector<CribSeed>()>> jobs;
    std::vector<KeyLengthArm *> seeded;
    for (KeyLengthArm &arm : arms) {
        if (arm.columns <= ExhaustiveColumns)
            continue;
        seeded.push_back(&arm);
        jobs.push_back([&, &arm = arm] {
            onArm(arm);
            std::vector<CribSeed> seeds =
                FindCribSeeds(messages, cribs, arm.columns, arm.period, SeedsPerKeyLength, halted);
            for (CribSeed &seed : seeds) {
                if (halted())
                    return std::vector<CribSeed>{};
                Grow(messages, arm, seed, RankingWidth);
            }
            const std::size_t climbed = std::min(SeedsClimbed, seeds.size());
            std::partial_sort(seeds.begin(), seeds.begin() + static_cast<std::ptrdiff_t>(climbed), seeds.end(),
                              [](const CribSeed &a, const CribSeed &b) { return a.grownZScore > b.grownZScore; });
            seeds.resize(climbed);
            return seeds;
        });
    }
    std::vector<std::vector<CribSeed>> found = runner.run(jobs);
    CribSeedRotation rotation;
    for (std::size_t arm = 0; arm < found.size(); ++arm)
        rotation.add(std::move(found[arm]), *seeded[arm]);
    rotation.rank();
    return rotation;
}

bool HoldsEveryWord(const Candidate &candidate)
{
    return std::all_of(candidate.cribs.begin(), candidate.cribs.end(),
                       [](const CribPlace &place) { return place.found; });
}

void PutHoldersOfEveryWordFirst(std::vector<Candidate> &candidates)
{
    if (candidates.empty() || candidates.front().cribs.empty())
        return;
    std::stable_partition(candidates.begin(), candidates.end(), [](const Candidate &candidate) {
        return candidate.readsAsGerman && HoldsEveryWord(candidate);
    });
}

void CribConfirmation::newBest(bool holdsEveryWord)
{
    m_climbsSince = 0;
    m_holdsEveryWord = holdsEveryWord;
}

bool CribConfirmation::confirmed(double zScore) const
{
    return m_holdsEveryWord && zScore >= ConfidentThreshold && m_climbsSince >= ConfirmingClimbs;
}

std::vector<int> RandomOrderAround(const CribSeed &seed, int columns, std::mt19937_64 &random)
{
    std::vector<int> rankOf(columns, -1);
    std::vector<bool> taken(columns, false);
    for (const auto &[position, rank] : seed.ranks) {
        rankOf[position] = rank;
        taken[rank] = true;
    }
    std::vector<int> freeRanks;
    for (int rank = 0; rank < columns; ++rank) {
        if (!taken[rank])
            freeRanks.push_back(rank);
    }
    std::shuffle(freeRanks.begin(), freeRanks.end(), random);
    for (int &rank : rankOf) {
        if (rank < 0) {
            rank = freeRanks.back();
            freeRanks.pop_back();
        }
    }
    return rankOf;
}

std::optional<long> ClimbAroundCrib(const JointScorer &scorer, const CribSeed &seed, std::vector<int> &rankOf,
                                    std::mt19937_64 &random, long &evaluations, const std::function<bool()> &halted)
{
    std::vector<bool> fixed(rankOf.size(), false);
    for (const auto &[position, rank] : seed.ranks)
        fixed[position] = true;
    std::vector<int> freePositions;
    std::vector<int> freeRanks;
    for (std::size_t column = 0; column < rankOf.size(); ++column) {
        if (!fixed[column]) {
            freePositions.push_back(static_cast<int>(column));
            freeRanks.push_back(rankOf[column]);
        }
    }
    if (freeRanks.size() < 2)
        return scorer.score(rankOf.data());
    const auto fill = [&rankOf, &freePositions](const int *ranks) {
        for (std::size_t i = 0; i < freePositions.size(); ++i)
            rankOf[freePositions[i]] = ranks[i];
    };
    const OrderScore aroundTheWord = [&scorer, &rankOf, &fill](const int *ranks) {
        fill(ranks);
        return scorer.score(rankOf.data());
    };
    const std::optional<long> sum = Climb(freeRanks, random, aroundTheWord, evaluations, halted);
    fill(freeRanks.data());
    return sum;
}

} // namespace abc::search
