#include "synthesis_tables.h"

#include <cmath>

#include "standard_tables.h"

namespace quavera {

namespace {

SynthesisTables build() {
    SynthesisTables t{};
    // The value of pi the filterbank has always used; the outputs depend on it.
    constexpr long double kPi = 3.141592653589L;
    for (int i = 0; i < 64; ++i) {
        for (int k = 0; k < 32; ++k) {
            t.n[i][k] = static_cast<float>(std::cos(static_cast<long double>((16 + i) * (2 * k + 1)) * kPi / 64.0L));
        }
    }
    for (std::size_t i = 0; i < t.window.size(); ++i) {
        t.window[i] = 0.5f * static_cast<float>(tables::kSynthesisWindowW[i]);
    }
    for (int divisor : {1, 2, 4}) {
        auto& lanes = t.matrixLanes[divisorIndex(divisor)];
        int lane = 0;
        const auto addRow = [&](int v) {
            for (int k = 0; k < 32; ++k) {
                lanes[k][lane] = t.n[v][k];
            }
            ++lane;
        };
        for (int v = 0; v < 16; v += divisor) {
            addRow(v);
        }
        for (int v = 32 + divisor; v < 48; v += divisor) {
            addRow(v);
        }
        for (int k = 0; k < 32; ++k) {
            lanes[k][lane] = 1.0;
        }
        auto& window = t.windowLanes[divisorIndex(divisor)];
        for (int i = 0; i < 16; ++i) {
            for (int j = 0; j < 32; j += divisor) {
                window[i][j / divisor] = t.window[j + 32 * i];
            }
        }
    }
    return t;
}

} // namespace

const SynthesisTables& synthesisTables() {
    static const SynthesisTables tables = build();
    return tables;
}

} // namespace quavera
