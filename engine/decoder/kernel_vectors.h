// Vectors of eight lanes in the compiler's vector extensions, so that one
// kernel source compiles for every instruction set: as SSE2 in the plain
// build, as two 256-bit halves with AVX2 and as one register with AVX-512.
// Included by a kernel header inside its QUAVERA_KERNEL_NAMESPACE, so that
// every instruction set has its own copy of these helpers; they are all
// forced inline, so that none is shared between the builds.
#ifndef QUAVERA_KERNEL_NAMESPACE
#error "define QUAVERA_KERNEL_NAMESPACE before including kernel_vectors.h"
#endif

#include <cstdint>
#include <cstring>
#if defined(__FMA__)
#include <immintrin.h>
#endif

#define QUAVERA_INLINE [[gnu::always_inline]] inline

namespace quavera::QUAVERA_KERNEL_NAMESPACE {

using V8d = double __attribute__((vector_size(64)));
using V8l = std::int64_t __attribute__((vector_size(64)));
using V8f = float __attribute__((vector_size(32)));
using V8i = std::int32_t __attribute__((vector_size(32)));
using V8s = std::int16_t __attribute__((vector_size(16)));
using V8b = std::uint8_t __attribute__((vector_size(8)));

QUAVERA_INLINE V8d load(const double* p) {
    V8d v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

QUAVERA_INLINE void store(double* p, V8d v) {
    std::memcpy(p, &v, sizeof v);
}

QUAVERA_INLINE V8d broadcast(double x) {
    return V8d{x, x, x, x, x, x, x, x};
}

// a * b + c for factors that are single-precision values: their product is
// exact in double precision, so the fused and the separate forms round alike
// and every build gives the same bits.
QUAVERA_INLINE V8d productSum(V8d a, V8d b, V8d c) {
#if defined(__AVX512F__)
    return _mm512_fmadd_pd(a, b, c);
#elif defined(__FMA__)
    __m256d half[3][2];
    std::memcpy(half[0], &a, sizeof a);
    std::memcpy(half[1], &b, sizeof b);
    std::memcpy(half[2], &c, sizeof c);
    const __m256d sum[2] = {_mm256_fmadd_pd(half[0][0], half[1][0], half[2][0]),
                            _mm256_fmadd_pd(half[0][1], half[1][1], half[2][1])};
    V8d result;
    std::memcpy(&result, sum, sizeof result);
    return result;
#else
    return a * b + c;
#endif
}

// Each lane rounded to single precision and widened again.
QUAVERA_INLINE V8d roundToFloat(V8d v) {
    return __builtin_convertvector(__builtin_convertvector(v, V8f), V8d);
}

} // namespace quavera::QUAVERA_KERNEL_NAMESPACE
