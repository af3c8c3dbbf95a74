#pragma once
// The synthesis filterbank of one frame, written once and compiled once per
// instruction set: each kernel source defines QUAVERA_KERNEL_NAMESPACE and
// includes this file, so every copy lives in its own namespace and the copies
// built for a wider instruction set never stand in for the plain ones.
// All copies do the same operations in the same order and give the same bits:
// each sum is accumulated in double precision term by term in ascending
// order, and the products summed are of single-precision values, which are
// exact in double precision whether fused with the addition or not.
#ifndef QUAVERA_KERNEL_NAMESPACE
#error "define QUAVERA_KERNEL_NAMESPACE before including synthesis_kernels.h"
#endif

#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#include "kernel_vectors.h"
#include "kernels.h"
#include "synthesis_tables.h"

namespace quavera::QUAVERA_KERNEL_NAMESPACE {

// See activeSubbands in kernels.h: with divisor R the search starts at the
// pair 31 / R - 1, 31 / R.
template <int R>
QUAVERA_INLINE int activeSubbands(const float* s) {
    std::uint32_t significant = 0;
    for (int n = 0; n < 32 / R / kWidth; ++n) {
        Vi bits;
        std::memcpy(&bits, s + kWidth * n, sizeof bits);
        significant |= signBits((bits & splat<Vi>(0x7F000000)) >= splat<Vi>(0x39000000)) << (kWidth * n);
    }
    // Even subbands from 2 up whose pair holds a significant sample.
    const std::uint32_t pairs = (significant | significant >> 1) & 0x55555554u;
    return pairs != 0 ? 33 - __builtin_clz(pairs) : 2;
}

// Matrixing computes 32 / R sums ("lanes", see SynthesisTables::matrixLanes);
// the symmetries of N spread them over the 64 / R entries of a V block.
// Entry n (V index v = n R) is a lane, a negated lane or zero.
template <int R>
struct VBlockEntries {
    static constexpr LaneSource source(int n) {
        constexpr int kLanes = 32 / R;
        constexpr int kQuarter = 16 / R;
        if (n < kQuarter) {
            return {n, false, false}; // V[v] = x_v
        }
        if (n == kQuarter) {
            return {0, false, true}; // V[16] = 0
        }
        if (n <= kLanes) {
            return {kLanes - n, true, false}; // V[32 - v] = -x_v
        }
        if (n < kLanes + kQuarter) {
            return {n - kQuarter - 1, false, false}; // V[v] = x_v for 32 < v < 48
        }
        if (n == kLanes + kQuarter) {
            return {kLanes - 1, true, false}; // V[48] = -(the plain sum)
        }
        return {5 * kQuarter - n - 1, false, false}; // V[96 - v] = x_v
    }
};

template <int R, int E = 0>
QUAVERA_INLINE void storeBlock(const Vd* lanes, double* block, double* twin) {
    if constexpr (E < 64 / R / kWidth) {
        const Vd entries = gather<VBlockEntries<R>, E>(lanes);
        store(block + kWidth * E, entries);
        store(twin + kWidth * E, entries);
        storeBlock<R, E + 1>(lanes, block, twin);
    }
}

// Matrixing of one slot of one channel into its V block and the block's twin.
template <int R>
QUAVERA_INLINE void matrix(const float* s, const double* factors, double* block, double* twin) {
    constexpr int kVectors = 32 / R / kWidth;
    const int m = activeSubbands<R>(s);
    Vd lanes[kVectors] = {};
    for (int k = 0; k < m; ++k) {
        const Vd sample = splat<Vd>(static_cast<double>(s[k]));
        for (int n = 0; n < kVectors; ++n) {
            lanes[n] = productSum(load<Vd>(factors + 32 * k + kWidth * n), sample, lanes[n]);
        }
    }
    for (Vd& lane : lanes) {
        lane = roundToFloat(lane);
    }
    storeBlock<R>(lanes, block, twin);
}

// Windowing of one slot of one channel: tap i reads the block i slots back,
// its first half for even taps and its second half for odd ones.
template <int R>
QUAVERA_INLINE void window(const double* newest, const double* factors, int firstTap, int lastTap, Vd* sums) {
    constexpr int kVectors = 32 / R / kWidth;
    for (int i = firstTap; i <= lastTap; ++i) {
        const double* v = newest + 64 * i + (i & 1) * (32 / R);
        const double* d = factors + 32 * i;
        for (int n = 0; n < kVectors; ++n) {
            sums[n] = productSum(load<Vd>(d + kWidth * n), load<Vd>(v + kWidth * n), sums[n]);
        }
    }
}

// Rounded to single precision, then to the nearest integer, clipped to
// +-32767 (a NaN gives -32767).
QUAVERA_INLINE Vi toSamples(Vd sums) {
    const Vf value = __builtin_convertvector(sums, Vf);
    const Vi high = value >= splat<Vf>(32767.0f);
    const Vi low = ~(value > splat<Vf>(-32767.0f));
    const Vi clipped = high | low;
    // Adding 1.5 * 2^23 rounds to an integer (to nearest, ties to even) for
    // magnitudes below 2^22; lanes about to be clipped are zeroed first.
    const Vf inRange = (Vf)((Vi)value & ~clipped);
    const Vf rounded = (inRange + splat<Vf>(12582912.0f)) - splat<Vf>(12582912.0f);
    return (__builtin_convertvector(rounded, Vi) & ~clipped) | (high & splat<Vi>(32767)) | (low & splat<Vi>(-32767));
}

QUAVERA_INLINE Vb toUnsigned8(Vi samples) {
    return __builtin_convertvector((samples >> splat<Vi>(8)) ^ splat<Vi>(0x80), Vb);
}

QUAVERA_INLINE Vs toSigned16(Vi samples) {
    Vs s = __builtin_convertvector(samples, Vs);
    if constexpr (std::endian::native == std::endian::big) {
        using Vu = std::uint16_t __attribute__((vector_size(2 * kWidth)));
        s = (Vs)(((Vu)s << 8) | ((Vu)s >> 8));
    }
    return s;
}

// Left and right lanes alternating: 2 kWidth values.
template <class V, std::size_t... I>
QUAVERA_INLINE auto interleave(V left, V right, std::index_sequence<I...>) {
    return __builtin_shufflevector(left, right, (I / 2 + I % 2 * kWidth)...);
}

template <class V>
QUAVERA_INLINE std::uint8_t* put(std::uint8_t* out, V v) {
    std::memcpy(out, &v, sizeof v);
    return out + sizeof v;
}

// The PCM of one slot: stereo interleaves left and right sample by sample.
template <int C, int Bits, int kVectors>
QUAVERA_INLINE std::uint8_t* writeSlot(std::uint8_t* out, const Vi (*samples)[kVectors]) {
    constexpr auto kPairs = std::make_index_sequence<2 * kWidth>{};
    for (int n = 0; n < kVectors; ++n) {
        if constexpr (Bits == 16 && C == 2) {
            out = put(out, interleave(toSigned16(samples[0][n]), toSigned16(samples[1][n]), kPairs));
        } else if constexpr (Bits == 16) {
            out = put(out, toSigned16(samples[0][n]));
        } else if constexpr (C == 2) {
            out = put(out, interleave(toUnsigned8(samples[0][n]), toUnsigned8(samples[1][n]), kPairs));
        } else {
            out = put(out, toUnsigned8(samples[0][n]));
        }
    }
    return out;
}

// One frame at divisor R with C output channels of the given width; only the
// channels written are synthesised.
template <int R, int C, int Bits>
void synthesizeFrame(SynthesisHistory& history, const FrameJob& job) {
    constexpr int kVectors = 32 / R / kWidth;
    const SynthesisTables& tables = synthesisTables();
    const double* lanes = tables.matrixLanes[divisorIndex(R)][0];
    const double* factors = tables.windowLanes[divisorIndex(R)][0];
    std::uint8_t* out = job.out;
    int newest = history.newest;
    for (int slot = 0; slot < 36; ++slot) {
        newest = (newest - 1) & 15;
        Vi samples[C][kVectors];
        for (int ch = 0; ch < C; ++ch) {
            double* block = history.blocks[ch][newest];
            matrix<R>(job.subbands[ch] + 32 * slot, lanes, block, history.blocks[ch][newest + 16]);
            Vd sums[kVectors] = {};
            window<R>(block, factors, job.firstTap, job.lastTap, sums);
            for (int n = 0; n < kVectors; ++n) {
                samples[ch][n] = toSamples(sums[n]);
            }
        }
        out = writeSlot<C, Bits, kVectors>(out, samples);
    }
    history.newest = newest;
}

} // namespace quavera::QUAVERA_KERNEL_NAMESPACE
