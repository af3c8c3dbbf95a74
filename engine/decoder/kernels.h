#pragma once
// The filterbank's hot loops behind one narrow seam: a plain build that runs
// everywhere and, on x86, an AVX2 build chosen at run time when the processor
// has it. Both give the same output bits.
#include <cstdint>

namespace quavera {

struct SlotWindow;

struct KernelSet {
    // Matrixing of one slot of one channel into the V ring at the slot's offset.
    void (*matrix[3])(const float* s, double* ring);
    // Windowing of one slot of one channel into rounded, clipped samples.
    void (*window[3])(const SlotWindow& slot, int channel, int* out);
};

enum class Simd { Automatic, Plain, Avx2 };

// Whether this build and this processor can run the kernels of a choice.
bool simdAvailable(Simd choice);
// The kernels of a choice; Automatic picks the widest available.
const KernelSet& kernelSet(Simd choice);

// Number of subbands the matrixing uses for a slot: the highest even index
// whose sample is at least 2^-13 in magnitude (tested on the bit pattern),
// plus its odd neighbour; at least 2.
int activeSubbands(const float* s, int divisor);

} // namespace quavera
