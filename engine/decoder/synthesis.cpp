#include "synthesis.h"

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
    divisor_ = divisor;
    firstTap_ = firstTapOf(quality);
    lastTap_ = lastTapOf(quality);
    // A two-channel stream played mono outputs its left channel; the right
    // one would never be heard.
    channels_ = streamChannels < outputChannels ? streamChannels : outputChannels;
    frameBytes_ = kSlotsPerFrame * (32 / divisor) * outputChannels * bits / 8;
    const KernelSet& kernels = kernelSet(simd);
    matrix_ = kernels.matrix[divisorIndex(divisor)];
    window_ = kernels.window[divisorIndex(divisor)];
    writer_ = selectPcmWriter(divisor, outputChannels, bits);
    return true;
}

void Synthesis::reset() {
    subbands_.fill(0.0f);
    for (auto& ring : history_) {
        ring.fill(0.0);
    }
    ringOffset_ = 0;
}

void Synthesis::synthesizeFrame(std::uint8_t* out) {
    const SynthesisTables& tables = synthesisTables();
    for (int t = 0; t < kSlotsPerFrame; ++t) {
        ringOffset_ = (ringOffset_ - 64) & 1023;
        SlotWindow slot{{history_[0].data() + ringOffset_, history_[1].data() + ringOffset_},
                        tables.windowWide.data(),
                        firstTap_,
                        lastTap_,
                        window_};
        for (int ch = 0; ch < channels_; ++ch) {
            matrix_(subbands(ch) + 32 * t, history_[ch].data() + ringOffset_);
        }
        out += writer_(out, slot);
    }
}

} // namespace quavera
