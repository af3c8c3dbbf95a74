#include "synthesis.h"

#include <bit>
#include <cstring>

#include "synthesis_tables.h"

namespace quavera {

namespace {

bool nearZero(float value) {
    return static_cast<std::int32_t>(std::bit_cast<std::uint32_t>(value) & 0x7F000000u) < 0x39000000;
}

void store(float* ring, int index, double value) {
    const float v = static_cast<float>(value);
    ring[index] = v;
    ring[index + 1024] = v;
}

// Only the V entries whose index is a multiple of R: the windowing reads no
// others. The symmetries of N give 64 entries from 32/R - 1 dot products and
// one plain sum; each sum runs over k in ascending order.
template <int R>
void matrix(const float* s, float* ring) {
    constexpr int kRows = 32 / R;
    const auto& rows = synthesisTables().rowsByK[divisorIndex(R)];
    const int m = activeSubbands(s, R);
    double x[kRows] = {};
    double sum = 0.0;
    for (int k = 0; k < m; ++k) {
        const double sk = s[k];
        sum += sk;
        const double* nk = rows[k].data();
        for (int row = 0; row < kRows; ++row) {
            x[row] += nk[row] * sk;
        }
    }
    int row = 0;
    for (int v = 0; v < 16; v += R, ++row) {
        store(ring, v, x[row]);
        store(ring, 32 - v, -x[row]);
    }
    for (int v = 32 + R; v < 48; v += R, ++row) {
        store(ring, v, x[row]);
        store(ring, 96 - v, x[row]);
    }
    store(ring, 16, 0.0);
    store(ring, 48, -sum);
}

} // namespace

int activeSubbands(const float* s, int divisor) {
    int m0 = 31 / divisor - 1;
    while (m0 > 0 && nearZero(s[m0])) {
        m0 -= 2;
    }
    return m0 + 2;
}

bool Synthesis::configure(int divisor, int quality, int streamChannels, int outputChannels, int bits,
                          std::string& error) {
    if (divisor != 1 && divisor != 2 && divisor != 4) {
        error = "Illegal playback configuration: " + std::to_string(divisor) + " FrequencyDivisor";
        return false;
    }
    if (quality < 1 || quality > 3) {
        error = "Illegal playback configuration: " + std::to_string(quality) + " Quality";
        return false;
    }
    if (outputChannels != 1 && outputChannels != 2) {
        error = "Wrong number of playback channels (" + std::to_string(outputChannels) + ")!";
        return false;
    }
    if (bits != 8 && bits != 16) {
        error = "Wrong number of sample bits (" + std::to_string(bits) + ")!";
        return false;
    }
    divisor_ = divisor;
    firstTap_ = firstTapOf(quality);
    lastTap_ = lastTapOf(quality);
    // A two-channel stream played mono outputs its left channel; the right
    // one would never be heard.
    channels_ = streamChannels < outputChannels ? streamChannels : outputChannels;
    frameBytes_ = kSlotsPerFrame * (32 / divisor) * outputChannels * bits / 8;
    matrix_ = divisor == 1 ? matrix<1> : divisor == 2 ? matrix<2> : matrix<4>;
    writer_ = selectPcmWriter(divisor, outputChannels, bits);
    return true;
}

void Synthesis::reset() {
    subbands_.fill(0.0f);
    for (auto& ring : history_) {
        ring.fill(0.0f);
    }
    ringOffset_ = 0;
}

void Synthesis::synthesizeFrame(std::uint8_t* out) {
    const SynthesisTables& tables = synthesisTables();
    for (int t = 0; t < kSlotsPerFrame; ++t) {
        ringOffset_ = (ringOffset_ - 64) & 1023;
        SlotWindow slot{{history_[0].data() + ringOffset_, history_[1].data() + ringOffset_},
                        tables.window.data(),
                        firstTap_,
                        lastTap_};
        for (int ch = 0; ch < channels_; ++ch) {
            matrix_(subbands(ch) + 32 * t, history_[ch].data() + ringOffset_);
        }
        out += writer_(out, slot);
    }
}

} // namespace quavera
