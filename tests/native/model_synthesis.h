#pragma once
// The synthesis filter written plainly in double precision: all 64 matrixing
// entries from N, a single ring of 1024 with wrap-around indexing, any tap
// range of the window, the cutoff optional. With taps 0..15 and no cutoff it
// is the standard's full filterbank.
#include <cstdint>
#include <vector>

namespace quavera::test {

struct ModelOptions {
    int divisor = 1;
    int firstTap = 0;
    int lastTap = 15;
    bool cutoff = false;
    int channels = 2;       // synthesised
    int outputChannels = 2; // written
    int bits = 16;
};

class ModelSynthesis {
public:
    explicit ModelSynthesis(const ModelOptions& options) : o_(options) {}
    // One frame (36 slots) of slot-major subband samples per channel; PCM out.
    std::vector<std::uint8_t> frame(const float* subbands0, const float* subbands1);

private:
    ModelOptions o_;
    int offset_ = 0;
    float v_[2][1024] = {};
};

} // namespace quavera::test
