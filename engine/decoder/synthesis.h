#pragma once
// The polyphase synthesis filterbank: 36 time slots of 32 subband samples per
// channel become PCM, downsampled by 1, 2 or 4 and windowed with 12, 8 or 4
// taps, by the kernels of the processor's instruction set.
#include <array>
#include <cstdint>
#include <string>

#include "kernels.h"

namespace quavera {

class Synthesis {
public:
    static constexpr int kSlotsPerFrame = 36;
    static constexpr int kSlotsPerChannel = 64;

    // Chooses the downsampling, window length and PCM format. On refusal the
    // error text names the bad value.
    bool configure(int divisor, int quality, int streamChannels, int outputChannels, int bits, std::string& error,
                   Simd simd = Simd::Automatic);
    // History and subband samples to zero.
    void reset();

    // Slot-major subband samples of a channel: slot t, subband sb at [32 t + sb].
    float* subbands(int channel) { return subbands_.data() + channel * kSlotsPerChannel * 32; }

    // Bytes of PCM one frame produces.
    int frameBytes() const { return frameBytes_; }
    void synthesizeFrame(std::uint8_t* out);

private:
    alignas(64) std::array<float, 2 * kSlotsPerChannel * 32> subbands_{};
    SynthesisHistory history_{};
    int firstTap_ = 2;
    int lastTap_ = 13;
    int frameBytes_ = 0;
    FrameKernel kernel_ = nullptr;
};

} // namespace quavera
