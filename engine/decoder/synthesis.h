#pragma once
// The polyphase synthesis filterbank: 36 time slots of 32 subband samples per
// channel become PCM, downsampled by 1, 2 or 4 and windowed with 12, 8 or 4
// taps. The V history is kept twice in a row so that windowing never wraps.
#include <array>
#include <cstdint>
#include <string>

#include "kernels.h"
#include "pcm_writer.h"

namespace quavera {

class Synthesis {
public:
    static constexpr int kSlotsPerFrame = 36;
    static constexpr int kSlotsPerChannel = 64;

    // Chooses the downsampling, window length and PCM writer. On refusal the
    // error text names the bad value.
    bool configure(int divisor, int quality, int streamChannels, int outputChannels, int bits, std::string& error,
                   Simd simd = Simd::Automatic);
    // History, ring offset and subband samples to zero.
    void reset();

    // Slot-major subband samples of a channel: slot t, subband sb at [32 t + sb].
    float* subbands(int channel) { return subbands_.data() + channel * kSlotsPerChannel * 32; }

    // Bytes of PCM one frame produces.
    int frameBytes() const { return frameBytes_; }
    void synthesizeFrame(std::uint8_t* out);

private:
    alignas(64) std::array<float, 2 * kSlotsPerChannel * 32> subbands_{};
    // Single-precision values, held widened (see the kernels).
    alignas(64) std::array<std::array<double, 2048>, 2> history_{};
    int ringOffset_ = 0;
    int divisor_ = 1;
    int firstTap_ = 2;
    int lastTap_ = 13;
    int channels_ = 2; // channels synthesised: those the writer outputs
    int frameBytes_ = 0;
    void (*matrix_)(const float* s, double* ring) = nullptr;
    void (*window_)(const SlotWindow& slot, int channel, int* out) = nullptr;
    PcmWriter writer_ = nullptr;
};

} // namespace quavera
