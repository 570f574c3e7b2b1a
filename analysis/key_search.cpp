// The key search: which keyword and method turn a ciphertext into German,
// for one message or several under one key. Several messages are read each
// under its own shape and scored as one (joint_scorer.h), so that every
// column join counts in every message.
//
// The letter counts tell the method, since the shift smears the German
// letter shares over three or four places whatever the transposition did;
// the differences of neighbouring letters tell the key length mod the
// period. Both set the priors of the arms, one arm a key length under one
// method. Words come first, the keys of the time being words: the
// workbench's keywords and a word list, each tried under both methods, and
// every order of the keys of up to seven columns. Then rounds of hill
// climbs over the column orders of the longer keys, from random starts,
// scored by German quadgrams: the arms share the climbs out as a
// multi-armed bandit does, by their priors and by how often their climbs
// found nothing German. Where the last row of the matrix is incomplete, a
// wrong guess at the long columns moves every column read after it, so the
// long columns are learnt apart from the order (long_columns.h); over
// columns of fifteen rows and more, from how each pair of columns joins row
// by row (column_joins.h); several messages walk from climb to climb,
// each kicked order first read from where the walk started every column
// (shared_starts.h), and over messages of mostly two rows the climbs end
// by trading blocks in the reading order, where a long column read in two
// short ones' place would otherwise hold them (climb.h).
// Probable words, when given, fix the columns they cover at each place
// they may stand; climbs start from those seeds first and keep a share of
// every round (crib_climbs.h). The first order of several messages that
// reads as German, but not well enough to be sure of, is carried to the
// key lengths a period around it, where a key length a period off reads
// almost as the key's (carriedClimbs). The search ends when independent climbs
// agree on an order that reads as German (several messages: one climb
// does when the tallest has three rows and the order reads at z -2 or
// better, -1.5 where most have fewer rows, their z-score being taken over
// them all; with probable words:
// the best order holds them and many climbs since have not beaten it),
// when the time is up, or when it is stopped.

#include "analysis/key_search.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <mutex>
#include <set>

#include "analysis/arm_jobs.h"
#include "analysis/candidates.h"
#include "analysis/crib_climbs.h"
#include "analysis/effort_sharing.h"
#include "analysis/job_runner.h"
#include "analysis/order_scorer.h"
#include "analysis/readings.h"
#include "analysis/word_list.h"
#include "engine/matrix_shape.h"

