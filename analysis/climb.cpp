#include "analysis/climb.h"

#include <algorithm>
#include <cstdint>

namespace abc::search {

namespace {

int Below(std::mt19937_64 &random, int bound)
{
    return static_cast<int>(random() % static_cast<std::uint64_t>(bound));
}

// Moves positions [from, from + length) so that they start at position to
// of what remains.
void MoveBlock(std::vector<int> &key, int from, int length, int to)
{
    if (to < from)
        std::rotate(key.begin() + to, key.begin() + from, key.begin() + from + length);
    else if (to > from)
        std::rotate(key.begin() + from, key.begin() + from + length, key.begin() + to + length);
}

enum class Stage { Improved, Unchanged, Halted };

// One climb's order and score; each stage tries its moves on a copy and
// keeps the first that pays.
class Climber
{
public:
    Climber(std::vector<int> &key, std::mt19937_64 &random, const OrderScore &score, long &evaluations,
            const std::function<bool()> &halted)
        : m_key(key)
        , m_random(random)
        , m_score(score)
        , m_evaluations(evaluations)
        , m_halted(halted)
        , m_columns(static_cast<int>(key.size()))
        , m_current(score(key.data()))
        , m_trial(key.size())
    {
    }

    long current() const { return m_current; }
    bool randomMovesUntilStale(double patienceShare = 1.0);
    Stage everyBlockMove();
    Stage everySwap();
    Stage tradesOfBlocks(int period);
    Stage turnsWithWrappedColumnsSetRight(int period);
    Stage tradesInReadingOrder(int longest);

private:
    int below(int bound) { return Below(m_random, bound); }
    // Asks the clock only now and then: the scorings are cheap.
    bool haltDue() { return m_evaluations % 128 == 0 && m_halted(); }
    void randomMove();
    bool tryTrial(bool acceptEqual);

