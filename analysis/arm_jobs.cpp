// The jobs of one key length: every order of a short key, a climb from a
// random order or from the arm's walk, or a climb around a probable word.

#include "analysis/arm_jobs.h"

#include <algorithm>
#include <numeric>
#include <random>

#include "analysis/climb.h"
#include "analysis/crib_seeds.h"
#include "analysis/order_scorer.h"
#include "analysis/shared_starts.h"

namespace abc::search {

namespace {

// Block moves between one climb of a walk and the next, found by trial:
// two and eight did worse.
constexpr int KickMoves = 5;
// A kicked climb sets out close to a hill top and need not wander long
// before its closing stages: at a third of the patience the walks of five
// messages under 30-35 columns reached the key in 11 of 15 trials of 15 s,
// at the whole patience in 7.
constexpr double KickedPatience = 0.3;
// Most kicks land well below the walk, and their random moves tell so at a
// tenth of what the closing stages cost: those that end this far below it
// (in log10 units) stop there. Over five messages under 26-35 columns the
// walks then reached the key in 23 of 32 trials of 8 s, against 17 with
// every kick climbed to the end; no margin did worse, 30 units as well.
constexpr long FallenKickMargin = 10 * QuadgramUnit;
// Several messages, most of two rows: blocks of up to this many columns
// trade places in the reading order at the end of every climb (Climb).
// Over eight messages under 30-45 columns the walks reached the key in 14
// of 14 piles with the key length given, against 13, the slowest in 14 s
// against 24 s; in the whole search 37 and 35 of 40 piles in two runs,
// against 32. Over taller messages no block is as tall as another: with
// the trades there too, five of 80-150 letters under 38-45 columns gave 29
// of the first 34 piles, against 38 of 40.
constexpr int ReadingBlocks = 2;

int ReadingBlocksOf(const JointScorer &scorer)
{
    std::size_t twoRows = 0;
    for (std::size_t message = 0; message < scorer.messageCount(); ++message)
        twoRows += scorer.message(message).rows() == 2;
    return scorer.messageCount() > 1 && 2 * twoRows >= scorer.messageCount() ? ReadingBlocks : 0;
}

// The exact reading's climb that ends every climb.
JobResult FinishClimb(KeyLengthArm &arm, std::vector<int> &rankOf, std::mt19937_64 &random, long evaluations,
                      const Halted &halted, JobResult result, double patience = 1.0)
{
    const OrderScore exact = [&arm](const int *order) { return arm.scorer.score(order); };
    const std::optional<long> sum =
        Climb(rankOf, random, exact, evaluations, halted, arm.period, result.fromWalk >= 0 ? KickedPatience : patience,
              ReadingBlocksOf(arm.scorer));
    if (!sum)
        return {};
    result.findings.push_back({{arm.period, rankOf}, Finding{*sum, Log10Factorial(arm.columns), 1, false}});
    result.evaluations = evaluations;
    result.arm = &arm;
    return result;
}

} // namespace

JobResult ReadEveryOrder(const KeyLengthArm &arm, const Halted &halted)
{
    std::vector<int> rankOf(arm.columns);
    std::iota(rankOf.begin(), rankOf.end(), 0);
    std::vector<int> best = rankOf;
    long bestSum = arm.scorer.score(rankOf.data());
    for (long tried = 1; std::next_permutation(rankOf.begin(), rankOf.end()); ++tried) {
        if (tried % 512 == 0 && halted())
            return {};
        const long sum = arm.scorer.score(rankOf.data());
        if (sum > bestSum) {
            bestSum = sum;
            best = rankOf;
        }
    }
    JobResult result;
    result.findings.push_back({{arm.period, best}, Finding{bestSum, Log10Factorial(arm.columns), 1, true}});
    return result;
}

JobResult ClimbArm(KeyLengthArm &arm, std::uint64_t seed, WalkStart walk, const Halted &halted)
{
    std::mt19937_64 random(seed);
    long evaluations = 0;
    JobResult result;
    if (!walk.order.empty()) {
        std::vector<int> &rankOf = walk.order;
        const std::vector<int> walked = rankOf;
        Kick(rankOf, random, KickMoves, arm.period);
        result.fromWalk = walk.number;
        if (arm.scorer.ragged()
            && !ClimbUnderStartsOf(arm.scorer, walked, rankOf, random, evaluations, halted, KickedPatience))
            return {};
        const OrderScore exact = [&arm](const int *order) { return arm.scorer.score(order); };
        if (!ClimbByRandomMoves(rankOf, random, exact, evaluations, halted, KickedPatience))
            return {};
        if (arm.scorer.score(rankOf.data()) < walk.sum - FallenKickMargin) {
            result.fellShort = true;
            result.evaluations = evaluations;
            result.arm = &arm;
            return result;
        }
        return FinishClimb(arm, rankOf, random, evaluations, halted, std::move(result));
    }
    std::vector<int> rankOf(arm.columns);
    std::iota(rankOf.begin(), rankOf.end(), 0);
    std::shuffle(rankOf.begin(), rankOf.end(), random);
    if (arm.longColumns) {
        // Ragged: first order the columns under a guess at where they start,
        // which a wrong long column then cannot upset; the exact reading
        // below takes it from there.
        const std::vector<int> starts = arm.longColumns->guessStarts(arm.evidence, arm.germanOrder, random);
        const OrderScorer &single = arm.scorer.message(0);
        const OrderScore guessed = [&single, &starts](const int *order) { return single.score(order, starts.data()); };
        if (!Climb(rankOf, random, guessed, evaluations, halted))
            return {};
        const std::vector<double> columnScores = single.columnScores(rankOf.data(), starts.data());
        result.evidence = arm.longColumns->evidenceFrom(columnScores, rankOf, starts);
    }
    // Several messages: the first climb of a walk is a plain one. Ordering
    // the columns first under guessed starts, held fixed until order and
    // guess agree, cost five times as much, and the kicks that follow read
    // from the walk's starts anyway (ClimbUnderStartsOf).
    return FinishClimb(arm, rankOf, random, evaluations, halted, std::move(result));
}

std::vector<int> CarriedOrder(const std::vector<int> &found, int shift, const JointScorer &scorer)
{
    const int columns = scorer.columns();
    std::vector<int> columnAt; // positions, in reading order
    for (const int column : InversePermutation(found)) {
        if (column + shift >= 0 && column + shift < columns)
            columnAt.push_back(column + shift);
    }
    std::vector<int> rankOf(columns);
    const auto readIn = [&rankOf, columns](const std::vector<int> &order) {
        std::vector<bool> read(columns, false);
        int rank = 0;
        for (const int column : order) {
            rankOf[column] = rank++;
            read[column] = true;
        }
        // Positions not read in yet go last: they read the end of the text,
        // alike for every place tried.
        for (int column = 0; column < columns; ++column) {
            if (!read[column])
                rankOf[column] = rank++;
        }
    };
    for (int column = 0; column < columns; ++column) {
        if (std::find(columnAt.begin(), columnAt.end(), column) != columnAt.end())
            continue;
        std::size_t bestPlace = 0;
        long bestSum = 0;
        for (std::size_t place = 0; place <= columnAt.size(); ++place) {
            std::vector<int> trial = columnAt;
            trial.insert(trial.begin() + static_cast<std::ptrdiff_t>(place), column);
            readIn(trial);
            const long sum = scorer.score(rankOf.data());
            if (place == 0 || sum > bestSum) {
                bestSum = sum;
                bestPlace = place;
            }
        }
        columnAt.insert(columnAt.begin() + static_cast<std::ptrdiff_t>(bestPlace), column);
    }
    readIn(columnAt);
    return rankOf;
}

JobResult ClimbCarriedOrder(KeyLengthArm &arm, const std::vector<int> &found, int shift, std::uint64_t seed,
                            const Halted &halted)
{
    std::mt19937_64 random(seed);
    std::vector<int> rankOf = CarriedOrder(found, shift, arm.scorer);
    // Carried from a good order, it starts near a hill top as a kick does.
    return FinishClimb(arm, rankOf, random, 0, halted, {}, KickedPatience);
}

// First the columns that the probable word does not cover are climbed
// around those it fixes, then all of them freely. A seed's first climb
// starts from the order it grows into by the best joins, later ones from
// random orders around it.
JobResult ClimbFromCribSeed(const ArmSeed &due, const std::vector<std::vector<std::uint8_t>> &messages,
                            std::uint64_t seed, const Halted &halted)
{
    KeyLengthArm &arm = *due.arm;
    std::mt19937_64 random(seed);
    std::vector<int> rankOf;
    if (due.lap == 0)
        rankOf = CompleteCribSeed(messages, arm.columns, *due.seed);
    if (rankOf.empty())
        rankOf = RandomOrderAround(*due.seed, arm.columns, random);
    long evaluations = 0;
    const std::optional<long> sum = ClimbAroundCrib(arm.scorer, *due.seed, rankOf, random, evaluations, halted);
    if (!sum)
        return {};
    // The order that keeps the word is a finding of its own: over a few
    // rows the free climb may leave it for one that reads better by chance.
    const std::vector<int> aroundTheWord = rankOf;
    JobResult result = FinishClimb(arm, rankOf, random, evaluations, halted, {});
    if (!result.findings.empty() && result.findings.back().first.second != aroundTheWord)
        result.findings.insert(result.findings.begin(),
                               {{arm.period, aroundTheWord}, Finding{*sum, Log10Factorial(arm.columns), 1, false}});
    return result;
}

} // namespace abc::search
