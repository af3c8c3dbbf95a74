// The two hot loops of the filterbank, written once and compiled once per
// instruction set: each kernel source defines QUAVERA_KERNEL_NAMESPACE and
// includes this file, so every copy lives in its own namespace and the copies
// built for a wider instruction set never stand in for the plain ones.
// Both copies do the same operations in the same order and give the same bits.
#ifndef QUAVERA_KERNEL_NAMESPACE
#error "define QUAVERA_KERNEL_NAMESPACE before including synthesis_kernels.h"
#endif

#include <cmath>

#include "kernels.h"
#include "synthesis_tables.h"

namespace quavera::QUAVERA_KERNEL_NAMESPACE {

// V entries are rounded to single precision; they are kept widened so that
// the windowing reads them without a conversion.
inline void store(double* ring, int index, double value) {
    const double v = static_cast<float>(value);
    ring[index] = v;
    ring[index + 1024] = v;
}

// Only the V entries whose index is a multiple of R: the windowing reads no
// others. The symmetries of N give 64 entries from 32/R - 1 dot products and
// one plain sum; all rows of one k accumulate side by side, each sum over k
// in ascending order.
template <int R>
void matrix(const float* s, double* ring) {
    constexpr int kRows = 32 / R;
    const auto& rows = synthesisTables().rowsByK[divisorIndex(R)];
    const int m = activeSubbands(s, R);
    double x[kRows] = {};
    double sum = 0.0;
    for (int k = 0; k < m; ++k) {
        const double sk = s[k];
        sum += sk;
        const double* nk = rows[k].data();
        for (int row = 0; row < kRows; ++row) {
            x[row] += nk[row] * sk;
        }
    }
    int row = 0;
    for (int v = 0; v < 16; v += R, ++row) {
        store(ring, v, x[row]);
        store(ring, 32 - v, -x[row]);
    }
    for (int v = 32 + R; v < 48; v += R, ++row) {
        store(ring, v, x[row]);
        store(ring, 96 - v, x[row]);
    }
    store(ring, 16, 0.0);
    store(ring, 48, -sum);
}

inline int roundAndClip(double sum) {
    const float value = static_cast<float>(sum);
    // Clipping before rounding gives the same result because both limits are integers.
    if (value >= 32767.0f) {
        return 32767;
    }
    if (!(value > -32767.0f)) { // also NaN, so that -32768 never appears
        return -32767;
    }
    return static_cast<int>(std::lrint(value));
}

// Sums over taps in ascending order, all outputs side by side.
template <int R>
void window(const SlotWindow& slot, int channel, int* out) {
    constexpr int kOut = 32 / R;
    double acc[kOut] = {};
    for (int i = slot.firstTap; i <= slot.lastTap; ++i) {
        const double* d = slot.window + 32 * i;
        const double* v = slot.ring[channel] + 32 * i + 64 * ((i + 1) / 2);
        for (int n = 0; n < kOut; ++n) {
            acc[n] += d[n * R] * v[n * R];
        }
    }
    for (int n = 0; n < kOut; ++n) {
        out[n] = roundAndClip(acc[n]);
    }
}

inline constexpr KernelSet kKernels{{matrix<1>, matrix<2>, matrix<4>}, {window<1>, window<2>, window<4>}};

} // namespace quavera::QUAVERA_KERNEL_NAMESPACE
