#include <algorithm>
#include <cmath>

#include "analysis/german_ngrams.h"
#include "analysis/key_search.h"

namespace abc::search {

MethodEvidence DetectMethod(std::string_view cipherText)
{
    std::array<double, 26> counts{};
    for (const char letter : cipherText) {
        if (letter >= 'A' && letter <= 'Z')
            counts[letter - 'A'] += 1;
    }

    // Under a shift of period P every plaintext letter lands on P
    // neighbouring letters in equal parts, so the ciphertext's letters
    // follow the German shares smeared over P places.
    MethodEvidence evidence;
    constexpr std::array<int, 3> periods = {1, 3, 4};
    for (std::size_t model = 0; model < periods.size(); ++model) {
        double logLikelihood = 0;
        for (int letter = 0; letter < 26; ++letter) {
            double share = 0;
            for (int shift = 0; shift < periods[model]; ++shift)
                share += GermanLetterShares[(letter - shift + 26) % 26];
            share = std::max(share / periods[model], 1e-5);
            logLikelihood += counts[letter] * std::log(share);
        }
        evidence.logLikelihood[model] = logLikelihood;
    }
    const double abc = evidence.logLikelihood[1];
    const double abcd = evidence.logLikelihood[2];
    evidence.likeliest = abc >= abcd ? CipherMethod::ABC : CipherMethod::ABCD;
    evidence.margin = std::abs(abc - abcd);
    evidence.shifted = std::max(abc, abcd) >= evidence.logLikelihood[0];
    return evidence;
}

} // namespace abc::search
