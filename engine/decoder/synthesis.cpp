#include "synthesis.h"

#include <cstring>

#include "synthesis_tables.h"

namespace quavera {

bool Synthesis::configure(int divisor, int quality, int streamChannels, int outputChannels, int bits,
                          std::string& error, Simd simd) {
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
    // Taps 2..13, 4..11 or 6..9 of the window's 16.
    firstTap_ = 2 * quality;
    lastTap_ = 15 - 2 * quality;
    // A two-channel stream played mono outputs its left channel; the right
    // one would never be heard, so it is not synthesised.
    const int channels = streamChannels < outputChannels ? streamChannels : outputChannels;
    frameBytes_ = kSlotsPerFrame * (32 / divisor) * channels * bits / 8;
    kernel_ = kernelSet(simd).frame[divisorIndex(divisor)][channels - 1][bits == 16 ? 1 : 0];
    return true;
}

void Synthesis::reset() {
    subbands_.fill(0.0f);
    std::memset(history_.blocks, 0, sizeof history_.blocks);
    // The first slot after a reset writes block 15.
    history_.newest = 0;
}

void Synthesis::synthesizeFrame(std::uint8_t* out) {
    kernel_(history_, FrameJob{{subbands(0), subbands(1)}, firstTap_, lastTap_, out});
}

} // namespace quavera
