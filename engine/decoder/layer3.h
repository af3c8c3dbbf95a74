#pragma once
// Layer III frames: side information, the bit reservoir, and per granule the
// scale factors, Huffman decoding, requantisation, stereo processing and
// hybrid filterbank into the subband samples of the synthesis. One call fills
// the 36 slots of the synthesis: one MPEG-1 frame or two frames of the lower
// sampling frequencies.
#include <array>

#include "layer3_hybrid.h"
#include "layer3_reservoir.h"
#include "layer3_scalefactors.h"
#include "layer3_sideinfo.h"
#include "layer_decoder.h"

namespace quavera {

class Layer3Decoder final : public LayerDecoder {
public:
    explicit Layer3Decoder(Simd simd = Simd::Automatic) : hybrid_(simd) {}
    std::string setup(FrameHeader first) override;
    void reset() override;
    std::uint32_t decodeFrame(FrameContext& context, std::uint8_t* out) override;
    // At the lower sampling frequencies a call decodes two frames; when the
    // stream ends after the first of them, it is played with silence after
    // it instead of dropped (for streams whose frame count is known).
    void finishLoneFrame(bool on) { finishLoneFrame_ = on; }

private:
    // Decodes the granules of a frame whose main data starts at the
    // reservoir's read position into slots from slot on.
    void decodeGranules(FrameHeader header, Synthesis& synthesis, int slot);

    bool mpeg1_ = true;
    bool finishLoneFrame_ = false;
    Reservoir reservoir_;
    std::int64_t frameStart_ = 0; // main-data bytes appended before this frame
    SideInfo side_;
    std::array<ScaleFactors, 2> scaleFactors_{};
    std::array<std::array<int, 576>, 2> quantised_{};
    std::array<std::array<float, 576>, 2> spectrum_{};
    HybridFilter hybrid_;
};

} // namespace quavera
