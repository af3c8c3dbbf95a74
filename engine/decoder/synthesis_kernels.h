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

#include "kernel_vectors.h"
#include "kernels.h"
#include "synthesis_tables.h"

namespace quavera::QUAVERA_KERNEL_NAMESPACE {

// See activeSubbands in kernels.h: with divisor R the search starts at the
// pair 31 / R - 1, 31 / R.
template <int R>
QUAVERA_INLINE int activeSubbands(const float* s) {
    int m = 2;
    for (int k = 2; k < 32 / R; ++k) {
        std::uint32_t bits;
        std::memcpy(&bits, s + k, sizeof bits);
        const int pairEnd = static_cast<std::int32_t>(bits & 0x7F000000u) >= 0x39000000 ? (k | 1) + 1 : 2;
        m = pairEnd > m ? pairEnd : m;
    }
    return m;
}

// Matrixing computes 32 / R sums ("lanes", see SynthesisTables::matrixLanes);
// the symmetries of N spread them over the 64 / R entries of a V block.
// Entry n (V index v = n R) is a lane, a negated lane or zero.
struct EntrySource {
    int lane;
    bool negate;
    bool zero;
};

template <int R>
constexpr EntrySource entrySource(int n) {
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

// Eight entries of a block from (at most) two vectors of lanes: the indices
// of a two-vector shuffle, then sign flips and zeros as bit masks.
struct EntryShuffle {
    int first = -1;
    int second = -1;
    int index[8] = {};
    std::int64_t sign[8] = {};
    std::int64_t keep[8] = {};
};

template <int R>
constexpr EntryShuffle entryShuffle(int vector) {
    EntryShuffle s;
    for (int i = 0; i < 8; ++i) {
        const EntrySource source = entrySource<R>(8 * vector + i);
        s.sign[i] = source.negate ? INT64_MIN : 0;
        s.keep[i] = source.zero ? 0 : -1;
        if (source.zero) {
            continue;
        }
        const int from = source.lane / 8;
        if (s.first < 0 || s.first == from) {
            s.first = from;
            s.index[i] = source.lane % 8;
        } else if (s.second < 0 || s.second == from) {
            s.second = from;
            s.index[i] = 8 + source.lane % 8;
        } else {
            throw "entries of one vector come from more than two vectors of lanes";
        }
    }
    s.first = s.first < 0 ? 0 : s.first;
    s.second = s.second < 0 ? s.first : s.second;
    return s;
}

template <int R, int E>
QUAVERA_INLINE V8d blockEntries(const V8d* lanes) {
    constexpr EntryShuffle s = entryShuffle<R>(E);
    const V8d picked = __builtin_shufflevector(lanes[s.first], lanes[s.second], s.index[0], s.index[1], s.index[2],
                                               s.index[3], s.index[4], s.index[5], s.index[6], s.index[7]);
    const V8l sign = {s.sign[0], s.sign[1], s.sign[2], s.sign[3], s.sign[4], s.sign[5], s.sign[6], s.sign[7]};
    const V8l keep = {s.keep[0], s.keep[1], s.keep[2], s.keep[3], s.keep[4], s.keep[5], s.keep[6], s.keep[7]};
    return (V8d)(((V8l)picked ^ sign) & keep);
}

template <int R, int E = 0>
QUAVERA_INLINE void storeBlock(const V8d* lanes, double* block, double* twin) {
    if constexpr (E < 8 / R) {
        const V8d entries = blockEntries<R, E>(lanes);
        store(block + 8 * E, entries);
        store(twin + 8 * E, entries);
        storeBlock<R, E + 1>(lanes, block, twin);
    }
}

// Matrixing of one slot of one channel into its V block and the block's twin.
template <int R>
QUAVERA_INLINE void matrix(const float* s, const double* factors, double* block, double* twin) {
    constexpr int kVectors = 4 / R;
    const int m = activeSubbands<R>(s);
    V8d lanes[kVectors] = {};
    for (int k = 0; k < m; ++k) {
        const V8d sample = broadcast(s[k]);
        for (int n = 0; n < kVectors; ++n) {
            lanes[n] = productSum(load(factors + 32 * k + 8 * n), sample, lanes[n]);
        }
    }
    for (V8d& lane : lanes) {
        lane = roundToFloat(lane);
    }
    storeBlock<R>(lanes, block, twin);
}

// Windowing of one slot of one channel: tap i reads the block i slots back,
// its first half for even taps and its second half for odd ones.
template <int R>
QUAVERA_INLINE void window(const double* newest, const double* factors, int firstTap, int lastTap, V8d* sums) {
    constexpr int kVectors = 4 / R;
    for (int i = firstTap; i <= lastTap; ++i) {
        const double* v = newest + 64 * i + (i & 1) * (32 / R);
        const double* d = factors + 32 * i;
        for (int n = 0; n < kVectors; ++n) {
            sums[n] = productSum(load(d + 8 * n), load(v + 8 * n), sums[n]);
        }
    }
}

QUAVERA_INLINE V8f splat(float x) {
    return V8f{x, x, x, x, x, x, x, x};
}

QUAVERA_INLINE V8i splat(std::int32_t x) {
    return V8i{x, x, x, x, x, x, x, x};
}

// Rounded to single precision, then to the nearest integer, clipped to
// +-32767 (a NaN gives -32767).
QUAVERA_INLINE V8i toSamples(V8d sums) {
    const V8f value = __builtin_convertvector(sums, V8f);
    const V8i high = value >= splat(32767.0f);
    const V8i low = ~(value > splat(-32767.0f));
    const V8i clipped = high | low;
    // Adding 1.5 * 2^23 rounds to an integer (to nearest, ties to even) for
    // magnitudes below 2^22; lanes about to be clipped are zeroed first.
    const V8f inRange = (V8f)((V8i)value & ~clipped);
    const V8f rounded = (inRange + splat(12582912.0f)) - splat(12582912.0f);
    return (__builtin_convertvector(rounded, V8i) & ~clipped) | (high & splat(32767)) | (low & splat(-32767));
}

QUAVERA_INLINE V8b toUnsigned8(V8i samples) {
    return __builtin_convertvector((samples >> splat(8)) ^ splat(0x80), V8b);
}

QUAVERA_INLINE V8s toSigned16(V8i samples) {
    V8s s = __builtin_convertvector(samples, V8s);
    if constexpr (std::endian::native == std::endian::big) {
        using V8u = std::uint16_t __attribute__((vector_size(16)));
        s = (V8s)(((V8u)s << 8) | ((V8u)s >> 8));
    }
    return s;
}

// The PCM of one slot: stereo interleaves left and right sample by sample.
template <int C, int Bits, int kVectors>
QUAVERA_INLINE std::uint8_t* writeSlot(std::uint8_t* out, const V8i (*samples)[kVectors]) {
    for (int n = 0; n < kVectors; ++n) {
        if constexpr (Bits == 16 && C == 2) {
            const V8s left = toSigned16(samples[0][n]);
            const V8s right = toSigned16(samples[1][n]);
            const V8s low = __builtin_shufflevector(left, right, 0, 8, 1, 9, 2, 10, 3, 11);
            const V8s high = __builtin_shufflevector(left, right, 4, 12, 5, 13, 6, 14, 7, 15);
            std::memcpy(out, &low, sizeof low);
            std::memcpy(out + 16, &high, sizeof high);
            out += 32;
        } else if constexpr (Bits == 16) {
            const V8s mono = toSigned16(samples[0][n]);
            std::memcpy(out, &mono, sizeof mono);
            out += 16;
        } else if constexpr (C == 2) {
            const auto both = __builtin_shufflevector(toUnsigned8(samples[0][n]), toUnsigned8(samples[1][n]), 0, 8, 1,
                                                      9, 2, 10, 3, 11, 4, 12, 5, 13, 6, 14, 7, 15);
            std::memcpy(out, &both, sizeof both);
            out += 16;
        } else {
            const V8b mono = toUnsigned8(samples[0][n]);
            std::memcpy(out, &mono, sizeof mono);
            out += 8;
        }
    }
    return out;
}

// One frame at divisor R with C output channels of the given width; only the
// channels written are synthesised.
template <int R, int C, int Bits>
void synthesizeFrame(SynthesisHistory& history, const FrameJob& job) {
    constexpr int kVectors = 4 / R;
    const SynthesisTables& tables = synthesisTables();
    const double* lanes = tables.matrixLanes[divisorIndex(R)][0];
    const double* factors = tables.windowLanes[divisorIndex(R)][0];
    std::uint8_t* out = job.out;
    int newest = history.newest;
    for (int slot = 0; slot < 36; ++slot) {
        newest = (newest - 1) & 15;
        V8i samples[C][kVectors];
        for (int ch = 0; ch < C; ++ch) {
            double* block = history.blocks[ch][newest];
            matrix<R>(job.subbands[ch] + 32 * slot, lanes, block, history.blocks[ch][newest + 16]);
            V8d sums[kVectors] = {};
            window<R>(block, factors, job.firstTap, job.lastTap, sums);
            for (int n = 0; n < kVectors; ++n) {
                samples[ch][n] = toSamples(sums[n]);
            }
        }
        out = writeSlot<C, Bits, kVectors>(out, samples);
    }
    history.newest = newest;
}

inline constexpr KernelSet kKernels{{
    {{synthesizeFrame<1, 1, 8>, synthesizeFrame<1, 1, 16>}, {synthesizeFrame<1, 2, 8>, synthesizeFrame<1, 2, 16>}},
    {{synthesizeFrame<2, 1, 8>, synthesizeFrame<2, 1, 16>}, {synthesizeFrame<2, 2, 8>, synthesizeFrame<2, 2, 16>}},
    {{synthesizeFrame<4, 1, 8>, synthesizeFrame<4, 1, 16>}, {synthesizeFrame<4, 2, 8>, synthesizeFrame<4, 2, 16>}},
}};

} // namespace quavera::QUAVERA_KERNEL_NAMESPACE
