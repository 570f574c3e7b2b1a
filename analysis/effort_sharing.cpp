#include "analysis/effort_sharing.h"

#include <algorithm>
#include <cmath>

#include "analysis/key_search.h"
#include "engine/matrix_shape.h"
#include "engine/workbench_state.h"

namespace abc::search {

namespace {

// Longer texts are scored on their first rows only: a matrix full of
// letters decides as well as megabytes do.
constexpr int MaxScoredLetters = 2000;
// How likely a text is to defeat the climbs, and how often a climb then
// misses at the right key length.
constexpr double DefeatingText = 1.0 / 16;
constexpr double DefeatedMiss = 0.98;
// How an arm's lead over its neighbours raises its share: the key lengths
// within LeadSpan columns draw the line, each unit of z-score above it
// multiplies the share by exp(LeadGain), up to MaxLead.
constexpr int LeadSpan = 12;
constexpr double LeadGain = 1.0;
constexpr double MaxLead = 8.0;
// Over fewer letters the climbs' ends scatter too widely to tell.
constexpr long MinLeadQuadgrams = 200;
// Several messages: an arm takes the greatest lead of the arms of its
// method up to this many periods away (updateLeads). On eight messages
// under 30-45 columns the arm that took the most effort was one to three
// periods off the key in all nine piles looked at; on 20 fresh piles three
// periods recovered 16 keys, none 12 (two periods: as well as three on the
// piles looked at, but slower).
constexpr int LeadSpreadPeriods = 3;
// How many climbs of a walk that find nothing German count as one miss.
constexpr double WalkedClimbsOfAMiss = 20;
// Found by trial on held-out piles of five messages under 26-35 columns;
// 100 and 300 did as well once most kicks fell short cheaply.
constexpr int StaleKicksOfAWalk = 200;
// The least share an arm keeps however much the evidence speaks against
// it, and the natural-log prior below which that floor fades too: over
// 15,000 held-out texts and piles (20-1000 letters, 1-8 messages, 2-45
// columns) the key's own arm never stood below -14, while the other
// method's arms of a day's traffic stand at -20 to -35, and each cost
// a first climb of 1-2 % of a 30 s search.
constexpr double PriorFloor = 1.0 / 64;
constexpr double FadingPrior = -16;

// The neighbouring letters of each message, taken together: the last
// letter of one message and the first of the next say nothing.
std::vector<double> ResidueLogLikelihoods(const std::vector<std::vector<std::uint8_t>> &messages, int period,
                                          int columns)
{
    std::vector<double> total = KeyLengthResidueLogLikelihoods(messages.front(), period, columns);
    for (std::size_t message = 1; message < messages.size(); ++message) {
        const std::vector<double> more = KeyLengthResidueLogLikelihoods(messages[message], period, columns);
        for (int residue = 0; residue < period; ++residue)
            total[residue] += more[residue];
    }
    return total;
}

bool EveryMessageFits(const std::vector<std::vector<std::uint8_t>> &messages, int columns)
{
    return std::all_of(messages.begin(), messages.end(), [columns](const std::vector<std::uint8_t> &letters) {
        return MatrixShape::Of(static_cast<int>(letters.size()), columns).rows <= GridSide;
    });
}

} // namespace

KeyLengthArm::KeyLengthArm(int period, int columns, double logPrior, JointScorer scorer)
    : period(period)
    , columns(columns)
    , logPrior(logPrior)
    , scorer(std::move(scorer))
{
}

double KeyLengthArm::weight() const
{
    // Confirm or beat what reads as German. Several messages take a second
    // walk to confirm, and the key lengths around lead as much as this one
    // (updateLeads): held below them it would wait on all of them.
    if (!germanOrder.empty())
        return scorer.messageCount() > 1 ? std::max(1.0, lead) : 1.0;
    // Arms the evidence speaks against still get some, in case it misleads
    // on a short text. Every climb that finds nothing German makes the arm
    // less likely, the more so the taller its columns, since a climb over
    // tall columns seldom misses the key.
    const double floor = PriorFloor * std::exp(std::min(0.0, logPrior - FadingPrior) / 2);
    const double prior = std::clamp(std::exp(logPrior / 2), floor, 1.0);
    // Several messages show every join once in each of their rows, but
    // their ragged last rows cost a climb about as much as those rows
    // give: trials missed as often over all rows as over half of them.
    const int rows = std::max(scorer.rows(), scorer.totalRows() / 2);
    // Over short columns a miss says little; the lead of several messages
    // over their neighbours still does.
    if (rows < 8)
        return scorer.messageCount() > 1 ? prior * lead : prior;
    const double missChance = 1.0 - std::min((rows - 4) / 12.0, 0.6);
    // Under a ragged last row the first climbs mostly gather evidence on
    // the long columns; their misses say less.
    // A walk's climbs are not independent trials, but at the right key
    // length a walk mostly reaches the key within a few dozen of them.
    const double counted = static_cast<double>(misses) * (longColumns ? 0.25 : 1.0)
        + static_cast<double>(walkedMisses) / WalkedClimbsOfAMiss;
    // Some texts defeat nearly every climb even at the right key length
    // (a phrase repeated, say). That chance keeps every arm in the
    // search, but it fades with the misses too, so that arms which
    // missed hundreds of times give way to those barely tried.
    return prior * lead
        * ((1 - DefeatingText) * std::pow(missChance, counted) + DefeatingText * std::pow(DefeatedMiss, counted));
}

double KeyLengthArm::costPerClimb() const
{
    return climbs > 0 ? static_cast<double>(effort) / static_cast<double>(climbs)
                      : 5.0 * columns * columns + columns * columns * columns / 3.0;
}

void KeyLengthArm::recordClimb(long evaluations, const std::vector<std::pair<int, double>> &longColumnEvidence)
{
    for (const auto &[slot, value] : longColumnEvidence)
        evidence[slot] += value;
    effort += evaluations;
    ++climbs;
}

bool KeyLengthArm::walkDue() const
{
    return scorer.messageCount() > 1 && !walkOrder.empty() && staleKicks < StaleKicksOfAWalk;
}

bool KeyLengthArm::recordEnd(const std::vector<int> &rankOf, long sum, double zScore, bool readsWell, int fromWalk)
{
    const bool kicked = fromWalk >= 0;
    bool independent = true;
    bestZScore = std::max(bestZScore, zScore);
    if (scorer.messageCount() > 1) {
        if (!kicked) {
            ++walkNumber;
            staleKicks = 0;
        } else {
            staleKicks = sum > walkSum ? 0 : staleKicks + 1;
        }
        if (!kicked || sum >= walkSum) {
            walkOrder = rankOf;
            walkSum = sum;
        }
        // Where one order must come back to be trusted, it must come back
        // from a climb that did not set out from it: climbs of one round
        // can set out from the same walk, and the walk begins anew.
        if (readsWell) {
            const int walk = kicked ? fromWalk : walkNumber;
            independent = walk != walkReadWell;
            walkReadWell = walk;
            staleKicks = StaleKicksOfAWalk;
        }
    }
    if (!readsWell) {
        if (kicked)
            ++walkedMisses;
        else
            ++misses;
    } else if (germanOrder.empty() || sum > germanSum) {
        germanOrder = rankOf;
        germanSum = sum;
    }
    return independent;
}

KeyLengthArms::KeyLengthArms(const std::vector<std::vector<std::uint8_t>> &messages, const MethodEvidence &method,
                             double fewestRows)
{
    int length = 0;
    for (const std::vector<std::uint8_t> &letters : messages)
        length += static_cast<int>(letters.size());
    const int longestKey = std::min(MaxKeyLength, static_cast<int>(length / fewestRows));
    double best = -1e300;
    for (const int period : Periods) {
        const double methodLogLikelihood = method.logLikelihood[period == 3 ? 1 : 2];
        for (int columns = MinKeyLength; columns <= longestKey; ++columns) {
            if (messages.size() > 1 && !EveryMessageFits(messages, columns))
                continue;
            const int scoredRows = MatrixShape::Of(MaxScoredLetters, columns).rows;
            const double logPrior =
                methodLogLikelihood + ResidueLogLikelihoods(messages, period, columns)[columns % period];
            best = std::max(best, logPrior);
            KeyLengthArm &arm =
                m_arms.emplace_back(period, columns, logPrior, JointScorer(messages, columns, period, scoredRows));
            if (messages.size() == 1 && columns > ExhaustiveColumns && LongColumnModel::Needed(length, columns)) {
                arm.longColumns.emplace(messages.front(), columns, period);
                arm.evidence.assign(arm.longColumns->slotCount(), 0.0);
            }
        }
    }
    for (KeyLengthArm &arm : m_arms)
        arm.logPrior -= best;
    // Likeliest first; among equals the short keys, which are cheap.
    std::stable_sort(m_arms.begin(), m_arms.end(), [](const KeyLengthArm &a, const KeyLengthArm &b) {
        if (a.likely() != b.likely())
            return a.likely();
        return a.columns < b.columns;
    });
    for (auto &byLength : m_index)
        byLength.fill(-1);
    for (std::size_t i = 0; i < m_arms.size(); ++i)
        m_index[m_arms[i].period == 3 ? 0 : 1][m_arms[i].columns] = static_cast<int>(i);
}

const KeyLengthArm &KeyLengthArms::at(int period, int columns) const
{
    return *find(period, columns);
}

const KeyLengthArm *KeyLengthArms::find(int period, int columns) const
{
    if (columns < 0 || columns > MaxKeyLength)
        return nullptr;
    const int index = m_index[period == 3 ? 0 : 1][columns];
    return index < 0 ? nullptr : &m_arms[index];
}

// Climbs over more columns end higher, right or wrong, so an arm is held
// against a line through its neighbours of the same residue; at the right
// key length even the climbs that miss put many columns right, and end
// above it.
void KeyLengthArms::updateLeads()
{
    for (KeyLengthArm &arm : m_arms) {
        arm.lead = 1.0;
        if (arm.climbs == 0 || arm.columns <= ExhaustiveColumns || arm.scorer.quadgramCount() < MinLeadQuadgrams)
            continue;
        double count = 0, sumX = 0, sumY = 0, sumXX = 0, sumXY = 0;
        for (int columns = arm.columns - LeadSpan; columns <= arm.columns + LeadSpan; columns += arm.period) {
            const KeyLengthArm *other = columns == arm.columns ? nullptr : find(arm.period, columns);
            if (!other || other->climbs == 0 || other->columns <= ExhaustiveColumns)
                continue;
            const double x = columns - arm.columns;
            count += 1;
            sumX += x;
            sumY += other->bestZScore;
            sumXX += x * x;
            sumXY += x * other->bestZScore;
        }
        if (count < 2)
            continue;
        const double slope = (count * sumXY - sumX * sumY) / std::max(1e-9, count * sumXX - sumX * sumX);
        const double line = (sumY - slope * sumX) / count;
        arm.lead = std::clamp(std::exp(LeadGain * (arm.bestZScore - line)), 1.0, MaxLead);
    }
    // A wrong key length a few periods from the right one reads under the
    // right shifts, and over the few rows of several messages its climbs
    // often piece together much of the plaintext: its lead speaks for the
    // key lengths around it as much as for itself.
    if (m_arms.empty() || m_arms.front().scorer.messageCount() < 2)
        return;
    std::vector<double> own;
    own.reserve(m_arms.size());
    for (const KeyLengthArm &arm : m_arms)
        own.push_back(arm.lead);
    for (KeyLengthArm &arm : m_arms) {
        for (int periods = -LeadSpreadPeriods; periods <= LeadSpreadPeriods; ++periods) {
            const KeyLengthArm *other = periods == 0 ? nullptr : find(arm.period, arm.columns + periods * arm.period);
            if (other)
                arm.lead = std::max(arm.lead, own[static_cast<std::size_t>(other - m_arms.data())]);
        }
    }
}

std::vector<DueClimb> KeyLengthArms::planRound(std::size_t wanted, std::size_t most)
{
    updateLeads();
    // Every arm may spend up to its weight's share of a threshold, so short
    // keys, whose climbs are cheap, get many restarts before a long key gets
    // its first. The threshold grows only when too few climbs are due:
    // grown faster than the effort is spent, every arm would always be due,
    // and the cheap short keys, sorted first, would take every round.
    std::vector<DueClimb> climbs;
    for (int widen = 0; widen < 12 && climbs.size() < wanted; ++widen) {
        if (widen > 0)
            m_threshold *= 1.3;
        climbs = dueClimbs();
    }
    if (climbs.size() > most)
        climbs.resize(most);
    return climbs;
}

std::vector<DueClimb> KeyLengthArms::dueClimbs()
{
    struct Due {
        double behind; // share of the allowance not yet spent
        int restarts;
        KeyLengthArm *arm;
    };
    std::vector<Due> due;
    for (KeyLengthArm &arm : m_arms) {
        if (arm.columns <= ExhaustiveColumns)
            continue;
        const double share = m_threshold * arm.weight();
        const double allowance = share - static_cast<double>(arm.effort);
        const int restarts = static_cast<int>(std::clamp(allowance / arm.costPerClimb(), 0.0, 2.0));
        if (restarts > 0)
            due.push_back({allowance / share, restarts, &arm});
    }
    std::stable_sort(due.begin(), due.end(), [](const Due &a, const Due &b) { return a.behind > b.behind; });
    std::vector<DueClimb> climbs;
    for (const Due &next : due) {
        for (int restart = 0; restart < next.restarts; ++restart)
            climbs.push_back({next.arm, restart});
    }
    return climbs;
}

} // namespace abc::search
