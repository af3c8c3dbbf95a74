#pragma once
// The seam between the stream-level decoder and a layer's frame decoding.
#include <cstdint>
#include <string>

#include "bitstream.h"
#include "frame_header.h"
#include "stream_state.h"
#include "synthesis.h"

namespace quavera {

struct FrameContext {
    BitStream& stream;
    StreamState& state;
    Synthesis& synthesis;
};

class LayerDecoder {
public:
    virtual ~LayerDecoder() = default;
    // Checks what the layer needs of the stream's first header and clears the
    // layer's own state; returns the refusal text, or empty.
    virtual std::string setup(FrameHeader first) = 0;
    // Forgets everything carried from frame to frame (after a seek).
    virtual void reset() = 0;
    // Decodes the next frame into out (one frame of PCM). Returns the frame
    // counter, or 0 at the end of the stream with nothing written.
    virtual std::uint32_t decodeFrame(FrameContext& context, std::uint8_t* out) = 0;

protected:
    LayerDecoder() = default;
    LayerDecoder(const LayerDecoder&) = default;
    LayerDecoder& operator=(const LayerDecoder&) = default;
};

} // namespace quavera
