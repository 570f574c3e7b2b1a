#include "analysis/candidates.h"

#include <algorithm>
#include <optional>
#include <string>

#include "analysis/german_ngrams.h"
#include "engine/cipher.h"

namespace abc::search {

Findings::Findings(long fullQuadgrams, const KeyLengthArms &arms)
    : m_fullQuadgrams(fullQuadgrams)
    , m_arms(arms)
{
}

const JointScorer &Findings::scorerOf(const FindingKey &key) const
{
    return m_arms.at(key.first, static_cast<int>(key.second.size())).scorer;
}

void Findings::add(const FindingKey &key, const Finding &found)
{
    auto [entry, inserted] = m_findings.try_emplace(key, found);
    if (!inserted) {
        entry->second.hits += found.hits;
        entry->second.penalty = std::min(entry->second.penalty, found.penalty);
        entry->second.certain = entry->second.certain || found.certain;
    }
    if (!m_best || penalized(entry->first, entry->second) > penalized(m_best->first, m_best->second))
        m_best = &*entry;
}

double Findings::penalized(const FindingKey &key, const Finding &finding) const
{
    const double scale = static_cast<double>(m_fullQuadgrams) / std::max(1L, scorerOf(key).quadgramCount());
    return static_cast<double>(finding.sum) / QuadgramUnit * scale - finding.penalty;
}

std::vector<KeyedFinding> Findings::ranked() const
{
    std::vector<KeyedFinding> list(m_findings.begin(), m_findings.end());
    std::stable_sort(list.begin(), list.end(), [this](const auto &a, const auto &b) {
        return penalized(a.first, a.second) > penalized(b.first, b.second);
    });
    return list;
}

bool Findings::confident() const
{
    if (!m_best)
        return false;
    const auto &[key, best] = *m_best;
    const JointScorer &scorer = scorerOf(key);
    const double zScore = FindingZScore(key, best.sum, scorer);
    if (best.certain)
        return zScore >= GermanThreshold;
    // One climb can stop on a near miss that reads almost as German; the
    // same order reached again from other starts is the answer. The less
    // German it reads, and the fewer rows, the more agreeing climbs it takes.
    if (zScore < ConfidentThreshold)
        return false;
    // Several messages must all read as German under the same order at
    // once: the climbs that miss end far below the threshold there, and
    // each climb over their short columns is dear. Over one or two rows a
    // message, though, wrong orders read as German too, and over more
    // rows a walk can end on an order three quarters right at z -2.6;
    // another walk that comes back to it, or beats it, settles that.
    // Where the tallest has three rows but most have fewer, a wrong key
    // length a period off has read at z -1.8 (eight messages of a key of
    // 33 columns read under 36, 38 % of the letters right), the keys of 120
    // piles of eight of 40-80 letters under 30-45 columns at -2.4 to 0.7,
    // median -1.0: one climb must then read better still.
    if (scorer.messageCount() > 1) {
        std::size_t tall = 0;
        for (std::size_t message = 0; message < scorer.messageCount(); ++message)
            tall += scorer.message(message).rows() >= 3;
        const double enough = 2 * tall >= scorer.messageCount() ? -2.0 : -1.5;
        return (scorer.rows() >= 3 && zScore >= enough) || best.hits >= 2;
    }
    const int hitsNeeded = 2 + (zScore < -1) + (zScore < -2) + (zScore < -1 && scorer.rows() < 10);
    return best.hits >= hitsNeeded;
}

double FindingZScore(const FindingKey &key, long sum, const JointScorer &scorer)
{
    return scorer.consensusZScore(key.second.data(), sum, GermanThreshold);
}

Candidate MakeCandidate(const FindingKey &key, const Finding &finding, const JointScorer &scorer,
                        std::string_view firstText, const KeyWords &words)
{
    Candidate result;
    result.order = InversePermutation(key.second);
    result.method = MethodOfPeriod(key.first);
    const std::optional<std::string> keyword = KeywordForOrder(result.order);
    result.writable = keyword.has_value();
    result.keyword = keyword.value_or(std::string());
    result.score = static_cast<double>(finding.sum) / QuadgramUnit / std::max(1L, scorer.quadgramCount());
    result.germanness = FindingZScore(key, finding.sum, scorer);
    result.readsAsGerman = result.germanness >= GermanThreshold;
    result.plainText = DecipherWithOrder(firstText, result.order, result.method);
    if (const std::optional<std::size_t> word = words.firstWithOrder(result.order)) {
        result.dictionaryWord = words.spelling(*word);
        result.keyword = words.key(*word);
        result.writable = true;
    }
    return result;
}

} // namespace abc::search
