#include "analysis/method_detection.h"

#include <algorithm>
#include <cmath>

#include "analysis/german_ngrams.h"

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

std::vector<double> KeyLengthResidueLogLikelihoods(const std::vector<std::uint8_t> &letters, int period, int columns)
{
    // Neighbours within a column stand n places apart in the plaintext, so
    // their shifts differ by n mod P (or that less P where the shift wraps):
    // the differences of neighbouring ciphertext letters tell n mod P.
    std::array<double, 26> differences{};
    for (std::size_t i = 0; i + 1 < letters.size(); ++i)
        differences[(letters[i + 1] - letters[i] + 26) % 26] += 1;
    std::array<double, 26> plain{}; // difference of two letters far apart in German
    for (int a = 0; a < 26; ++a) {
        for (int b = 0; b < 26; ++b)
            plain[(b - a + 26) % 26] += GermanLetterShares[a] * GermanLetterShares[b];
    }
    // Where one column ends and the next begins, the two shifts are any
    // two: over short columns that is a good share of the pairs, which
    // tell nothing, and taken as evidence they would mislead.
    const double pairs = std::max<double>(1, static_cast<double>(letters.size()) - 1);
    const double withinColumn = std::clamp((pairs + 1 - columns) / pairs, 0.0, 1.0);
    std::array<double, 26> acrossColumns{};
    for (int shift = 1 - period; shift < period; ++shift) {
        const double weight = static_cast<double>(period - std::abs(shift)) / (period * period);
        for (int d = 0; d < 26; ++d)
            acrossColumns[d] += weight * plain[(d - shift + 26) % 26];
    }
    std::vector<double> logLikelihoods(period);
    for (int residue = 0; residue < period; ++residue) {
        const double wraps = static_cast<double>(residue) / period;
        double logLikelihood = 0;
        for (int d = 0; d < 26; ++d) {
            const double within =
                (1 - wraps) * plain[(d - residue + 26) % 26] + wraps * plain[(d - residue + period + 26) % 26];
            const double share = withinColumn * within + (1 - withinColumn) * acrossColumns[d];
            logLikelihood += differences[d] * std::log(std::max(share, 1e-6));
        }
        logLikelihoods[residue] = logLikelihood;
    }
    return logLikelihoods;
}

} // namespace abc::search
