#include "analysis/shared_starts.h"

#include "analysis/climb.h"
#include "analysis/long_columns.h"

namespace abc::search {

namespace {

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

bool ClimbUnderStartsOf(const JointScorer &scorer, const std::vector<int> &startsFrom, std::vector<int> &rankOf,
                        std::mt19937_64 &random, long &evaluations, const std::function<bool()> &halted,
                        double patienceShare)
{
    const std::vector<std::vector<int>> starts = StartsOfEveryMessage(scorer, startsFrom);
    return ClimbByRandomMoves(rankOf, random, UnderStarts(scorer, starts), evaluations, halted, patienceShare);
}

} // namespace abc::search
