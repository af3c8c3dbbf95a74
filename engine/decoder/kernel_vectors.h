#pragma once
// Vectors in the compiler's vector extensions, as wide as the instruction set
// in use: eight doubles with AVX-512, four with AVX2, two otherwise (SSE2 on
// x86). One kernel source compiles for every instruction set with the same
// operations in the same order. Included by a kernel header inside its
// QUAVERA_KERNEL_NAMESPACE, so that every instruction set has its own copy of
// these helpers; they are all forced inline, so that none is shared between
// the builds.
#ifndef QUAVERA_KERNEL_NAMESPACE
#error "define QUAVERA_KERNEL_NAMESPACE before including kernel_vectors.h"
#endif

#include <cstdint>
#include <cstring>
#include <utility>
#if defined(__AVX__)
#include <immintrin.h>
#endif

#define QUAVERA_INLINE [[gnu::always_inline]] inline

namespace quavera::QUAVERA_KERNEL_NAMESPACE {

#if defined(__AVX512F__)
constexpr int kWidth = 8;
#elif defined(__AVX2__)
constexpr int kWidth = 4;
#else
constexpr int kWidth = 2;
#endif

using Vd = double __attribute__((vector_size(8 * kWidth)));
using Vl = std::int64_t __attribute__((vector_size(8 * kWidth)));
using Vf = float __attribute__((vector_size(4 * kWidth)));
using Vi = std::int32_t __attribute__((vector_size(4 * kWidth)));
using Vs = std::int16_t __attribute__((vector_size(2 * kWidth)));
using Vb = std::uint8_t __attribute__((vector_size(kWidth)));

// Vectors from and to memory that need not be aligned.
template <class V, class T>
QUAVERA_INLINE V load(const T* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <class V, class T>
QUAVERA_INLINE void store(T* p, V v) {
    std::memcpy(p, &v, sizeof v);
}

template <class V, class T, std::size_t... I>
QUAVERA_INLINE V splat(T x, std::index_sequence<I...>) {
    return V{((void)I, x)...};
}

// Every lane x.
template <class V, class T>
QUAVERA_INLINE V splat(T x) {
    return splat<V>(x, std::make_index_sequence<kWidth>{});
}

// Bit i set where lane i is negative.
QUAVERA_INLINE unsigned signBits(Vi v) {
#if defined(__AVX512F__)
    return static_cast<unsigned>(_mm256_movemask_ps((__m256)v));
#elif defined(__AVX__)
    return static_cast<unsigned>(_mm_movemask_ps((__m128)v));
#else
    unsigned bits = 0;
    for (int i = 0; i < kWidth; ++i) {
        bits |= (static_cast<std::uint32_t>(v[i]) >> 31) << i;
    }
    return bits;
#endif
}

// a * b + c for factors that are single-precision values: their product is
// exact in double precision, so the fused and the separate forms round alike
// and every build gives the same bits.
QUAVERA_INLINE Vd productSum(Vd a, Vd b, Vd c) {
#if defined(__AVX512F__)
    return _mm512_fmadd_pd(a, b, c);
#elif defined(__FMA__)
    return _mm256_fmadd_pd(a, b, c);
#else
    return a * b + c;
#endif
}

// Vectors rearranged: entry n of the result is lane Map::source(n).lane of
// the input vectors taken one after the other, negated or not, or zero.
struct LaneSource {
    int lane;
    bool negate;
    bool zero;
};

// The kWidth entries of result vector E from (at most) two input vectors: the
// indices of a two-vector shuffle, then sign flips and zeros as bit masks.
struct LaneShuffle {
    int first = -1;
    int second = -1;
    int index[kWidth] = {};
    std::int64_t sign[kWidth] = {};
    std::int64_t keep[kWidth] = {};
};

template <class Map>
constexpr LaneShuffle laneShuffle(int vector) {
    LaneShuffle s;
    for (int i = 0; i < kWidth; ++i) {
        const LaneSource source = Map::source(kWidth * vector + i);
        s.sign[i] = source.negate ? INT64_MIN : 0;
        s.keep[i] = source.zero ? 0 : -1;
        if (source.zero) {
            continue;
        }
        const int from = source.lane / kWidth;
        if (s.first < 0 || s.first == from) {
            s.first = from;
            s.index[i] = source.lane % kWidth;
        } else if (s.second < 0 || s.second == from) {
            s.second = from;
            s.index[i] = kWidth + source.lane % kWidth;
        } else {
            throw "the entries of one vector come from more than two input vectors";
        }
    }
    s.first = s.first < 0 ? 0 : s.first;
    s.second = s.second < 0 ? s.first : s.second;
    return s;
}

template <class Map, int E, std::size_t... I>
QUAVERA_INLINE Vd gather(const Vd* lanes, std::index_sequence<I...>) {
    constexpr LaneShuffle s = laneShuffle<Map>(E);
    const Vd picked = __builtin_shufflevector(lanes[s.first], lanes[s.second], s.index[I]...);
    return (Vd)(((Vl)picked ^ Vl{s.sign[I]...}) & Vl{s.keep[I]...});
}

template <class Map, int E>
QUAVERA_INLINE Vd gather(const Vd* lanes) {
    return gather<Map, E>(lanes, std::make_index_sequence<kWidth>{});
}

// Each lane rounded to single precision and widened again.
QUAVERA_INLINE Vd roundToFloat(Vd v) {
    return __builtin_convertvector(__builtin_convertvector(v, Vf), Vd);
}

} // namespace quavera::QUAVERA_KERNEL_NAMESPACE
