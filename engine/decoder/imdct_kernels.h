#pragma once
// The long-block IMDCT of the Layer III hybrid filterbank, written once and
// compiled once per instruction set like the synthesis kernels: each kernel
// source defines QUAVERA_KERNEL_NAMESPACE and includes this file. All copies
// do the same operations in the same order and give the same bits.
#ifndef QUAVERA_KERNEL_NAMESPACE
#error "define QUAVERA_KERNEL_NAMESPACE before including imdct_kernels.h"
#endif

#include <cstring>

#include "kernel_vectors.h"
#include "kernels.h"

namespace quavera::QUAVERA_KERNEL_NAMESPACE {

// The 18 sums of the IMDCT, padded to whole vectors of every width.
constexpr int kSumVectors = kImdctLanes / kWidth;

// The 36 outputs of the IMDCT from its 18 sums y: y(i + 9) for the first
// quarter, -y(26 - i) for the middle half and -y(i - 27) for the last
// quarter; each half of the outputs padded with zeros to kImdctLanes.
struct ImdctOutputs {
    static constexpr LaneSource source(int lane) {
        const int i = lane % kImdctLanes + 18 * (lane / kImdctLanes);
        if (lane % kImdctLanes >= 18) {
            return {0, false, true};
        }
        if (i < 9) {
            return {i + 9, false, false};
        }
        if (i < 27) {
            return {26 - i, true, false};
        }
        return {i - 27, true, false};
    }
};

// Nine inputs times their rows of cosines, each sum over the inputs in order.
QUAVERA_INLINE void sumNine(const double* rows, const float* in, Vd* sums) {
    for (int k = 0; k < 9; ++k) {
        const Vd x = splat<Vd>(static_cast<double>(in[k]));
        for (int n = 0; n < kSumVectors; ++n) {
            sums[n] = productSum(load<Vd>(rows + kImdctLanes * k + kWidth * n), x, sums[n]);
        }
    }
}

// Output vector E windowed in double precision and rounded to single.
template <int E>
QUAVERA_INLINE Vf windowed(const Vd* y, const double* window) {
    return __builtin_convertvector(gather<ImdctOutputs, E>(y) * load<Vd>(window + kWidth * E), Vf);
}

// The first half of the outputs plus the old overlap into out, then the
// second half as the new overlap.
template <int E = 0>
QUAVERA_INLINE void overlapAdd(const Vd* y, const double* window, float* overlap, float* out) {
    if constexpr (E < kSumVectors) {
        store(out + kWidth * E, windowed<E>(y, window) + load<Vf>(overlap + kWidth * E));
        overlapAdd<E + 1>(y, window, overlap, out);
        store(overlap + kWidth * E, windowed<kSumVectors + E>(y, window));
    }
}

// The sums of inputs 0..8 and 9..17 apart, then added (a half known to be
// zero is skipped); the outputs windowed in double precision and rounded to
// single; the first half added to the overlap, the second half kept as the
// next overlap.
inline void imdctLong(const ImdctTables& tables, int blockType, const float* in, bool lowZero, bool highZero,
                      float* overlap, float* out) {
    Vd low[kSumVectors] = {};
    Vd high[kSumVectors] = {};
    if (!lowZero) {
        sumNine(tables.cosines[0], in, low);
    }
    if (!highZero) {
        sumNine(tables.cosines[9], in + 9, high);
    }
    Vd y[kSumVectors];
    for (int n = 0; n < kSumVectors; ++n) {
        y[n] = lowZero ? high[n] : highZero ? low[n] : low[n] + high[n];
    }
    overlapAdd(y, tables.windows[blockType], overlap, out);
}

} // namespace quavera::QUAVERA_KERNEL_NAMESPACE
