#include "kernels.h"

namespace quavera {

const KernelSet& plainKernels();
#ifdef QUAVERA_X86_KERNELS
const KernelSet& avx2Kernels();
const KernelSet& avx512Kernels();
#endif

bool simdAvailable(Simd choice) {
#ifdef QUAVERA_X86_KERNELS
    switch (choice) {
    case Simd::Avx2: {
        static const bool has = __builtin_cpu_supports("avx2") != 0 && __builtin_cpu_supports("fma") != 0;
        return has;
    }
    case Simd::Avx512: {
        // The checks include the operating system's support for the registers.
        static const bool has = simdAvailable(Simd::Avx2) && __builtin_cpu_supports("avx512f") != 0 &&
                                __builtin_cpu_supports("avx512vl") != 0 && __builtin_cpu_supports("avx512bw") != 0 &&
                                __builtin_cpu_supports("avx512dq") != 0;
        return has;
    }
    default:
        return true;
    }
#else
    return choice == Simd::Automatic || choice == Simd::Plain;
#endif
}

Simd widestSimd() {
    return simdAvailable(Simd::Avx512) ? Simd::Avx512 : simdAvailable(Simd::Avx2) ? Simd::Avx2 : Simd::Plain;
}

const KernelSet& kernelSet(Simd choice) {
    if (choice == Simd::Automatic) {
        choice = widestSimd();
    }
#ifdef QUAVERA_X86_KERNELS
    if (choice == Simd::Avx512 && simdAvailable(Simd::Avx512)) {
        return avx512Kernels();
    }
    if (choice == Simd::Avx2 && simdAvailable(Simd::Avx2)) {
        return avx2Kernels();
    }
#endif
    return plainKernels();
}

} // namespace quavera
