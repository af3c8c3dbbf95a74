#define QUAVERA_KERNEL_NAMESPACE plain
#include "pcm_writer.h"
#include "synthesis_kernels.h"

namespace quavera {

const KernelSet& plainKernels() {
    return plain::kKernels;
}

int toSample(double sum) {
    return plain::roundAndClip(sum);
}

} // namespace quavera
