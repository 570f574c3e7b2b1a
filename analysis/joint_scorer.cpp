#include "analysis/joint_scorer.h"

#include <algorithm>
#include <cmath>

namespace abc::search {

JointScorer::JointScorer(const std::vector<std::vector<std::uint8_t>> &messages, int columns, int period,
                         int scoredRows)
{
    m_scorers.reserve(messages.size());
    m_orderPenalty = static_cast<long>(Log10Factorial(columns) * QuadgramUnit);
    for (const std::vector<std::uint8_t> &letters : messages) {
        const OrderScorer &scorer = m_scorers.emplace_back(letters, columns, period, scoredRows);
        m_rows = std::max(m_rows, scorer.rows());
        m_totalRows += scorer.rows();
        m_quadgrams += scorer.quadgramCount();
    }
}

bool JointScorer::ragged() const
{
    return std::any_of(m_scorers.begin(), m_scorers.end(),
                       [](const OrderScorer &scorer) { return scorer.shape().ragged(); });
}

long JointScorer::score(const int *rankOf) const
{
    int columnAt[MaxKeyLength];
    for (int column = 0; column < columns(); ++column)
        columnAt[rankOf[column]] = column;
    long sum = 0;
    for (const OrderScorer &scorer : m_scorers)
        sum += scorer.scoreReadingOrder(columnAt);
    return sum;
}

double JointScorer::germanZScore(long sum) const
{
    if (m_scorers.size() == 1)
        return m_scorers.front().germanZScore(sum);
    return GermanZScore(sum - m_orderPenalty, m_quadgrams);
}

double JointScorer::consensusZScore(const int *rankOf, long sum, double threshold) const
{
    if (m_scorers.size() == 1)
        return germanZScore(sum);
    long germanSum = 0;
    long germanQuadgrams = 0;
    std::size_t german = 0;
    std::size_t voters = 0; // a message of fewer than four letters tells nothing
    for (const OrderScorer &scorer : m_scorers) {
        if (scorer.quadgramCount() == 0)
            continue;
        ++voters;
        const long messageSum = scorer.score(rankOf);
        if (scorer.germanZScore(messageSum) < threshold)
            continue;
        germanSum += messageSum;
        germanQuadgrams += scorer.quadgramCount();
        ++german;
    }
    if (3 * german < 2 * voters || germanQuadgrams == 0)
        return germanZScore(sum);
    return GermanZScore(germanSum - m_orderPenalty, germanQuadgrams);
}

double Log10Factorial(int n)
{
    return std::lgamma(n + 1.0) / std::log(10.0);
}

std::vector<std::vector<std::uint8_t>> MessageLetters(const std::vector<std::string> &texts)
{
    std::vector<std::vector<std::uint8_t>> messages;
    for (const std::string &text : texts) {
        if (!text.empty())
            messages.push_back(LetterCodes(text));
    }
    return messages;
}

long FullQuadgrams(const std::vector<std::vector<std::uint8_t>> &messages)
{
    long quadgrams = 0;
    for (const std::vector<std::uint8_t> &letters : messages)
        quadgrams += std::max(0L, static_cast<long>(letters.size()) - 3);
    return std::max(1L, quadgrams);
}

} // namespace abc::search
