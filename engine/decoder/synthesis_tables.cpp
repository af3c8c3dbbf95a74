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
        t.windowWide[i] = t.window[i];
    }
    for (int divisor : {1, 2, 4}) {
        auto& rows = t.rowsByK[divisorIndex(divisor)];
        int row = 0;
        const auto addRow = [&](int v) {
            for (int k = 0; k < 32; ++k) {
                rows[k][row] = t.n[v][k];
            }
            ++row;
        };
        for (int v = 0; v < 16; v += divisor) {
            addRow(v);
        }
        for (int v = 32 + divisor; v < 48; v += divisor) {
            addRow(v);
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
