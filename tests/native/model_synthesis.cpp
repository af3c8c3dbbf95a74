#include "model_synthesis.h"

#include <algorithm>
#include <cmath>

#include "synthesis_tables.h"

namespace quavera::test {

std::vector<std::uint8_t> ModelSynthesis::frame(const float* subbands0, const float* subbands1) {
    const SynthesisTables& t = synthesisTables();
    std::vector<std::uint8_t> pcm;
    for (int slot = 0; slot < 36; ++slot) {
        offset_ = (offset_ + 1024 - 64) % 1024;
        for (int ch = 0; ch < o_.channels; ++ch) {
            const float* s = (ch == 0 ? subbands0 : subbands1) + 32 * slot;
            int m = 32;
            if (o_.cutoff) {
                int m0 = 31 / o_.divisor - 1;
                while (m0 > 0 && std::fabs(s[m0]) < std::ldexp(1.0, -13) &&
                       std::fabs(s[m0 + 1]) < std::ldexp(1.0, -13)) {
                    m0 -= 2;
                }
                m = m0 + 2;
            }
            for (int v = 0; v < 64; ++v) {
                double x = 0;
                for (int k = 0; k < m; ++k) {
                    x += static_cast<double>(t.n[v][k]) * s[k];
                }
                v_[ch][(offset_ + v) % 1024] = static_cast<float>(x);
            }
        }
        for (int j = 0; j < 32; j += o_.divisor) {
            for (int ch = 0; ch < o_.outputChannels; ++ch) {
                double sum = 0;
                for (int i = o_.firstTap; i <= o_.lastTap; ++i) {
                    sum += static_cast<double>(t.window[j + 32 * i]) *
                           v_[ch][(offset_ + j + 32 * i + 64 * ((i + 1) / 2)) % 1024];
                }
                const double value = std::nearbyint(static_cast<float>(sum));
                const int sample = static_cast<int>(std::clamp(value, -32767.0, 32767.0));
                if (o_.bits == 16) {
                    pcm.push_back(static_cast<std::uint8_t>(sample & 0xFF));
                    pcm.push_back(static_cast<std::uint8_t>(sample >> 8 & 0xFF));
                } else {
                    pcm.push_back(static_cast<std::uint8_t>((sample >> 8 & 0xFF) ^ 0x80));
                }
            }
        }
    }
    return pcm;
}

} // namespace quavera::test
