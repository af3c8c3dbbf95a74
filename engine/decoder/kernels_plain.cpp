#define QUAVERA_KERNEL_NAMESPACE plain
#include "kernel_set.h"

namespace quavera {

const KernelSet& plainKernels() {
    return plain::kKernels;
}

int activeSubbands(const float* s, int divisor) {
    switch (divisor) {
    case 1:
        return plain::activeSubbands<1>(s);
    case 2:
        return plain::activeSubbands<2>(s);
    default:
        return plain::activeSubbands<4>(s);
    }
}

int toSample(double sum) {
    return plain::toSamples(plain::splat<plain::Vd>(sum))[0];
}

std::uint8_t toUnsigned8(int sample) {
    return plain::toUnsigned8(plain::splat<plain::Vi>(static_cast<std::int32_t>(sample)))[0];
}

} // namespace quavera
