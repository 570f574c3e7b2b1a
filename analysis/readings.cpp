#include "analysis/readings.h"

#include "analysis/candidates.h"
#include "analysis/order_scorer.h"
#include "engine/cipher.h"

namespace abc::search {

namespace {

MessageReading ReadMessage(const Candidate &candidate, const std::string &cipherText)
{
    MessageReading reading;
    reading.plainText = DecipherWithOrder(cipherText, candidate.order, candidate.method);
    const std::vector<std::uint8_t> letters = LetterCodes(cipherText);
    const int columns = static_cast<int>(candidate.order.size());
    if (columns == 0 || letters.size() < 4)
        return reading;
    const OrderScorer scorer(letters, columns, ShiftPeriod(candidate.method));
    const std::vector<int> rankOf = InversePermutation(candidate.order);
    reading.germanness = scorer.germanZScore(scorer.score(rankOf.data()));
    reading.readsAsGerman = reading.germanness >= GermanThreshold;
    return reading;
}

CribPlace PlaceCrib(const std::string &word, const std::vector<MessageReading> &messages)
{
    for (std::size_t message = 0; message < messages.size() && !word.empty(); ++message) {
        const std::size_t at = messages[message].plainText.find(word);
        if (at != std::string::npos)
            return {word, true, static_cast<int>(message), static_cast<int>(at)};
    }
    return {word, false, 0, 0};
}

} // namespace

void ReadMessages(Candidate &candidate, const std::vector<std::string> &cipherTexts,
                  const std::vector<std::string> &cribs)
{
    candidate.messages.clear();
    for (const std::string &cipherText : cipherTexts)
        candidate.messages.push_back(ReadMessage(candidate, cipherText));
    candidate.cribs.clear();
    for (const std::string &word : cribs)
        candidate.cribs.push_back(PlaceCrib(word, candidate.messages));
}

} // namespace abc::search
