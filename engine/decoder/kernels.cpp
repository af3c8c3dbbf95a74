#include "kernels.h"

#include <bit>

namespace quavera {

const KernelSet& plainKernels();
#ifdef QUAVERA_HAVE_AVX2
const KernelSet& avx2Kernels();
#endif

namespace {

bool nearZero(float value) {
    return static_cast<std::int32_t>(std::bit_cast<std::uint32_t>(value) & 0x7F000000u) < 0x39000000;
}

bool processorHasAvx2() {
#ifdef QUAVERA_HAVE_AVX2
    static const bool has = __builtin_cpu_supports("avx2") != 0;
    return has;
#else
    return false;
#endif
}

} // namespace

// Subbands are dropped in pairs from the top while both are near silent. The
// odd one of a pair must count too: in Layer II an even subband quantised to
// zero often sits below a loud odd one, and dropping that would cut audible
// content, not silence.
int activeSubbands(const float* s, int divisor) {
    int m0 = 31 / divisor - 1;
    while (m0 > 0 && nearZero(s[m0]) && nearZero(s[m0 + 1])) {
        m0 -= 2;
    }
    return m0 + 2;
}

bool simdAvailable(Simd choice) {
    return choice != Simd::Avx2 || processorHasAvx2();
}

const KernelSet& kernelSet(Simd choice) {
#ifdef QUAVERA_HAVE_AVX2
    if (choice != Simd::Plain && processorHasAvx2()) {
        return avx2Kernels();
    }
#endif
    (void)choice;
    return plainKernels();
}

} // namespace quavera
