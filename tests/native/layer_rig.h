#pragma once
// A layer's frame decoding driven frame by frame outside the Decoder, so that
// tests can read the subband samples of each frame.
#include <string>
#include <type_traits>

#include "bitstream.h"
#include "file_layout.h"
#include "layer2.h"
#include "layer3.h"
#include "stream_open.h"
#include "synthesis.h"
#include "test_support.h"

namespace quavera::test {

template <class Layer>
struct LayerRig {
    explicit LayerRig(Bytes data) : source(std::move(data)) {
        stream.bind(&source);
        stream.open("rig");
        // As the decoder opens a stream: an information frame is no audio.
        FileLayout layout;
        if (!readFileLayout(stream, true, layout, error)) {
            return;
        }
        const FrameHeader header = layout.first.header;
        channels = header.channels();
        state.referenceBits = header.streamBits();
        state.streamChannels = channels;
        state.samplingFrequency = header.samplingFrequency();
        state.frameSize = frameSizeOf(channels, header.bitratePerChannel(), header.samplingFrequency());
        error = layer.setup(header);
        if constexpr (std::is_same_v<Layer, Layer3Decoder>) {
            layer.finishLoneFrame(layout.info.has_value());
        }
        if (error.empty() && synthesis.configure(1, 1, channels, channels, 16, error)) {
            synthesis.reset();
            pcm.resize(static_cast<std::size_t>(synthesis.frameBytes()));
        }
    }

    // The frame counter, or 0 at the end of the stream.
    std::uint32_t decode() {
        if (!error.empty() || pcm.empty()) {
            return 0;
        }
        FrameContext context{stream, state, synthesis};
        return layer.decodeFrame(context, pcm.data());
    }
    float sample(int channel, int slot, int subband) { return synthesis.subbands(channel)[32 * slot + subband]; }

    MemorySource source;
    BitStream stream{16384, 1152};
    StreamState state;
    Synthesis synthesis;
    Layer layer;
    int channels = 0;
    std::string error;
    Bytes pcm;
};

using Layer2Rig = LayerRig<Layer2Decoder>;
using Layer3Rig = LayerRig<Layer3Decoder>;

} // namespace quavera::test