namespace abc::search {

namespace {

// Words are tried in chunks of this many, one job each.
constexpr std::size_t WordsPerJob = 4096;
// The first this many letters decide which words deserve a full reading.
constexpr int WordPrefixLetters = 120;
// An order of several messages that reads this well is taken for the key's
// without carrying it to the key lengths a period around (carriedClimbs):
// wrong key lengths a period off have read at z -1.8 to -2.4, the keys of
// eight messages at a median of -1.0.
constexpr double CarriedBelow = -1.5;
// The climbs from the probable words' best seeds before any other.
constexpr std::size_t CribClimbs = 48;
// A probable word fixes enough of the order to go a little below the
// fewest rows a key is otherwise given.
constexpr double FewestRowsAroundWords = 2.75;

std::uint64_t Mix(std::uint64_t value)
{
    value += 0x9E3779B97F4A7C15ull;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

std::uint64_t ClimbSeed(std::uint64_t seed, int round, const DueClimb &climb)
{
    return Mix(seed
               ^ Mix((static_cast<std::uint64_t>(round) * 16 + climb.restart) * 1000
                     + static_cast<std::uint64_t>(climb.arm->period) * 100
                     + static_cast<std::uint64_t>(climb.arm->columns)));
}

using Job = std::function<JobResult()>;

// A message or several under one key.
class KeySearch
{
public:
    // texts: cleaned ciphertexts, at least one.
    KeySearch(std::vector<std::string> texts, const SearchOptions &options, std::stop_token stop)
        : m_texts(std::move(texts))
        , m_messages(MessageLetters(m_texts))
        , m_options(options)
        , m_runner(options.threads, options.timeLimitSeconds, std::move(stop))
        , m_findings(FullQuadgrams(m_messages), m_arms)
    {
    }

    SearchResult run();

private:
    void tryWordsAndShortKeys();
    void tryProbableWords();
    void climbInRounds();
    std::vector<Job> climbsOfRound(int round);
    std::vector<Job> carriedClimbs();
    SearchResult result(const MethodEvidence &evidence) const;

    void runJobs(const std::vector<Job> &jobs);
    void merge(const JobResult &result);
    bool confident() const;
    void report(const KeyedFinding *changed, int columns, int period);
    Candidate candidate(const FindingKey &key, const Finding &finding) const;

    JobResult wordsJob(std::size_t from, std::size_t to);
    std::vector<Job> cribClimbs(std::size_t count);

    std::vector<std::string> m_texts;
    std::vector<std::vector<std::uint8_t>> m_messages;
    int m_letterCount = 0;
    const SearchOptions &m_options;
    JobRunner m_runner;
    const Halted m_halted = [this] { return m_runner.halted(); };
    KeyLengthArms m_arms;
    KeyWords m_words;
    double m_wordPenalty = 0;
    // The words are first read on the first rows of each key length.
    std::map<std::pair<int, int>, JointScorer> m_prefixScorers; // by period and key length
    Findings m_findings;
    CribSeedRotation m_cribSeeds;
    CribConfirmation m_cribConfirmation;
    std::uint64_t m_cribClimbCount = 0;
    std::set<FindingKey> m_carried; // the best orders carried to the key lengths around

    std::mutex m_progressMutex;
    double m_bestReported = -1e300;
};

SearchResult KeySearch::run()
{
    std::string allText;
    for (const std::string &text : m_texts)
        allText += text;
    // The shift smears the letter counts alike in every message: they add.
    const MethodEvidence evidence = DetectMethod(allText);
    m_letterCount = static_cast<int>(allText.size());
    if (m_letterCount < MinTextLength) {
        SearchResult tooShort;
        tooShort.evidence = evidence;
        tooShort.status = SearchStatus::TooShort;
        return tooShort;
    }
    m_arms = KeyLengthArms(m_messages, evidence, m_options.cribs.empty() ? FewestRows : FewestRowsAroundWords);
    m_words = KeyWords(m_options.keywords, m_options.wordListPath, m_runner.stopToken());
    tryWordsAndShortKeys();
    tryProbableWords();
    climbInRounds();
    return result(evidence);
}

void KeySearch::tryWordsAndShortKeys()
{
    m_wordPenalty = std::log10(std::max<double>(2, static_cast<double>(m_words.size())));
    for (const KeyLengthArm &arm : m_arms) {
        const int rows = MatrixShape::Of(WordPrefixLetters, arm.columns).rows;
        const int count = static_cast<int>(m_messages.size());
        m_prefixScorers.try_emplace({arm.period, arm.columns}, m_messages, arm.columns, arm.period,
                                    (rows + count - 1) / count);
    }
    std::vector<Job> jobs;
    for (std::size_t from = 0; from < m_words.size(); from += WordsPerJob)
        jobs.push_back([this, from] {
            JobResult result = wordsJob(from, std::min(m_words.size(), from + WordsPerJob));
            report(nullptr, 0, 3);
            return result;
        });
    for (const KeyLengthArm &arm : m_arms) {
        if (arm.columns <= ExhaustiveColumns)
            jobs.push_back([this, &arm] { return ReadEveryOrder(arm, m_halted); });
    }
    runJobs(jobs);
    if (m_findings.best()) {
        const KeyedFinding best = *m_findings.best();
        report(&best, 0, best.first.first);
    }
}

void KeySearch::tryProbableWords()
{
    if (m_options.cribs.empty())
        return;
    m_cribSeeds = FindArmSeeds(m_messages, m_options.cribs, m_arms, m_runner,
                               [this](const KeyLengthArm &arm) { report(nullptr, arm.columns, arm.period); });
    runJobs(cribClimbs(CribClimbs));
}

std::vector<Job> KeySearch::cribClimbs(std::size_t count)
{
    std::vector<Job> jobs;
    for (const ArmSeed &due : m_cribSeeds.next(count)) {
        const std::uint64_t seed = Mix(m_options.seed ^ Mix(0xC21B000 + m_cribClimbCount++));
        jobs.push_back([this, due, seed] {
            JobResult result = ClimbFromCribSeed(due, m_messages, seed, m_halted);
            if (!result.findings.empty())
                report(&result.findings.back(), due.arm->columns, due.arm->period);
            return result;
        });
    }
    return jobs;
}

void KeySearch::climbInRounds()
{
    // Keys of up to ExhaustiveColumns were read in every order already: with
    // no longer key length nothing is left to climb. Otherwise the rounds go
    // on until the time limit, however short they are.
    const bool climbable = std::any_of(m_arms.begin(), m_arms.end(),
                                       [](const KeyLengthArm &arm) { return arm.columns > ExhaustiveColumns; });
    for (int round = 0; !m_runner.halted(); ++round) {
        if (confident()) {
            // Two walks can agree on an order in the round that first
            // finds it: it is carried before the search ends on it.
            std::vector<Job> carried = carriedClimbs();
            if (carried.empty())
                break;
            runJobs(carried);
            continue;
        }
        std::vector<Job> jobs = carriedClimbs();
        for (Job &job : climbsOfRound(round))
            jobs.push_back(std::move(job));
        // The probable words keep steering a share of the climbs.
        for (Job &job : cribClimbs(m_runner.threads()))
            jobs.push_back(std::move(job));
        if (jobs.empty() && !climbable)
            break;
        if (!jobs.empty())
            runJobs(jobs);
    }
}

std::vector<Job> KeySearch::climbsOfRound(int round)
{
    // Enough climbs for every thread, or the round waits on one climb; few
    // enough that a key found early does not wait for a long round to end,
    // and that the next climbs learn from the last.
    const unsigned threads = m_runner.threads();
    std::vector<Job> jobs;
    // Dearest first, so that the round does not end waiting on one long
    // climb while the other threads idle.
    std::vector<DueClimb> due = m_arms.planRound(2 * threads, 4 * threads);
    std::stable_sort(due.begin(), due.end(), [](const DueClimb &a, const DueClimb &b) {
        return a.arm->costPerClimb() > b.arm->costPerClimb();
    });
    for (const DueClimb &climb : due) {
        KeyLengthArm &arm = *climb.arm;
        const std::uint64_t seed = ClimbSeed(m_options.seed, round, climb);
        WalkStart walk;
        if (arm.walkDue())
            walk = {arm.walkOrder, arm.walkSum, arm.walkNumber};
        jobs.push_back([this, &arm, seed, walk = std::move(walk)] {
            JobResult result = ClimbArm(arm, seed, walk, m_halted);
            if (!result.findings.empty())
                report(&result.findings.front(), arm.columns, arm.period);
            return result;
        });
    }
    return jobs;
}

// Several messages a row or two tall under a key length a period longer
// than the key's read nearly as well as under the key: the columns one
// period on from the key's line up with it, and the key's first columns
// fall apart into two each. Climbs agree on such an order and would end the
// search there, though the climbs at the key length seldom reach the key.
// Carried back a period, each column moved by it, the order climbs to the
// key; carried the other way it climbs to nothing as good. (The best order
// of eight messages under 39 columns, a third of the letters right, carried
// to the key's 36: 94 % right before the climb.) So the first time a best
// order reads as German, the key lengths a period around it climb from it.
std::vector<Job> KeySearch::carriedClimbs()
{
    std::vector<Job> jobs;
    const auto *best = m_findings.best();
    if (m_messages.size() < 2 || !best || best->second.certain || m_carried.contains(best->first))
        return jobs;
    const FindingKey &key = best->first;
    const int period = key.first;
    const std::vector<int> &found = key.second;
    const int columns = static_cast<int>(found.size());
    const double zScore = FindingZScore(key, best->second.sum, m_arms.at(period, columns).scorer);
    if (zScore < ConfidentThreshold || zScore >= CarriedBelow)
        return jobs;
    m_carried.insert(key);
    for (KeyLengthArm &arm : m_arms) {
        if (arm.period != period || std::abs(arm.columns - columns) != period)
            continue;
        for (const int shift : {arm.columns - columns, columns - arm.columns}) {
            const std::uint64_t seed = Mix(m_options.seed ^ Mix(0xCA2200000 + m_carried.size() * 16 + jobs.size()));
            jobs.push_back([this, &arm, found, shift, seed] {
                JobResult result = ClimbCarriedOrder(arm, found, shift, seed, m_halted);
                if (!result.findings.empty())
                    report(&result.findings.front(), arm.columns, arm.period);
                return result;
            });
        }
    }
    return jobs;
}

SearchResult KeySearch::result(const MethodEvidence &evidence) const
{
    SearchResult outcome;
    outcome.evidence = evidence;
    outcome.seconds = m_runner.seconds();
    outcome.timedOut = m_runner.timedOut();
    for (const auto &[key, finding] : m_findings.ranked()) {
        if (static_cast<int>(outcome.candidates.size()) >= std::max(1, m_options.candidateCount))
            break;
        outcome.candidates.push_back(candidate(key, finding));
    }
    PutHoldersOfEveryWordFirst(outcome.candidates);
    if (m_runner.cancelled())
        outcome.status = SearchStatus::Cancelled;
    else if (!outcome.candidates.empty() && outcome.candidates.front().readsAsGerman)
        outcome.status = SearchStatus::Found;
    else
        outcome.status = SearchStatus::NoCandidate;
    return outcome;
}

void KeySearch::runJobs(const std::vector<Job> &jobs)
{
    // Merged in the jobs' order, so that the outcome depends on the seed
    // alone.
    for (const JobResult &result : m_runner.run(jobs))
        merge(result);
}

bool KeySearch::confident() const
{
    if (m_findings.confident())
        return true;
    const auto *best = m_findings.best();
    if (m_options.cribs.empty() || !best)
        return false;
    const auto &[key, finding] = *best;
    return m_cribConfirmation.confirmed(
        FindingZScore(key, finding.sum, m_arms.at(key.first, static_cast<int>(key.second.size())).scorer));
}

void KeySearch::merge(const JobResult &result)
{
    const auto *bestBefore = m_findings.best();
    for (auto [key, found] : result.findings) {
        if (result.arm) {
            KeyLengthArm &arm = *result.arm;
            const double zScore = FindingZScore(key, found.sum, arm.scorer);
            if (!arm.recordEnd(key.second, found.sum, zScore, zScore >= ConfidentThreshold, result.fromWalk))
                found.hits = 0;
        }
        m_findings.add(key, found);
    }
    if (result.fellShort)
        result.arm->recordFallenKick();
    if (result.arm)
        result.arm->recordClimb(result.evaluations, result.evidence);
    if (m_options.cribs.empty() || !result.arm)
        return;
    if (const auto *best = m_findings.best(); best != bestBefore)
        m_cribConfirmation.newBest(HoldsEveryWord(candidate(best->first, best->second)));
    else
        m_cribConfirmation.climbEnded();
}

void KeySearch::report(const KeyedFinding *changed, int columns, int period)
{
    if (!m_options.onProgress)
        return;
    Progress progress;
    progress.fraction = std::clamp(m_runner.seconds() / std::max(1e-9, m_options.timeLimitSeconds), 0.0, 1.0);
    progress.keyLength = columns;
    progress.method = MethodOfPeriod(period);
    progress.seconds = m_runner.seconds();
    const std::lock_guard lock(m_progressMutex);
    if (changed) {
        const double value = m_findings.penalized(changed->first, changed->second);
        if (value > m_bestReported) {
            m_bestReported = value;
            progress.best = candidate(changed->first, changed->second);
        }
    }
    m_options.onProgress(progress);
}

Candidate KeySearch::candidate(const FindingKey &key, const Finding &finding) const
{
    const JointScorer &scorer = m_arms.at(key.first, static_cast<int>(key.second.size())).scorer;
    Candidate candidate = MakeCandidate(key, finding, scorer, m_texts.front(), m_words);
    ReadMessages(candidate, m_texts, m_options.cribs);
    return candidate;
}

JobResult KeySearch::wordsJob(std::size_t from, std::size_t to)
{
    struct Scored {
        double mean;
        FindingKey key;
    };
    std::vector<Scored> best;
    constexpr std::size_t Kept = 8;
    for (std::size_t index = from; index < to; ++index) {
        if (index % 256 == 0 && m_runner.halted())
            break;
        const ColumnOrder order = KeyColumnOrder(m_words.key(index));
        const int columns = static_cast<int>(order.size());
        if (columns < MinKeyLength || columns > static_cast<int>(m_letterCount / FewestRows))
            continue;
        const std::vector<int> rankOf = InversePermutation(order);
        for (const int period : Periods) {
            const auto found = m_prefixScorers.find({period, columns});
            if (found == m_prefixScorers.end())
                continue; // a message would not fit the grid
            const JointScorer &prefix = found->second;
            const double mean = static_cast<double>(prefix.score(rankOf.data())) / std::max(1L, prefix.quadgramCount());
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
        const KeyLengthArm &arm = m_arms.at(scored.key.first, static_cast<int>(scored.key.second.size()));
        const Finding finding{arm.scorer.score(scored.key.second.data()), m_wordPenalty, 0, true};
        result.findings.emplace_back(std::move(scored.key), finding);
    }
    return result;
}

} // namespace

SearchResult FindKey(std::string_view cipherText, const SearchOptions &options, std::stop_token stop)
{
    return FindSharedKey({std::string(cipherText)}, options, std::move(stop));
}

SearchResult FindSharedKey(const std::vector<std::string> &cipherTexts, const SearchOptions &options,
                           std::stop_token stop)
{
    std::vector<std::string> texts;
    for (const std::string &text : cipherTexts) {
        std::string &letters = texts.emplace_back();
        std::copy_if(text.begin(), text.end(), std::back_inserter(letters),
                     [](char c) { return c >= 'A' && c <= 'Z'; });
    }
    if (texts.empty())
        texts.emplace_back();
    KeySearch search(std::move(texts), options, std::move(stop));
    return search.run();
}

} // namespace abc::search