    std::vector<int> &m_key;
    std::mt19937_64 &m_random;
    const OrderScore &m_score;
    long &m_evaluations;
    const std::function<bool()> &m_halted;
    int m_columns;
    long m_current;
    std::vector<int> m_trial;
};

// Takes the trial when it scores better, or as well when acceptEqual (to
// drift across plateaus); true only when it scores better.
bool Climber::tryTrial(bool acceptEqual)
{
    const long sum = m_score(m_trial.data());
    ++m_evaluations;
    if (sum > m_current || (acceptEqual && sum == m_current)) {
        const bool better = sum > m_current;
        m_key.swap(m_trial);
        m_current = sum;
        return better;
    }
    return false;
}

void Climber::randomMove()
{
    const int n = m_columns;
    m_trial = m_key;
    const int kind = below(10);
    if (kind < 6) {
        const int length = 1 + below(n - 1);
        const int from = below(n - length + 1);
        const int to = below(n - length + 1);
        MoveBlock(m_trial, from, length, to);
    } else if (kind < 9) {
        const int first = below(n);
        const int second = below(n);
        std::swap(m_trial[first], m_trial[second]);
    } else {
        std::rotate(m_trial.begin(), m_trial.begin() + below(n), m_trial.end());
    }
}

// Moving a block of adjacent columns is what mends a transposition, swaps
// fix single columns. False when halted.
bool Climber::randomMovesUntilStale(double patienceShare)
{
    const int patience = static_cast<int>((100 + 5 * m_columns * m_columns) * patienceShare);
    int stale = 0;
    while (stale < patience) {
        if (haltDue())
            return false;
        randomMove();
        stale = tryTrial(true) ? 0 : stale + 1;
    }
    return true;
}

// This frees orders in which every block is right but the blocks stand in
// the wrong places.
Stage Climber::everyBlockMove()
{
    const int n = m_columns;
    for (int length = 1; length < n; ++length) {
        for (int from = 0; from + length <= n; ++from) {
            for (int to = 0; to + length <= n; ++to) {
                if (to == from)
                    continue;
                if (haltDue())
                    return Stage::Halted;
                m_trial = m_key;
                MoveBlock(m_trial, from, length, to);
                if (tryTrial(false))
                    return Stage::Improved;
            }
        }
    }
    return Stage::Unchanged;
}

Stage Climber::everySwap()
{
    for (int a = 0; a < m_columns; ++a) {
        for (int b = a + 1; b < m_columns; ++b) {
            if (haltDue())
                return Stage::Halted;
            m_trial = m_key;
            std::swap(m_trial[a], m_trial[b]);
            if (tryTrial(false))
                return Stage::Improved;
        }
    }
    return Stage::Unchanged;
}

// Blocks a whole number of periods apart trading places keep every
// column's shift, where moving one of them alone does not.
Stage Climber::tradesOfBlocks(int period)
{
    const int n = m_columns;
    for (int first = 0; first < n && period > 0; ++first) {
        for (int second = first + period; second < n; second += period) {
            for (int length = 1; length <= second - first && second + length <= n; ++length) {
                if (haltDue())
                    return Stage::Halted;
                m_trial = m_key;
                std::swap_ranges(m_trial.begin() + first, m_trial.begin() + first + length, m_trial.begin() + second);
                if (tryTrial(false))
                    return Stage::Improved;
            }
        }
    }
    return Stage::Unchanged;
}

// An order can read the text from a few letters in, with the columns it
// wrapped misordered, and neither a turn nor a move alone pays. Only turns
// by whole periods keep the shifts right.
Stage Climber::turnsWithWrappedColumnsSetRight(int period)
{
    constexpr int Wrapped = 4;
    const int n = m_columns;
    for (int turn = period; turn > 0 && turn < n; turn += period) {
        for (int length = 1; length <= std::min(Wrapped, n - 1); ++length) {
            for (int from = 0; from + length <= n; ++from) {
                if (from > Wrapped && from + length < n - Wrapped)
                    continue;
                for (int to = 0; to + length <= n; ++to) {
                    if (haltDue())
                        return Stage::Halted;
                    m_trial = m_key;
                    std::rotate(m_trial.begin(), m_trial.begin() + turn, m_trial.end());
                    MoveBlock(m_trial, from, length, to);
                    if (tryTrial(false))
                        return Stage::Improved;
                }
            }
        }
    }
    return Stage::Unchanged;
}

// Over messages of one or two rows a long column holds as many letters as
// two short ones, and an order that reads them in each other's place reads
// every column between as the key does: it reads nearly as well as the key,
// yet no move of the key's columns mends it, since every column between
// would have to be read one place on. Trading the two blocks in the reading
// order does.
Stage Climber::tradesInReadingOrder(int longest)
{
    const int n = m_columns;
    std::vector<int> columnAt(n);
    std::vector<int> traded(n);
    for (int column = 0; column < n; ++column)
        columnAt[m_key[column]] = column;
    const auto at = [&columnAt](int rank) { return columnAt.begin() + rank; };
    for (int first = 0; first < n; ++first) {
        for (int firstLength = 1; firstLength <= longest && first + firstLength <= n; ++firstLength) {
            for (int second = first + firstLength; second < n; ++second) {
                for (int secondLength = 1; secondLength <= longest && second + secondLength <= n; ++secondLength) {
                    // Equal blocks move nothing between them: swaps of
                    // their columns one by one do as much.
                    if (firstLength == secondLength)
                        continue;
                    if (haltDue())
                        return Stage::Halted;
                    auto out = std::copy(at(0), at(first), traded.begin());
                    out = std::copy(at(second), at(second + secondLength), out);
                    out = std::copy(at(first + firstLength), at(second), out);
                    out = std::copy(at(first), at(first + firstLength), out);
                    std::copy(at(second + secondLength), columnAt.end(), out);
                    for (int rank = 0; rank < n; ++rank)
                        m_trial[traded[rank]] = rank;
                    if (tryTrial(false))
                        return Stage::Improved;
                }
            }
        }
    }
    return Stage::Unchanged;
}

} // namespace

std::optional<long> Climb(std::vector<int> &rankOf, std::mt19937_64 &random, const OrderScore &score, long &evaluations,
                          const std::function<bool()> &halted, int turnsBy, double patienceShare, int readingBlocks)
{
    Climber climber(rankOf, random, score, evaluations, halted);
    for (;;) {
        // Random moves until they stop paying, then every move of each
        // closing stage once, each stage only while the last found nothing.
        if (!climber.randomMovesUntilStale(patienceShare))
            return std::nullopt;
        Stage stage = climber.everyBlockMove();
        if (stage == Stage::Unchanged)
            stage = climber.everySwap();
        if (stage == Stage::Unchanged)
            stage = climber.tradesOfBlocks(turnsBy);
        if (stage == Stage::Unchanged)
            stage = climber.turnsWithWrappedColumnsSetRight(turnsBy);
        if (stage == Stage::Unchanged && readingBlocks > 0)
            stage = climber.tradesInReadingOrder(readingBlocks);
        if (stage == Stage::Halted)
            return std::nullopt;
        if (stage == Stage::Unchanged)
            return climber.current();
    }
}

void Kick(std::vector<int> &rankOf, std::mt19937_64 &random, int moves, int period)
{
    const int n = static_cast<int>(rankOf.size());
    // A block whose length and move are whole periods leaves every column
    // under the shift it had, and the columns between the block's old and
    // new place too: only the joins change.
    if (period < 1 || n < 3 * period)
        return;
    for (int move = 0; move < moves; ++move) {
        const int length = period * (1 + Below(random, std::max(1, n / 3 / period)));
        const int from = Below(random, n - length + 1);
        const int firstTo = from % period;
        const int to = firstTo + period * Below(random, (n - length - firstTo) / period + 1);
        MoveBlock(rankOf, from, length, to);
    }
}

bool ClimbByRandomMoves(std::vector<int> &rankOf, std::mt19937_64 &random, const OrderScore &score, long &evaluations,
                        const std::function<bool()> &halted, double patienceShare)
{
    return Climber(rankOf, random, score, evaluations, halted).randomMovesUntilStale(patienceShare);
}

} // namespace abc::search
