#define QUAVERA_KERNEL_NAMESPACE plain
#include "imdct_kernels.h"
#include "layer3_hybrid.h"

namespace quavera {

ImdctAccumulate plainImdctAccumulate() {
    return plain::accumulateNine;
}

} // namespace quavera
