#pragma once

#include <array>
#include <cstdint>

// Letter statistics of German prose, cleaned as the workbench cleans a
// message; generated at build time from a corpus of German fortunes.

namespace abc::search {

// Share of each letter A-Z.
extern const std::array<double, 26> GermanLetterShares;

// Minus the log10 probability of each quadgram, in steps of 1/QuadgramUnit,
// at most 255: one byte each keeps the table in the processor's cache. Index
// ((a * 26 + b) * 26 + c) * 26 + d for letters a..d in 0..25.
inline constexpr int QuadgramUnit = 32;
extern const std::array<std::uint8_t, 26 * 26 * 26 * 26> QuadgramCost;

// The mean log10 quadgram probability of German text, and the spread of
// that mean over stretches of 100 letters.
extern const double GermanQuadgramMean;
extern const double GermanQuadgramSpread100;

} // namespace abc::search
