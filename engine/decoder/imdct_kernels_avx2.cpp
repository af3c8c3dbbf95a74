// Compiled with AVX2 enabled; only called when the processor has it.
#define QUAVERA_KERNEL_NAMESPACE avx2
#include "imdct_kernels.h"
#include "layer3_hybrid.h"

namespace quavera {

ImdctAccumulate avx2ImdctAccumulate() {
    return avx2::accumulateNine;
}

} // namespace quavera
