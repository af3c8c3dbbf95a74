#include "layer3_requantise.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cmath>

#include "layer3_tables.h"

namespace quavera {

const RequantTables& requantTables() {
    static const RequantTables tables = [] {
        RequantTables t;
        for (std::size_t x = 0; x < t.pow43.size(); ++x) {
            t.pow43[x] = static_cast<float>(std::pow(static_cast<double>(x), 4.0 / 3.0));
        }
        for (std::size_t g = 0; g < t.gain.size(); ++g) {
            t.gain[g] = static_cast<float>(std::exp2(0.25 * (static_cast<double>(g) - 210.0)));
        }
        for (std::size_t k = 0; k < t.scale.size(); ++k) {
            t.scale[k] = static_cast<float>(std::exp2(0.5 * (static_cast<double>(k) - 64.0)));
        }
        return t;
    }();
    return tables;
}

namespace {

// Lines [begin, end) of q with one factor; end is clipped to nonzero by the caller.
void scaleLines(const RequantTables& t, const int* q, float factor, unsigned begin, unsigned end, float* xr) {
    // Branch-free: the int's sign bit becomes the float's.
    for (unsigned i = begin; i < end; ++i) {
        const auto v = static_cast<std::uint32_t>(q[i]);
        const std::uint32_t sign = v & 0x80000000u;
        const std::uint32_t magnitude = sign != 0 ? 0u - v : v;
        const float m = factor * t.pow43[std::min(magnitude, kMaxQuantised)];
        xr[i] = std::bit_cast<float>(std::bit_cast<std::uint32_t>(m) | sign);
    }
}

// The factor for an exponent counted in half steps of 2^-0.5.
float bandFactor(const RequantTables& t, float gain, unsigned halfSteps) {
    return gain * t.scale[(64u - halfSteps) & 127u];
}

} // namespace

void requantise(const int* q, unsigned nonzero, const GranuleInfo& g, const ScaleFactors& sf,
                const BandLayout& bands, float* xr) {
    const RequantTables& t = requantTables();
    const float gain = t.gain[g.globalGain & 255];
    const unsigned multiplier = 1 + g.scalefacScale;
    unsigned longEnd = 576;
    int firstShort = 13;
    if (g.shortBlocks()) {
        longEnd = g.mixedBlock ? 36 : 0;
        firstShort = g.mixedBlock ? 3 : 0;
    }
    for (int sfb = 0; sfb < 22 && static_cast<unsigned>(bands.longBands[sfb]) < std::min(longEnd, nonzero); ++sfb) {
        const unsigned exponent = multiplier * (sf.l[sfb] + (sf.preflag ? tables::kPretab[sfb] : 0u));
        const unsigned end = std::min<unsigned>(static_cast<unsigned>(bands.longBands[sfb + 1]), nonzero);
        scaleLines(t, q, bandFactor(t, gain, exponent), static_cast<unsigned>(bands.longBands[sfb]), end, xr);
    }
    for (int sfb = firstShort; sfb < 13; ++sfb) {
        const auto start = static_cast<unsigned>(bands.shortBands[sfb]);
        const auto width = static_cast<unsigned>(bands.shortBands[sfb + 1]) - start;
        if (3 * start >= nonzero) {
            break;
        }
        for (unsigned window = 0; window < 3; ++window) {
            const unsigned exponent = 4 * g.subblockGain[window] + multiplier * sf.s[sfb][window];
            const unsigned begin = 3 * start + window * width;
            scaleLines(t, q, bandFactor(t, gain, exponent), begin, std::min(begin + width, nonzero), xr);
        }
    }
    std::fill(xr + std::min(nonzero, 576u), xr + 576, 0.0f);
}

} // namespace quavera
