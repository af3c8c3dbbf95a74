// The hot loop of the Layer III IMDCT, written once and compiled once per
// instruction set like the filterbank kernels: each kernel source defines
// QUAVERA_KERNEL_NAMESPACE and includes this file. Both copies do the same
// operations in the same order and give the same bits.
#ifndef QUAVERA_KERNEL_NAMESPACE
#error "define QUAVERA_KERNEL_NAMESPACE before including imdct_kernels.h"
#endif

namespace quavera::QUAVERA_KERNEL_NAMESPACE {

// The 18 sums of the products of nine inputs with their rows of the cosine
// table; a fixed count keeps the sums in registers.
inline void accumulateNine(const double (*rows)[18], const float* in, double* y) {
    double acc[18] = {};
#pragma GCC unroll 9
    for (int k = 0; k < 9; ++k) {
        const double xk = in[k];
        for (int j = 0; j < 18; ++j) {
            acc[j] += rows[k][j] * xk;
        }
    }
    for (int j = 0; j < 18; ++j) {
        y[j] = acc[j];
    }
}

} // namespace quavera::QUAVERA_KERNEL_NAMESPACE
