#pragma once
// Stream-wide values that the stream open sets and every frame call reads or
// moves on: the reference header, the frame-size estimate, the frame counter,
// a pending seek and what a list's move to its next file changed.
#include <cstdint>
#include <optional>

#include "frame_header.h"
#include "info_frame.h"

namespace quavera {

// How a list's next file begins, as the frame sync found it there.
struct FileStart {
    FrameHeader header;            // of its first frame
    std::optional<InfoFrame> info; // a trusted information frame, which was skipped
    std::int32_t infoPosition = 0; // where it starts in the file
    std::int64_t audioEnd = 0;     // where the file's tags at the end begin; 0: unknown
};

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
    // The files' tags at the end may be read (not a network stream).
    bool probeEnd = true;
    // Set by the frame sync when a list's next file begins, taken by the decoder.
    std::optional<FileStart> enteredFile;

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
