// Compiled with AVX2 enabled; only called when the processor has it.
#define QUAVERA_KERNEL_NAMESPACE avx2
#include "pcm_writer.h"
#include "synthesis_kernels.h"

namespace quavera {

const KernelSet& avx2Kernels() {
    return avx2::kKernels;
}

} // namespace quavera
