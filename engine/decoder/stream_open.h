#pragma once
// Finding the first frame of a stream: an ID3v2 tag at the very start is
// skipped by its declared size, then the first 12-bit sync word is searched.
#include <cstdint>
#include <string>

#include "bitstream.h"
#include "frame_header.h"
#include "id3v2_tag.h"

namespace quavera {

struct FirstFrame {
    FrameHeader header;
    std::int32_t audioStart = 0; // bytes of a leading tag
    std::int32_t position = 0;   // of the header, counted from audioStart
};

// From the start of the input. On success the reader stands on the header,
// so that the first frame call decodes this frame. On failure error holds the
// refusal, or stays empty when the input had no bytes at all.
bool findFirstFrame(BitStream& stream, FirstFrame& first, std::string& error);

} // namespace quavera
