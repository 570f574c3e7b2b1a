#include "analysis/shared_starts.h"

#include "analysis/climb.h"
#include "analysis/long_columns.h"

namespace abc::search {

namespace {

// Found by trial on held-out piles: most climbs settle within a few
// guesses, and a third of a climb's patience is enough between them.
constexpr int MaxGuesses = 30;
constexpr double PatienceShare = 0.3;

std::vector<std::vector<int>> StartsOfEveryMessage(const JointScorer &scorer, const std::vector<int> &rankOf)
{
    std::vector<std::vector<int>> starts;
    for (std::size_t message = 0; message < scorer.messageCount(); ++message)
        starts.push_back(ColumnStarts(scorer.message(message).shape(), rankOf));
    return starts;
}

OrderScore UnderStarts(const JointScorer &scorer, const std::vector<std::vector<int>> &starts)
{
    return [&scorer, &starts](const int *order) {
        long sum = 0;
        for (std::size_t message = 0; message < starts.size(); ++message)
            sum += scorer.message(message).score(order, starts[message].data());
        return sum;
    };
}

} // namespace

bool ClimbUnderSharedStarts(const JointScorer &scorer, std::vector<int> &rankOf, std::mt19937_64 &random,
                            long &evaluations, const std::function<bool()> &halted)
{
    std::vector<std::vector<int>> starts = StartsOfEveryMessage(scorer, rankOf);
    const OrderScore underStarts = UnderStarts(scorer, starts);
    for (int guess = 0; guess < MaxGuesses; ++guess) {
        if (!ClimbByRandomMoves(rankOf, random, underStarts, evaluations, halted, PatienceShare))
            return false;
        std::vector<std::vector<int>> next = StartsOfEveryMessage(scorer, rankOf);
        if (next == starts)
            break;
        starts = std::move(next);
    }
    return true;
}

bool ClimbUnderStartsOf(const JointScorer &scorer, const std::vector<int> &startsFrom, std::vector<int> &rankOf,
                        std::mt19937_64 &random, long &evaluations, const std::function<bool()> &halted,
                        double patienceShare)
{
    const std::vector<std::vector<int>> starts = StartsOfEveryMessage(scorer, startsFrom);
    return ClimbByRandomMoves(rankOf, random, UnderStarts(scorer, starts), evaluations, halted, patienceShare);
}

} // namespace abc::search
