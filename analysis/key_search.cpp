#include "analysis/key_search.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <numeric>
#include <random>

#include "analysis/climb.h"
#include "analysis/german_ngrams.h"
#include "analysis/job_runner.h"
#include "analysis/long_columns.h"
#include "analysis/order_scorer.h"
#include "analysis/word_list.h"
#include "engine/cipher.h"

namespace abc::search {

namespace {

// Longer texts are scored on their first rows only: a matrix full of
// letters decides as well as megabytes do.
constexpr int MaxScoredLetters = 2000;
// Key lengths up to this are tried in every order.
constexpr int ExhaustiveColumns = 7;
// A candidate below this many spreads from typical German of its length
// does not read as German.
constexpr double GermanThreshold = -4.0;
// A climbed candidate must read this well to end the search early.
constexpr double ConfidentThreshold = -3.0;
constexpr int MaxRounds = 100000;
// How likely a text is to defeat the climbs, and how often a climb then
// misses at the right key length.
constexpr double DefeatingText = 1.0 / 16;
constexpr double DefeatedMiss = 0.98;
std::uint64_t Mix(std::uint64_t value)
{
    value += 0x9E3779B97F4A7C15ull;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

double Log10Factorial(int n)
{
    return std::lgamma(n + 1.0) / std::log(10.0);
}

// One key length under one method, with the search's belief in it.
struct Arm {
    Arm(int period, int columns, double logPrior, OrderScorer scorer)
        : period(period)
        , columns(columns)
        , logPrior(logPrior)
        , scorer(std::move(scorer))
    {
    }
    int period = 3;
    int columns = 2;
    double logPrior = 0; // natural log, relative to the likeliest arm
    OrderScorer scorer;
    // Scorings spent on this arm so far, and climbs: the search shares its
    // effort out by these, not by time, so that its course does not depend
    // on the machine.
    long effort = 0;
    long climbs = 0;
    long misses = 0; // climbs that ended on nothing German
    // For ragged matrices: the guesses at the long columns, and the
    // evidence the climbs so far have gathered on them.
    std::optional<LongColumnModel> longColumns;
    std::vector<double> evidence;
    // The best order climbed here so far, while it reads as German: its
    // long columns are then worth reading under again.
    std::vector<int> germanOrder;
    long germanSum = 0;
    bool likely() const { return logPrior > -8; }
    // Share of the effort: arms the evidence speaks against still get some,
    // in case it misleads on a short text. Every climb that finds nothing
    // German makes the arm less likely, the more so the taller its columns,
    // since a climb over tall columns seldom misses the key.
    double weight() const
    {
        if (!germanOrder.empty())
            return 1.0; // confirm or beat what reads as German
        const double prior = std::clamp(std::exp(logPrior / 2), 1.0 / 64, 1.0);
        if (scorer.rows() < 8)
            return prior; // short columns: a miss says little
        const double missChance = 1.0 - std::min((scorer.rows() - 4) / 12.0, 0.6);
        // Under a ragged last row the first climbs mostly gather evidence on
        // the long columns; their misses say less.
        const double counted = static_cast<double>(misses) * (longColumns ? 0.25 : 1.0);
        // Some texts defeat nearly every climb even at the right key length
        // (a phrase repeated, say). That chance keeps every arm in the
        // search, but it fades with the misses too, so that arms which
        // missed hundreds of times give way to those barely tried.
        return prior * ((1 - DefeatingText) * std::pow(missChance, counted) +
                        DefeatingText * std::pow(DefeatedMiss, counted));
    }
    double costPerClimb() const
    {
        return climbs > 0 ? static_cast<double>(effort) / static_cast<double>(climbs)
                          : 5.0 * columns * columns + columns * columns * columns / 3.0;
    }
};

// A column order found, keyed by method and order.
struct Finding {
    long sum = 0;         // quadgram score, in steps of 1/QuadgramUnit
    double penalty = 0;   // log10 of how many keys it was chosen from
    int hits = 0;         // independent climbs that ended here
    bool certain = false; // from the word lists or tried against every order
};

using FindingKey = std::pair<int, std::vector<int>>; // period, rank of each column

// What one job hands back.
struct JobResult {
    std::vector<std::pair<FindingKey, Finding>> findings;
    long evaluations = 0;
    Arm *arm = nullptr; // the arm a climb spent its effort on
    std::vector<std::pair<int, double>> evidence; // on the arm's long columns
};

class KeySearch
{
public:
    KeySearch(std::string_view cipherText, const SearchOptions &options, std::stop_token stop)
        : m_text(cipherText)
        , m_letters(LetterCodes(cipherText))
        , m_options(options)
        , m_runner(options.threads, options.timeLimitSeconds, std::move(stop))
    {
    }

    SearchResult run();

private:
    void planArms(const MethodEvidence &method);
    bool halted() { return m_runner.halted(); }
    double seconds() const { return m_runner.seconds(); }

    using Job = std::function<JobResult()>;
    void runJobs(const std::vector<Job> &jobs);
    void merge(const JobResult &result);
    void report(const std::pair<FindingKey, Finding> *changed, int columns, int period);

    JobResult dictionaryJob(std::size_t from, std::size_t to);
    JobResult exhaustiveJob(const Arm &arm);
    JobResult climbJob(Arm &arm, std::uint64_t seed);

    double penalized(const FindingKey &key, const Finding &finding) const;
    double germanness(const Arm &arm, long sum) const;
    const Arm &armFor(int period, int columns) const;
    std::vector<std::pair<FindingKey, Finding>> ranked() const;
    bool confident() const;
    Candidate candidate(const FindingKey &key, const Finding &finding) const;

    std::string_view m_text;
    std::vector<std::uint8_t> m_letters;
    const SearchOptions &m_options;
    JobRunner m_runner;

    std::vector<Arm> m_arms;
    // The keywords, then the word list's keys; m_listedFrom is where the
    // word list begins.
    std::vector<const std::string *> m_words;
    std::size_t m_listedFrom = 0;
    const std::vector<ListedWord> *m_listed = nullptr;
    std::array<std::array<int, MaxKeyLength + 1>, 2> m_armIndex{}; // by method and key length
    const std::pair<const FindingKey, Finding> *m_best = nullptr;
    std::map<FindingKey, Finding> m_findings;
    double m_dictionaryPenalty = 0;

    std::mutex m_progressMutex;
    double m_bestReported = -1e300;
};

void KeySearch::planArms(const MethodEvidence &method)
{
    const int length = static_cast<int>(m_letters.size());
    // Below three rows any order of the columns reads as well as another.
    const int longestKey = std::min(MaxKeyLength, length / 3);
    double best = -1e300;
    for (const int period : Periods) {
        const std::vector<double> adjacent = KeyLengthResidueLogLikelihoods(m_letters, period);
        const double methodLikelihood = method.logLikelihood[period == 3 ? 1 : 2];
        for (int columns = MinKeyLength; columns <= longestKey; ++columns) {
            const int scoredRows = (MaxScoredLetters + columns - 1) / columns;
            const double prior = methodLikelihood + adjacent[columns % period];
            best = std::max(best, prior);
            Arm &arm =
                m_arms.emplace_back(period, columns, prior, OrderScorer(m_letters, columns, period, scoredRows));
            if (columns > ExhaustiveColumns && LongColumnModel::Needed(length, columns)) {
                arm.longColumns.emplace(m_letters, columns, period);
                arm.evidence.assign(arm.longColumns->slotCount(), 0.0);
            }
        }
    }
    for (Arm &arm : m_arms)
        arm.logPrior -= best;
    // Likeliest first; among equals the short keys, which are cheap.
    std::stable_sort(m_arms.begin(), m_arms.end(), [](const Arm &a, const Arm &b) {
        if (a.likely() != b.likely())
            return a.likely();
        return a.columns < b.columns;
    });
    for (std::size_t i = 0; i < m_arms.size(); ++i)
        m_armIndex[m_arms[i].period == 3 ? 0 : 1][m_arms[i].columns] = static_cast<int>(i);
}

const Arm &KeySearch::armFor(int period, int columns) const
{
    return m_arms[m_armIndex[period == 3 ? 0 : 1][columns]];
}

double KeySearch::penalized(const FindingKey &key, const Finding &finding) const
{
    const Arm &arm = armFor(key.first, static_cast<int>(key.second.size()));
    const long full = std::max(1L, static_cast<long>(m_letters.size()) - 3);
    const double scale = static_cast<double>(full) / std::max(1L, arm.scorer.quadgramCount());
    return static_cast<double>(finding.sum) / QuadgramUnit * scale - finding.penalty;
}

double KeySearch::germanness(const Arm &arm, long sum) const
{
    const double count = std::max(1.0, static_cast<double>(arm.scorer.quadgramCount()));
    const double mean = static_cast<double>(sum) / QuadgramUnit / count;
    // Past a few hundred letters texts differ more by style and subject
    // than by chance, so the spread stops shrinking with the length.
    const double spread = GermanQuadgramSpread100 * std::max(std::sqrt(100.0 / count), 0.75);
    return (mean - GermanQuadgramMean) / spread;
}

void KeySearch::merge(const JobResult &result)
{
    if (result.arm) {
        for (const auto &[slot, value] : result.evidence)
            result.arm->evidence[slot] += value;
        result.arm->effort += result.evaluations;
        ++result.arm->climbs;
        for (const auto &[key, found] : result.findings) {
            if (germanness(*result.arm, found.sum) < ConfidentThreshold) {
                ++result.arm->misses;
            } else if (result.arm->germanOrder.empty() || found.sum > result.arm->germanSum) {
                result.arm->germanOrder = key.second;
                result.arm->germanSum = found.sum;
            }
        }
    }
    for (const auto &[key, found] : result.findings) {
        auto [entry, inserted] = m_findings.try_emplace(key, found);
        if (!inserted) {
            entry->second.hits += found.hits;
            entry->second.penalty = std::min(entry->second.penalty, found.penalty);
            entry->second.certain = entry->second.certain || found.certain;
        }
        if (!m_best || penalized(entry->first, entry->second) > penalized(m_best->first, m_best->second))
            m_best = &*entry;
    }
}

std::vector<std::pair<FindingKey, Finding>> KeySearch::ranked() const
{
    std::vector<std::pair<FindingKey, Finding>> list(m_findings.begin(), m_findings.end());
    std::stable_sort(list.begin(), list.end(), [this](const auto &a, const auto &b) {
        return penalized(a.first, a.second) > penalized(b.first, b.second);
    });
    return list;
}

bool KeySearch::confident() const
{
    if (!m_best)
        return false;
    const auto &[key, best] = *m_best;
    const Arm &arm = armFor(key.first, static_cast<int>(key.second.size()));
    const double german = germanness(arm, best.sum);
    if (best.certain)
        return german >= GermanThreshold;
    // One climb can stop on a near miss that reads almost as German; the
    // same order reached again from other starts is the answer. The less
    // German it reads, and the fewer rows, the more agreeing climbs it takes.
    if (german < ConfidentThreshold)
        return false;
    const int hitsNeeded = 2 + (german < -1) + (german < -2) + (german < -1 && arm.scorer.rows() < 10);
    return best.hits >= hitsNeeded;
}

void KeySearch::report(const std::pair<FindingKey, Finding> *changed, int columns, int period)
{
    if (!m_options.onProgress)
        return;
    Progress progress;
    progress.fraction = std::clamp(seconds() / std::max(1e-9, m_options.timeLimitSeconds),
                                   0.0, 1.0);
    progress.keyLength = columns;
    progress.method = MethodOfPeriod(period);
    progress.seconds = seconds();
    const std::lock_guard lock(m_progressMutex);
    if (changed) {
        const double value = penalized(changed->first, changed->second);
        if (value > m_bestReported) {
            m_bestReported = value;
            progress.best = candidate(changed->first, changed->second);
        }
    }
    m_options.onProgress(progress);
}

JobResult KeySearch::dictionaryJob(std::size_t from, std::size_t to)
{
    // The first rows decide which words deserve a full reading.
    struct Scored {
        double mean;
        FindingKey key;
    };
    std::vector<Scored> best;
    constexpr std::size_t Kept = 8;
    for (std::size_t index = from; index < to; ++index) {
        if (index % 256 == 0 && halted())
            break;
        const std::string &word = *m_words[index];
        const ColumnOrder order = KeyColumnOrder(word);
        const int columns = static_cast<int>(order.size());
        if (columns < MinKeyLength || columns > static_cast<int>(m_letters.size()) / 3)
            continue;
        const std::vector<int> rankOf = InversePermutation(order);
        for (const int period : Periods) {
            const OrderScorer prefix(m_letters, columns, period, (120 + columns - 1) / columns);
            const double mean = static_cast<double>(prefix.score(rankOf.data())) /
                                std::max(1L, prefix.quadgramCount());
            if (best.size() < Kept || mean > best.back().mean) {
                Scored scored{mean, {period, rankOf}};
                best.insert(std::upper_bound(best.begin(), best.end(), scored,
                                             [](const Scored &a, const Scored &b) { return a.mean > b.mean; }),
                            std::move(scored));
                if (best.size() > Kept)
                    best.pop_back();
            }
        }
    }
    JobResult result;
    for (Scored &scored : best) {
        const Arm &arm = armFor(scored.key.first, static_cast<int>(scored.key.second.size()));
        Finding finding{arm.scorer.score(scored.key.second.data()), m_dictionaryPenalty, 0, true};
        result.findings.emplace_back(std::move(scored.key), finding);
    }
    return result;
}

JobResult KeySearch::exhaustiveJob(const Arm &arm)
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

JobResult KeySearch::climbJob(Arm &arm, std::uint64_t seed)
{
    const int n = arm.columns;
    std::mt19937_64 random(seed);
    std::vector<int> key(n);
    std::iota(key.begin(), key.end(), 0);
    std::shuffle(key.begin(), key.end(), random);
    long evaluations = 0;
    const std::function<bool()> stop = [this] { return halted(); };
    JobResult result;

    if (arm.longColumns) {
        // Ragged: first order the columns under a guess at where they start,
        // which a wrong long column then cannot upset; the exact reading
        // below takes it from there.
        // Every other climb reads under the long columns of an order that
        // reads as German, if there is one: that confirms it soonest.
        const std::vector<int> starts = !arm.germanOrder.empty() && random() % 2 == 0
                                            ? arm.longColumns->startsOf(arm.germanOrder)
                                            : arm.longColumns->drawStarts(arm.evidence, random);
        const OrderScore guessed = [&arm, &starts](const int *rankOf) { return arm.scorer.score(rankOf, starts.data()); };
        if (!Climb(key, random, guessed, evaluations, stop))
            return {};
        result.evidence =
            arm.longColumns->evidenceFrom(arm.scorer.columnScores(key.data(), starts.data()), key, starts);
    }
    const OrderScore exact = [&arm](const int *rankOf) { return arm.scorer.score(rankOf); };
    const std::optional<long> sum = Climb(key, random, exact, evaluations, stop, arm.period);
    if (!sum)
        return {};
    result.findings.push_back({{arm.period, key}, Finding{*sum, Log10Factorial(n), 1, false}});
    result.evaluations = evaluations;
    result.arm = &arm;
    return result;
}

void KeySearch::runJobs(const std::vector<Job> &jobs)
{
    // Merged in the jobs' order, so that the outcome depends on the seed
    // alone.
    for (const JobResult &result : m_runner.run(jobs))
        merge(result);
}

Candidate KeySearch::candidate(const FindingKey &key, const Finding &finding) const
{
    const Arm &arm = armFor(key.first, static_cast<int>(key.second.size()));
    Candidate result;
    result.order = InversePermutation(key.second);
    result.method = MethodOfPeriod(key.first);
    const std::optional<std::string> keyword = KeywordForOrder(result.order);
    result.writable = keyword.has_value();
    result.keyword = keyword.value_or(std::string());
    result.score = static_cast<double>(finding.sum) / QuadgramUnit / std::max(1L, arm.scorer.quadgramCount());
    result.germanness = germanness(arm, finding.sum);
    result.readsAsGerman = result.germanness >= GermanThreshold;
    result.plainText = DecipherWithOrder(m_text, result.order, result.method);
    // Name the word behind the order where a list has one.
    for (std::size_t i = 0; i < m_words.size(); ++i) {
        const std::string &word = *m_words[i];
        if (word.size() == result.order.size() && KeyColumnOrder(word) == result.order) {
            result.dictionaryWord = i < m_listedFrom ? word : (*m_listed)[i - m_listedFrom].spelling;
            result.keyword = word;
            result.writable = true;
            break;
        }
    }
    return result;
}

} // namespace

SearchResult KeySearch::run()
{
    SearchResult outcome;
    outcome.evidence = DetectMethod(m_text);
    if (m_letters.size() < static_cast<std::size_t>(MinTextLength)) {
        outcome.status = SearchStatus::TooShort;
        return outcome;
    }
    planArms(outcome.evidence);

    // Words first: the keys of the time were words.
    for (const std::string &keyword : m_options.keywords) {
        if (std::all_of(keyword.begin(), keyword.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
            m_words.push_back(&keyword);
    }
    m_listedFrom = m_words.size();
    m_listed = &WordListKeys(m_options.wordListPath, m_runner.stopToken());
    for (const ListedWord &word : *m_listed)
        m_words.push_back(&word.key);
    m_dictionaryPenalty = std::log10(std::max<double>(2, static_cast<double>(m_words.size())));

    std::vector<Job> jobs;
    const std::size_t chunk = 4096;
    for (std::size_t from = 0; from < m_words.size(); from += chunk)
        jobs.push_back([this, from] {
            JobResult result = dictionaryJob(from, std::min(m_words.size(), from + chunk));
            report(nullptr, 0, 3);
            return result;
        });
    for (const Arm &arm : m_arms) {
        if (arm.columns <= ExhaustiveColumns)
            jobs.push_back([this, &arm] { return exhaustiveJob(arm); });
    }
    runJobs(jobs);
    if (m_best) {
        const std::pair<FindingKey, Finding> best = *m_best;
        report(&best, 0, best.first.first);
    }

    // Rounds of climbs: every arm may spend up to its weight's share of a
    // threshold that grows whenever too few climbs are due, so short keys,
    // whose climbs are cheap, get many restarts before a long key gets its
    // first.
    double threshold = 3000;
    for (int round = 0; !halted() && !confident() && round < MaxRounds; ++round) {
        // Enough jobs for every thread, or the round waits on one climb; few
        // enough that a key found early does not wait for a long round to
        // end, and that the next climbs learn from the last.
        jobs.clear();
        for (int widen = 0; widen < 12 && jobs.size() < 2 * m_runner.threads(); ++widen) {
            // Grown only when too few climbs are due: grown faster than the
            // effort is spent, every arm would always be due, and the cheap
            // short keys, sorted first, would take every round.
            if (widen > 0)
                threshold *= 1.3;
            jobs.clear();
            // The arms furthest behind their share go first.
            struct Due {
                double behind; // share of the allowance not yet spent
                int restarts;
                Arm *arm;
            };
            std::vector<Due> due;
            for (Arm &arm : m_arms) {
                if (arm.columns <= ExhaustiveColumns)
                    continue;
                const double share = threshold * arm.weight();
                const double allowance = share - static_cast<double>(arm.effort);
                const int restarts = static_cast<int>(std::clamp(allowance / arm.costPerClimb(), 0.0, 2.0));
                if (restarts > 0)
                    due.push_back({allowance / share, restarts, &arm});
            }
            std::stable_sort(due.begin(), due.end(), [](const Due &a, const Due &b) { return a.behind > b.behind; });
            for (const Due &next : due) {
                Arm &arm = *next.arm;
                for (int restart = 0; restart < next.restarts; ++restart) {
                    const std::uint64_t seed =
                        Mix(m_options.seed ^ Mix((static_cast<std::uint64_t>(round) * 16 + restart) * 1000 +
                                                 static_cast<std::uint64_t>(arm.period) * 100 +
                                                 static_cast<std::uint64_t>(arm.columns)));
                    jobs.push_back([this, &arm, seed] {
                        JobResult result = climbJob(arm, seed);
                        if (!result.findings.empty())
                            report(&result.findings.front(), arm.columns, arm.period);
                        return result;
                    });
                }
            }
        }
        if (jobs.size() > 4 * m_runner.threads())
            jobs.resize(4 * m_runner.threads());
        if (!jobs.empty())
            runJobs(jobs);
    }

    outcome.seconds = seconds();
    outcome.timedOut = m_runner.timedOut();
    const auto list = ranked();
    for (const auto &[key, finding] : list) {
        if (static_cast<int>(outcome.candidates.size()) >= std::max(1, m_options.candidateCount))
            break;
        outcome.candidates.push_back(candidate(key, finding));
    }
    if (m_runner.cancelled())
        outcome.status = SearchStatus::Cancelled;
    else if (!outcome.candidates.empty() && outcome.candidates.front().readsAsGerman)
        outcome.status = SearchStatus::Found;
    else
        outcome.status = SearchStatus::NoCandidate;
    return outcome;
}

SearchResult FindKey(std::string_view cipherText, const SearchOptions &options, std::stop_token stop)
{
    std::string letters;
    letters.reserve(cipherText.size());
    std::copy_if(cipherText.begin(), cipherText.end(), std::back_inserter(letters),
                 [](char c) { return c >= 'A' && c <= 'Z'; });
    KeySearch search(letters, options, std::move(stop));
    return search.run();
}

} // namespace abc::search
