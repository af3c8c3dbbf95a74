#pragma once
// Finding and checking the next frame header, shared by both layers.
#include "bitstream.h"
#include "frame_header.h"
#include "stream_state.h"

namespace quavera {

// Leaves the reader after the header (and its CRC word), with the rest of the
// frame and the word the reader loads at its end buffered. False at the end of
// the stream: input exhausted, no matching header within four frame sizes,
// or a change between single-channel and two-channel mode.
bool syncFrame(BitStream& stream, StreamState& state, FrameHeader& header);

} // namespace quavera
