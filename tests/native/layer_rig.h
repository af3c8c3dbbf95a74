#pragma once
// A Layer II decoder driven frame by frame outside the Decoder, so that tests
// can read the subband samples of each frame.
#include <string>

#include "bitstream.h"
#include "layer2.h"
#include "synthesis.h"
#include "test_support.h"

namespace quavera::test {

struct Layer2Rig {
    explicit Layer2Rig(Bytes data);
    // The frame counter, or 0 at the end of the stream.
    std::uint32_t decode();
    float sample(int channel, int slot, int subband) { return synthesis.subbands(channel)[32 * slot + subband]; }

    MemorySource source;
    BitStream stream{16384, 1152};
    StreamState state;
    Synthesis synthesis;
    Layer2Decoder layer2;
    int channels = 0;
    std::string error;
    Bytes pcm;
};

} // namespace quavera::test
