#pragma once
// Layer III requantisation: quantised integers to spectral values by global
// gain, scale factors and the 4/3 power law, all by table lookup.
#include <array>

#include "layer3_scalefactors.h"
#include "layer3_sideinfo.h"

namespace quavera {

// The largest quantised magnitude: 15 plus 13 linbits.
constexpr unsigned kMaxQuantised = 15 + 8191;

struct RequantTables {
    std::array<float, kMaxQuantised + 1> pow43{}; // x^(4/3), exact to float rounding
    std::array<float, 256> gain{};                // 2^(0.25 (global_gain - 210))
    std::array<float, 130> scale{};               // 2^(0.5 (k - 64))
};

// Built once on first use.
const RequantTables& requantTables();

// Requantises lines 0..nonzero-1 of q into xr and zeroes the rest.
void requantise(const int* q, unsigned nonzero, const GranuleInfo& g, const ScaleFactors& sf,
                const BandLayout& bands, float* xr);

} // namespace quavera
