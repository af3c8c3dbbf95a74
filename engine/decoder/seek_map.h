#pragma once
// Where to read from to hear a given frame of a stream that begins with a
// trusted information frame. Exactly, through the frame index, when the
// source may be walked; otherwise through the seek table (interpolated), or
// the byte count without one.
#include <cstdint>
#include <optional>

#include "frame_header.h"
#include "frame_index.h"
#include "info_frame.h"
#include "input_source.h"

namespace quavera {

struct SeekTarget {
    std::int32_t position = 0; // source position to read from
    std::uint32_t frame = 0;   // the audio frame (0-based) heard first
    std::uint32_t preroll = 0; // frames before it that are decoded but not heard
    std::int32_t frameStart = 0; // where the frame heard first starts, when exact
    bool exact = false;        // false: frame is the table's estimate of what is heard first
};

class SeekMap {
public:
    // infoPosition: the information frame's source position; the audio
    // frames follow it and end at audioEnd (0 when unknown). walk: the source
    // may be read through to find frames (a local file, not a network stream).
    void reset(const InfoFrame& info, FrameHeader first, std::int32_t infoPosition, std::int64_t audioEnd, bool walk);
    SeekTarget locate(InputSource& source, std::uint32_t frame);
    // The frame that starts at a source position, among those found so far.
    std::optional<std::uint32_t> frameAt(std::int32_t position) const { return index_.frameAt(position); }

private:
    SeekTarget estimate(std::uint32_t frame) const;
    // Frames to decode before frame so that its main data, which may begin
    // in the frames before it, and the filterbanks' history are complete.
    std::uint32_t prerollBefore(std::uint32_t frame) const;

    InfoFrame info_;
    FrameHeader header_;
    std::int32_t infoPosition_ = 0;
    std::int32_t firstAudio_ = 0;
    std::int64_t bytes_ = 0;
    bool walk_ = false;
    FrameIndex index_;
};

} // namespace quavera
