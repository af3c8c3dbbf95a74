#pragma once
// The kernels of one instruction set as a KernelSet: each kernel source
// defines QUAVERA_KERNEL_NAMESPACE and includes this file.
#ifndef QUAVERA_KERNEL_NAMESPACE
#error "define QUAVERA_KERNEL_NAMESPACE before including kernel_set.h"
#endif

#include "imdct_kernels.h"
#include "synthesis_kernels.h"

namespace quavera::QUAVERA_KERNEL_NAMESPACE {

inline constexpr KernelSet kKernels{
    {
        {{synthesizeFrame<1, 1, 8>, synthesizeFrame<1, 1, 16>}, {synthesizeFrame<1, 2, 8>, synthesizeFrame<1, 2, 16>}},
        {{synthesizeFrame<2, 1, 8>, synthesizeFrame<2, 1, 16>}, {synthesizeFrame<2, 2, 8>, synthesizeFrame<2, 2, 16>}},
        {{synthesizeFrame<4, 1, 8>, synthesizeFrame<4, 1, 16>}, {synthesizeFrame<4, 2, 8>, synthesizeFrame<4, 2, 16>}},
    },
    imdctLong,
};

} // namespace quavera::QUAVERA_KERNEL_NAMESPACE
