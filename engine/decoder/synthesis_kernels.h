// The two hot loops of the filterbank, written once and compiled once per
// instruction set: each kernel source defines QUAVERA_KERNEL_NAMESPACE and
// includes this file, so every copy lives in its own namespace and the copies
// built for a wider instruction set never stand in for the plain ones.
// Both copies do the same operations in the same order and give the same bits.
#ifndef QUAVERA_KERNEL_NAMESPACE
#error "define QUAVERA_KERNEL_NAMESPACE before including synthesis_kernels.h"
#endif

#include <cmath>
#ifdef __AVX2__
#include <immintrin.h>
#endif

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

#ifdef __AVX2__
// The full-rate windowing written out for 256-bit registers: the same
// products and sums in the same order as the loop below, and the same
// rounding and clipping, four samples per instruction.
inline void windowFullRate(const SlotWindow& slot, int channel, int* out) {
    __m256d acc[8];
    for (__m256d& a : acc) {
        a = _mm256_setzero_pd();
    }
    for (int i = slot.firstTap; i <= slot.lastTap; ++i) {
        const double* d = slot.window + 32 * i;
        const double* v = slot.ring[channel] + 32 * i + 64 * ((i + 1) / 2);
        for (int g = 0; g < 8; ++g) {
            acc[g] = _mm256_add_pd(acc[g], _mm256_mul_pd(_mm256_loadu_pd(d + 4 * g), _mm256_loadu_pd(v + 4 * g)));
        }
    }
    const __m128 high = _mm_set1_ps(32767.0f);
    const __m128 low = _mm_set1_ps(-32767.0f);
    for (int g = 0; g < 8; ++g) {
        __m128 value = _mm256_cvtpd_ps(acc[g]);
        value = _mm_blendv_ps(value, high, _mm_cmpge_ps(value, high));
        value = _mm_blendv_ps(value, low, _mm_cmpngt_ps(value, low)); // also NaN
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * g), _mm_cvtps_epi32(value));
    }
}
#endif

// Sums over taps in ascending order, all outputs side by side.
template <int R>
void window(const SlotWindow& slot, int channel, int* out) {
#ifdef __AVX2__
    if constexpr (R == 1) {
        windowFullRate(slot, channel, out);
        return;
    }
#endif
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
