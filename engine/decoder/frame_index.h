#pragma once
// Where each frame of a file starts, found by walking the frame headers from
// the first audio frame on, so that a time maps to the exact frame that holds
// it. The walk goes only as far as a seek needs, and what it found stays for
// the next seek.
#include <cstdint>
#include <optional>
#include <vector>

#include "frame_header.h"
#include "input_source.h"

namespace quavera {

class FrameIndex {
public:
    // A new file: its first audio frame starts at source position first, the
    // frames share the header fields of reference (FrameHeader::kStreamMask)
    // and its audio ends at audioEnd.
    void reset(std::int32_t first, FrameHeader reference, std::int64_t audioEnd);

    // The source position where frame `frame` (0-based) starts, walking on
    // through the source as far as needed; empty when the walk cannot get
    // there: the audio ends before, a header does not follow where the frame
    // before ends, or the source cannot be read. The source's position is
    // left anywhere.
    std::optional<std::int32_t> start(InputSource& source, std::uint32_t frame);
    // The frame that starts at position, among those found so far.
    std::optional<std::uint32_t> frameAt(std::int32_t position) const;
    // Bytes of a frame that start() has passed.
    std::int32_t bytes(std::uint32_t frame) const { return starts_[frame + 1] - starts_[frame]; }

private:
    bool walk(InputSource& source, std::uint32_t frame);

    std::vector<std::int32_t> starts_;
    std::uint32_t referenceBits_ = 0;
    int channels_ = 0;
    std::int64_t audioEnd_ = 0;
    bool blocked_ = true;
};

} // namespace quavera
