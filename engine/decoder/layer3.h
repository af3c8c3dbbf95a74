#pragma once
// Layer III frames. Only the stream-level part is there yet: a Layer III
// stream opens (so its parameters can be reported) and decodes no frames.
#include "layer_decoder.h"

namespace quavera {

class Layer3Decoder final : public LayerDecoder {
public:
    std::string setup(FrameHeader first) override;
    void reset() override;
    std::uint32_t decodeFrame(FrameContext& context, std::uint8_t* out) override;
};

} // namespace quavera
