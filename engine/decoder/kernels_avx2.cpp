// Compiled with AVX2 and FMA enabled; only called when the processor has both.
#define QUAVERA_KERNEL_NAMESPACE avx2
#include "kernel_set.h"

namespace quavera {

const KernelSet& avx2Kernels() {
    return avx2::kKernels;
}

} // namespace quavera
