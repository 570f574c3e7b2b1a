#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/workbench_state.h"

namespace abc::search {

// The shift's period under each method.
inline constexpr std::array<int, 2> Periods = {3, 4};

constexpr CipherMethod MethodOfPeriod(int period)
{
    return period == 3 ? CipherMethod::ABC : CipherMethod::ABCD;
}

// What the letter counts say about the shift. The transposition keeps the
// counts, so they show the shift's period whatever the key.
struct MethodEvidence {
    // Natural-log likelihoods of the counts: no shift, ABC, ABCD.
    std::array<double, 3> logLikelihood{};
    CipherMethod likeliest = CipherMethod::ABC;
    bool shifted = true; // false when an unshifted text explains the counts best
    double margin = 0.0; // log-likelihood lead of the likeliest method over the other
};

MethodEvidence DetectMethod(std::string_view cipherText);

// What the neighbouring letters say about the key length under a shift of
// this period: the natural-log likelihood of each residue of the key
// length mod period, indexed by the residue, when the matrix has this many
// columns. letters: the ciphertext as 0..25.
std::vector<double> KeyLengthResidueLogLikelihoods(const std::vector<std::uint8_t> &letters, int period, int columns);

} // namespace abc::search
