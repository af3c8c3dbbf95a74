#pragma once
// Formula tables of the synthesis filterbank, computed once per process.
#include <array>

namespace quavera {

struct SynthesisTables {
    // N[i][k] = cos((16 + i)(2k + 1) pi / 64), rounded to single precision.
    std::array<std::array<float, 32>, 64> n;
    // D'[i] = W[i] / 2: the window scaled so that its output is in 16-bit units.
    std::array<float, 512> window;
    // The same values widened to double once, for the windowing sums.
    std::array<double, 512> windowWide;
    // The rows of N that matrixing computes for divisor 1, 2 and 4 (v = 0, r,
    // ... below 16, then 32 + r, ... below 48), transposed to [k][row] and
    // widened to double so that all rows of one k accumulate side by side.
    std::array<std::array<std::array<double, 32>, 32>, 3> rowsByK;
};

const SynthesisTables& synthesisTables();

// Index into rowsByK for a divisor of 1, 2 or 4.
constexpr int divisorIndex(int divisor) {
    return divisor == 1 ? 0 : divisor == 2 ? 1 : 2;
}

} // namespace quavera
