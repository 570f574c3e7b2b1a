#pragma once

#include <cstddef>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

#include "analysis/effort_sharing.h"
#include "analysis/key_search.h"
#include "analysis/word_list.h"

namespace abc::search {

// Z-scores against German text (OrderScorer::germanZScore): below the first
// a candidate does not read as German; a climbed candidate must reach the
// second to end the search early.
inline constexpr double GermanThreshold = -4.0;
inline constexpr double ConfidentThreshold = -3.0;

// A column order found.
struct Finding {
    long sum = 0;         // quadgram score, in steps of 1/QuadgramUnit
    double penalty = 0;   // log10 of how many keys it was chosen from
    int hits = 0;         // independent climbs that ended here
    bool certain = false; // from the word lists or tried against every order
};

using FindingKey = std::pair<int, std::vector<int>>; // period, rank of each column
using KeyedFinding = std::pair<FindingKey, Finding>;

// The orders found so far, by method and order, and the best of them.
class Findings
{
public:
    // fullQuadgrams: the quadgrams of every message in full. The arms give
    // each key length's scorer; they must outlive this.
    Findings(long fullQuadgrams, const KeyLengthArms &arms);

    // The same order found again adds its hits.
    void add(const FindingKey &key, const Finding &found);
    const std::pair<const FindingKey, Finding> *best() const { return m_best; }
    // The score over the whole of every message, less the penalty: longer keys offer
    // more orders to choose a good-looking one from.
    double penalized(const FindingKey &key, const Finding &finding) const;
    // Best first.
    std::vector<KeyedFinding> ranked() const;
    // Whether the best order is sure enough to end the search.
    bool confident() const;

private:
    const JointScorer &scorerOf(const FindingKey &key) const;

    long m_fullQuadgrams;
    const KeyLengthArms &m_arms;
    std::map<FindingKey, Finding> m_findings;
    const std::pair<const FindingKey, Finding> *m_best = nullptr;
};

// How German a finding reads, robust to a minority of messages under
// another key (JointScorer::consensusZScore).
double FindingZScore(const FindingKey &key, long sum, const JointScorer &scorer);

// What the window and the command line show of a finding; the keyword is
// the listed word behind the order where there is one, the plaintext the
// first message's.
Candidate MakeCandidate(const FindingKey &key, const Finding &finding, const JointScorer &scorer,
                        std::string_view firstText, const KeyWords &words);

} // namespace abc::search
