#pragma once
// Stream-wide values that the stream open sets and every frame call reads or
// moves on: the reference header, the frame-size estimate, the frame counter,
// a pending seek and what a list's move to its next file changed.
#include <cstdint>

#include "frame_header.h"

namespace quavera {

struct StreamState {
    std::uint32_t referenceBits = 0; // first header masked with FrameHeader::kStreamMask
    int layer = 0;
    int streamChannels = 0;
    int samplingFrequency = 0;
    FrameSize frameSize;
    std::uint32_t frameCounter = 1;
    std::uint32_t totalFrames = 0;
    // Bytes of a leading tag: audio positions count from its end.
    std::int32_t audioStart = 0;

    bool seekPending = false;
    std::int32_t seekOffset = 0;

    bool fileChanged = false;
    int currentBitratePerChannel = 0;

    std::uint32_t frameNumberAt(std::int64_t audioPosition) const {
        const double frames = static_cast<double>(audioPosition) / frameSize.exact;
        return frames >= 1.0 ? static_cast<std::uint32_t>(frames) : 1u;
    }
    std::uint32_t framesIn(std::int64_t audioBytes) const {
        const double frames = static_cast<double>(audioBytes) / frameSize.exact;
        return frames > 0.0 ? static_cast<std::uint32_t>(frames) : 0u;
    }
};

} // namespace quavera
