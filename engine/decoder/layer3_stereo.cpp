#include "layer3_stereo.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace quavera {

namespace {

constexpr std::uint8_t kNoPosition = 255;
constexpr float kInvSqrt2 = 0.70710678118654752f;

struct IntensityRatios {
    // MPEG-1: left and right factors by position 0..6.
    std::array<std::array<float, 2>, 7> mpeg1{};
    // Lower sampling frequencies: io^n by intensity_scale and n = 0..16.
    std::array<std::array<float, 17>, 2> lsf{};
};

const IntensityRatios& intensityRatios() {
    static const IntensityRatios ratios = [] {
        IntensityRatios r;
        constexpr double kPi = 3.14159265358979323846;
        for (std::size_t pos = 0; pos < r.mpeg1.size(); ++pos) {
            if (pos == 6) { // tan(pi/2): everything to the left
                r.mpeg1[pos] = {1.0f, 0.0f};
                continue;
            }
            const double ratio = std::tan(static_cast<double>(pos) * kPi / 12.0);
            r.mpeg1[pos] = {static_cast<float>(ratio / (1.0 + ratio)), static_cast<float>(1.0 / (1.0 + ratio))};
        }
        for (std::size_t scale = 0; scale < 2; ++scale) {
            for (std::size_t n = 0; n < r.lsf[scale].size(); ++n) {
                r.lsf[scale][n] = static_cast<float>(std::exp2(-0.25 * static_cast<double>((scale + 1) * n)));
            }
        }
        return r;
    }();
    return ratios;
}

bool anyNonZero(const float* x, unsigned begin, unsigned end) {
    return std::any_of(x + begin, x + end, [](float v) { return v != 0.0f; });
}

// A position is legal below 7 in MPEG-1 and below the band's largest scale
// factor value at the lower sampling frequencies.
std::uint8_t legal(std::uint8_t position, std::uint8_t maximum, bool mpeg1) {
    return (mpeg1 ? position < 7 : position < maximum) ? position : kNoPosition;
}

// Long bands from the first band above the right channel's last non-zero
// line up to (but not including) band endBand.
void longPositions(const float* right, const ScaleFactors& sf, const BandLayout& bands, int endBand, bool mpeg1,
                   std::uint8_t* positions) {
    int first = 0;
    for (int sfb = endBand - 1; sfb >= 0; --sfb) {
        if (anyNonZero(right, static_cast<unsigned>(bands.longBands[sfb]), static_cast<unsigned>(bands.longBands[sfb + 1]))) {
            first = sfb + 1;
            break;
        }
    }
    for (int sfb = first; sfb < endBand; ++sfb) {
        const int from = std::min(sfb, 20); // band 21 has no scale factor of its own
        const std::uint8_t pos = legal(sf.l[from], sf.lMax[from], mpeg1);
        std::fill(positions + bands.longBands[sfb], positions + bands.longBands[sfb + 1], pos);
    }
}

// Short bands per window from the first band above the window's last
// non-zero band; returns the highest such first band over the windows.
int shortPositions(const float* right, const ScaleFactors& sf, const BandLayout& bands, int firstBand, bool mpeg1,
                   std::uint8_t* positions) {
    int highestFirst = firstBand;
    for (unsigned window = 0; window < 3; ++window) {
        int first = firstBand;
        for (int sfb = 12; sfb >= firstBand; --sfb) {
            const auto start = static_cast<unsigned>(bands.shortBands[sfb]);
            const auto width = static_cast<unsigned>(bands.shortBands[sfb + 1]) - start;
            const unsigned begin = 3 * start + window * width;
            if (anyNonZero(right, begin, begin + width)) {
                first = sfb + 1;
                break;
            }
        }
        highestFirst = std::max(highestFirst, first);
        for (int sfb = first; sfb < 13; ++sfb) {
            const int from = std::min(sfb, 11); // band 12 has no scale factor of its own
            const auto start = static_cast<unsigned>(bands.shortBands[sfb]);
            const auto width = static_cast<unsigned>(bands.shortBands[sfb + 1]) - start;
            const unsigned begin = 3 * start + window * width;
            std::fill(positions + begin, positions + begin + width,
                      legal(sf.s[from][window], sf.sMax[from], mpeg1));
        }
    }
    return highestFirst;
}

} // namespace

void processStereo(float* left, float* right, StereoMode mode, const GranuleInfo& rightGranule,
                   const ScaleFactors& rightSf, const BandLayout& bands, unsigned* nonzero) {
    if (!mode.intensity) {
        // Mid/side alone: one loop without branches, in vectors.
        const unsigned lines = std::max(nonzero[0], nonzero[1]);
        if (mode.midSide) {
            for (unsigned i = 0; i < lines; ++i) {
                const float m = left[i];
                const float s = right[i];
                left[i] = (m + s) * kInvSqrt2;
                right[i] = (m - s) * kInvSqrt2;
            }
        }
        nonzero[0] = nonzero[1] = lines;
        return;
    }
    std::array<std::uint8_t, 576> positions;
    positions.fill(kNoPosition);
    if (!rightGranule.shortBlocks()) {
        longPositions(right, rightSf, bands, 22, mode.mpeg1, positions.data());
    } else if (!rightGranule.mixedBlock) {
        shortPositions(right, rightSf, bands, 0, mode.mpeg1, positions.data());
    } else if (shortPositions(right, rightSf, bands, 3, mode.mpeg1, positions.data()) <= 3) {
        // The short part is silent in every window: the long part may carry intensity too.
        longPositions(right, rightSf, bands, bands.mixedLongBands, mode.mpeg1, positions.data());
    }
    const IntensityRatios& ratios = intensityRatios();
    for (unsigned i = 0; i < 576; ++i) {
        const std::uint8_t pos = positions[i];
        const float m = left[i];
        if (pos == kNoPosition) {
            if (mode.midSide) {
                const float s = right[i];
                left[i] = (m + s) * kInvSqrt2;
                right[i] = (m - s) * kInvSqrt2;
            }
        } else if (mode.mpeg1) {
            left[i] = m * ratios.mpeg1[pos][0];
            right[i] = m * ratios.mpeg1[pos][1];
        } else {
            const auto& io = ratios.lsf[rightSf.intensityScale];
            const std::size_t n = std::min<std::size_t>((pos + 1u) / 2u, 16u);
            left[i] = (pos & 1u) != 0 ? m * io[n] : m;
            right[i] = (pos & 1u) != 0 || pos == 0 ? m : m * io[n];
        }
    }
    nonzero[0] = nonzero[1] = std::max(nonzero[0], nonzero[1]);
}

} // namespace quavera
