#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/order_scorer.h"

namespace abc::search {

// Scores the messages of a day's traffic under one column order as one
// piece of evidence: each message is read under its own matrix shape (its
// own rows and long columns) and their quadgram sums are added, so that
// every column join counts once in every row of every message. A single
// message scores exactly as its OrderScorer does.
class JointScorer
{
public:
    // messages: each ciphertext as 0..25, none empty; they must outlive the
    // scorer. Each message is scored on its first scoredRows rows (all when
    // 0).
    JointScorer(const std::vector<std::vector<std::uint8_t>> &messages, int columns, int period, int scoredRows = 0);

    int columns() const { return m_scorers.front().columns(); }
    int period() const { return m_scorers.front().period(); }
    // The rows of the tallest message, and of all messages together.
    int rows() const { return m_rows; }
    int totalRows() const { return m_totalRows; }
    std::size_t messageCount() const { return m_scorers.size(); }
    // Whether any message's last row is incomplete.
    bool ragged() const;
    const OrderScorer &message(std::size_t index) const { return m_scorers[index]; }

    long score(const int *rankOf) const;
    long quadgramCount() const { return m_quadgrams; }
    // The sum's z-score over the quadgrams of all messages.
    double germanZScore(long sum) const;
    // The z-score of the messages that read as German under the order (at
    // least threshold alone), when at least two thirds of them do: a
    // message enciphered under another key reads as random letters under
    // every order, and would hide the others. Over all messages otherwise;
    // sum is score(rankOf), which a single message needs no more than.
    double consensusZScore(const int *rankOf, long sum, double threshold) const;

private:
    std::vector<OrderScorer> m_scorers;
    int m_rows = 0;
    int m_totalRows = 0;
    long m_quadgrams = 0;
    // Several short messages leave a long key so many orders that one of
    // them reads as German by chance: their z-scores are taken less the
    // log10 of the number of orders, in the sums' units.
    long m_orderPenalty = 0;
};

// log10 n!: how many orders n columns have, in the sums' units once
// multiplied by QuadgramUnit.
double Log10Factorial(int n);

// The letters of every message that has any, as 0..25.
std::vector<std::vector<std::uint8_t>> MessageLetters(const std::vector<std::string> &texts);

// The quadgrams of every message in full, at least 1.
long FullQuadgrams(const std::vector<std::vector<std::uint8_t>> &messages);

} // namespace abc::search
