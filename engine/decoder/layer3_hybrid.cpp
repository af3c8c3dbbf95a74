#include "layer3_hybrid.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "layer3_tables.h"

namespace quavera {

namespace {

// The IMDCT of n outputs from n/2 inputs folds onto n/2 values
// y(j) = sum X(k) cos(pi/(2n) (2j+1)(2k+1)), from which
// x(i) = y(i + n/4) for the first quarter, -y(3n/4 - 1 - i) for the middle
// half and -y(i - 3n/4) for the last quarter.
struct HybridTables {
    ImdctTables imdct;       // n = 36, for the long-block kernels
    double cosShort[6][6];   // [k][j], n = 12; single-precision values, held widened
    float shortWindow[12];
};

const HybridTables& hybridTables() {
    static const HybridTables tables = [] {
        constexpr double kPi = 3.14159265358979323846;
        HybridTables t{};
        for (int k = 0; k < 18; ++k) {
            for (int j = 0; j < 18; ++j) {
                t.imdct.cosines[k][j] = static_cast<float>(std::cos(kPi / 72.0 * (2 * j + 1) * (2 * k + 1)));
            }
        }
        for (int k = 0; k < 6; ++k) {
            for (int j = 0; j < 6; ++j) {
                t.cosShort[k][j] = static_cast<float>(std::cos(kPi / 24.0 * (2 * j + 1) * (2 * k + 1)));
            }
        }
        const auto longSine = [&](int i) { return static_cast<float>(std::sin(kPi / 36.0 * (i + 0.5))); };
        const auto shortSine = [&](int i) { return static_cast<float>(std::sin(kPi / 12.0 * (i + 0.5))); };
        // By block type; type 2 (short blocks) has its own transform.
        for (int i = 0; i < 36; ++i) {
            const int lane = i < 18 ? i : i - 18 + kImdctLanes;
            t.imdct.windows[0][lane] = longSine(i);
            t.imdct.windows[1][lane] = i < 18 ? longSine(i) : i < 24 ? 1.0f : i < 30 ? shortSine(i - 18) : 0.0f;
            t.imdct.windows[3][lane] = i < 6 ? 0.0f : i < 12 ? shortSine(i - 6) : i < 18 ? 1.0f : longSine(i);
        }
        for (int i = 0; i < 12; ++i) {
            t.shortWindow[i] = shortSine(i);
        }
        return t;
    }();
    return tables;
}

bool groupIsZero(const float* x) {
    std::uint32_t bits = 0;
    for (int i = 0; i < 9; ++i) {
        bits |= std::bit_cast<std::uint32_t>(x[i]) & 0x7FFFFFFFu;
    }
    return bits == 0;
}

// Short-block values come sfb by sfb, each band's three windows in turn; the
// IMDCT wants window j's line f of the band at 3f + j. Returns the lines that
// may be non-zero afterwards.
unsigned reorder(float* xr, unsigned nonzero, const BandLayout& bands, int firstBand) {
    float copy[576];
    const auto begin = static_cast<unsigned>(3 * bands.shortBands[firstBand]);
    unsigned end = begin;
    for (int sfb = firstBand; sfb < 13 && end < nonzero; ++sfb) {
        end = static_cast<unsigned>(3 * bands.shortBands[sfb + 1]);
    }
    std::memcpy(copy + begin, xr + begin, (end - begin) * sizeof(float));
    for (int sfb = firstBand; sfb < 13 && static_cast<unsigned>(3 * bands.shortBands[sfb]) < end; ++sfb) {
        const auto start = static_cast<unsigned>(bands.shortBands[sfb]);
        const auto width = static_cast<unsigned>(bands.shortBands[sfb + 1]) - start;
        for (unsigned window = 0; window < 3; ++window) {
            const float* from = copy + 3 * start + window * width;
            for (unsigned k = 0; k < width; ++k) {
                xr[3 * (start + k) + window] = from[k];
            }
        }
    }
    return std::max(end, nonzero);
}

// Butterflies across the boundary above subband sb.
void aliasReduce(float* xr, int sb) {
    float* upper = xr + 18 * sb + 17;
    float* lower = xr + 18 * (sb + 1);
    for (int i = 0; i < 8; ++i) {
        const float bu = upper[-i];
        const float bd = lower[i];
        upper[-i] = bu * tables::kAliasCs[static_cast<std::size_t>(i)] - bd * tables::kAliasCa[static_cast<std::size_t>(i)];
        lower[i] = bd * tables::kAliasCs[static_cast<std::size_t>(i)] + bu * tables::kAliasCa[static_cast<std::size_t>(i)];
    }
}

// Three short transforms of window j from inputs 3k + j, windowed; window j
// lands at 6 + 6j of the 36 values, which are zero outside 6..29.
void imdctShort(const HybridTables& t, const float* in, float* overlap, float* out) {
    double z[3][12];
    for (int window = 0; window < 3; ++window) {
        double y[6] = {};
        for (int k = 0; k < 6; ++k) {
            const double xk = in[3 * k + window];
            for (int j = 0; j < 6; ++j) {
                y[j] += t.cosShort[k][j] * xk;
            }
        }
        double* zw = z[window];
        for (int i = 0; i < 3; ++i) {
            zw[i] = y[i + 3] * t.shortWindow[i];
        }
        for (int i = 3; i < 9; ++i) {
            zw[i] = -y[8 - i] * t.shortWindow[i];
        }
        for (int i = 9; i < 12; ++i) {
            zw[i] = -y[i - 9] * t.shortWindow[i];
        }
    }
    for (int i = 0; i < 6; ++i) {
        out[i] = overlap[i];
        out[6 + i] = static_cast<float>(z[0][i]) + overlap[6 + i];
        out[12 + i] = static_cast<float>(z[0][6 + i] + z[1][i]) + overlap[12 + i];
        overlap[i] = static_cast<float>(z[1][6 + i] + z[2][i]);
        overlap[6 + i] = static_cast<float>(z[2][6 + i]);
        overlap[12 + i] = 0.0f;
    }
}

} // namespace

void HybridFilter::reset() {
    for (auto& channel : overlap_) {
        for (auto& band : channel) {
            band.fill(0.0f);
        }
    }
}

void HybridFilter::process(int channel, float* xr, unsigned nonzero, const GranuleInfo& g, const BandLayout& bands,
                           float* subbands, int slot) {
    const HybridTables& t = hybridTables();
    const bool shortBlocks = g.shortBlocks();
    if (shortBlocks && nonzero > 0) {
        nonzero = reorder(xr, nonzero, bands, g.mixedBlock ? 3 : 0);
    }
    // Subbands that hold input; alias reduction spreads it one subband up.
    const int filled = std::min(static_cast<int>((nonzero + 17) / 18), kSubbands);
    if (!shortBlocks) {
        for (int sb = 0; sb < filled; ++sb) {
            aliasReduce(xr, sb);
        }
    } else if (g.mixedBlock && filled > 0) {
        aliasReduce(xr, 0);
    }
    const int blockType = g.windowSwitching ? static_cast<int>(g.blockType) : 0;
    for (int sb = 0; sb < kSubbands; ++sb) {
        const float* in = xr + 18 * sb;
        float* overlap = overlap_[channel][sb].data();
        float out[kImdctLanes];
        const bool lowZero = sb > filled || groupIsZero(in);
        const bool highZero = sb > filled || groupIsZero(in + 9);
        if (lowZero && highZero) {
            std::memcpy(out, overlap, 18 * sizeof(float));
            std::fill(overlap, overlap + 18, 0.0f);
        } else if (shortBlocks && !(g.mixedBlock && sb < 2)) {
            imdctShort(t, in, overlap, out);
        } else {
            // The two lowest subbands of a mixed block take the normal window,
            // whatever the block type.
            const int type = blockType == 2 || (g.mixedBlock && sb < 2) ? 0 : blockType;
            imdctLong_(t.imdct, type, in, lowZero, highZero, overlap, out);
        }
        // Odd subbands: every second output negated, as one sign flip.
        const std::uint32_t flip = (sb & 1) != 0 ? 0x80000000u : 0u;
        for (int i = 0; i < 18; ++i) {
            const std::uint32_t sign = (i & 1) != 0 ? flip : 0u;
            subbands[32 * (slot + i) + sb] = std::bit_cast<float>(std::bit_cast<std::uint32_t>(out[i]) ^ sign);
        }
    }
}

} // namespace quavera
