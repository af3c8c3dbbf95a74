// Compiled with AVX-512 (F, VL, BW, DQ) enabled; only called when the
// processor has it.
#define QUAVERA_KERNEL_NAMESPACE avx512
#include "kernel_set.h"

namespace quavera {

const KernelSet& avx512Kernels() {
    return avx512::kKernels;
}

} // namespace quavera
