#include "layer2_rig.h"

#include "stream_open.h"

namespace quavera::test {

Layer2Rig::Layer2Rig(Bytes data) : source(std::move(data)) {
    stream.bind(&source);
    stream.open("rig");
    FirstFrame first;
    if (!findFirstFrame(stream, first, error)) {
        return;
    }
    const FrameHeader header = first.header;
    channels = header.channels();
    state.referenceBits = header.streamBits();
    state.streamChannels = channels;
    state.samplingFrequency = header.samplingFrequency();
    state.frameSize = frameSizeOf(channels, header.bitratePerChannel(), header.samplingFrequency());
    error = layer2.setup(header);
    if (error.empty() && synthesis.configure(1, 1, channels, channels, 16, error)) {
        synthesis.reset();
        pcm.resize(static_cast<std::size_t>(synthesis.frameBytes()));
    }
}

std::uint32_t Layer2Rig::decode() {
    if (!error.empty() || pcm.empty()) {
        return 0;
    }
    FrameContext context{stream, state, synthesis};
    return layer2.decodeFrame(context, pcm.data());
}

} // namespace quavera::test
