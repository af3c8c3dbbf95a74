#pragma once
// Layer III scale factors: the scale-factor bands of a sampling frequency and
// the scale factors of one granule and channel, by the MPEG-1 rules (with
// reuse between granules) or those of the lower sampling frequencies.
#include <array>
#include <cstdint>

#include "bitstream.h"
#include "frame_header.h"
#include "layer3_sideinfo.h"

namespace quavera {

struct BandLayout {
    const std::int16_t* longBands;  // first line of long bands 0..21, then 576
    const std::int16_t* shortBands; // first line of short bands 0..12 in a window, then 192
    int mixedLongBands;             // long bands below line 36 (the long part of a mixed block)
};

BandLayout bandLayout(FrameHeader header);

struct ScaleFactors {
    std::array<std::uint8_t, 22> l{};                // long band 0..21 (21 has none)
    std::array<std::array<std::uint8_t, 3>, 13> s{}; // short band 0..12 (12 has none), window
    bool preflag = false;
    // Lower sampling frequencies, channel of intensity stereo: the scale
    // factor's largest value per band, which marks a position as illegal.
    std::array<std::uint8_t, 22> lMax{};
    std::array<std::uint8_t, 13> sMax{};
    unsigned intensityScale = 0;
};

// MPEG-1: where scfsi is set for a band group, granule 1 keeps the values
// granule 0 left in sf.
void readScaleFactorsMpeg1(BitReader& reader, const GranuleInfo& g, const unsigned* scfsi, int granule,
                           ScaleFactors& sf);

// Lower sampling frequencies; intensityChannel is set for the right channel
// of a frame with intensity stereo.
void readScaleFactorsLsf(BitReader& reader, const GranuleInfo& g, bool intensityChannel, const BandLayout& bands,
                         ScaleFactors& sf);

} // namespace quavera
