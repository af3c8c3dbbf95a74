#pragma once
// Formula tables of the synthesis filterbank, computed once per process.
#include <array>

namespace quavera {

// Divisors 1, 2 and 4 as an index.
constexpr int divisorIndex(int divisor) {
    return divisor == 1 ? 0 : divisor == 2 ? 1 : 2;
}

struct SynthesisTables {
    // N[i][k] = cos((16 + i)(2k + 1) pi / 64), rounded to single precision.
    std::array<std::array<float, 32>, 64> n;
    // D'[i] = W[i] / 2: the window scaled so that its output is in 16-bit units.
    std::array<float, 512> window;
    // By divisor r, for each subband k, the factors of the 32 / r sums that
    // matrixing computes side by side ("lanes"): the rows of N for v = 0, r,
    // ... below 16, then 32 + r, ... below 48, and last 1.0 for the plain sum
    // of the samples. Single-precision values, held widened.
    // Plain arrays: the kernels of every instruction set read them directly.
    alignas(64) double matrixLanes[3][32][32];
    // By divisor r and tap i, the window factors of the 32 / r output samples
    // j = 0, r, ... : D'[j + 32 i], held widened.
    alignas(64) double windowLanes[3][16][32];
};

const SynthesisTables& synthesisTables();

} // namespace quavera
