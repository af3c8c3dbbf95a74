#pragma once
// Layer III requantisation: quantised integers to spectral values by global
// gain, scale factors and the 4/3 power law, all by table lookup.
#include <array>

#include "layer3_scalefactors.h"
#include "layer3_sideinfo.h"

namespace quavera {

struct RequantTables {
    std::array<float, 512> pow43{};  // x^(4/3)
    std::array<float, 256> gain{};   // 2^(0.25 (global_gain - 210))
    std::array<float, 130> scale{};  // 2^(0.5 (k - 64))
};

// Built once on first use.
const RequantTables& requantTables();

// |x|^(4/3) for any quantised magnitude: beyond the table, x is split into
// floor(x/d) and d with d = floor(x/512) + 1.
float magnitude43(const RequantTables& t, unsigned x);

// Requantises lines 0..nonzero-1 of q into xr and zeroes the rest.
void requantise(const int* q, unsigned nonzero, const GranuleInfo& g, const ScaleFactors& sf,
                const BandLayout& bands, float* xr);

} // namespace quavera
