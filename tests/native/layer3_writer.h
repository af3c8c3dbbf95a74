#pragma once
// Synthetic Layer III frames: header, side information and main data written
// bit by bit, for tests that need exact control of every field.
#include <string>

#include "layer3_sideinfo.h"
#include "test_support.h"

namespace quavera::test {

struct Layer3Frame {
    HeaderFields header; // layer is set to 3
    SideInfo side;
    Bytes mainData; // this frame's main-data slots, zero-padded (or cut) to their count
};

// Frame length in bytes: 144000 (MPEG-1) or 72000 (lower sampling
// frequencies) times the bitrate over the sampling frequency, plus padding.
std::size_t layer3FrameBytes(const HeaderFields& h);

Bytes layer3Frame(Layer3Frame frame);

// A long-block granule whose main data is data (part2_3_length from its bit
// count): big values with table_select[0] = table for all regions.
GranuleInfo longGranule(const BitWriter& data, unsigned bigValues, unsigned table, unsigned globalGain = 210);

} // namespace quavera::test
