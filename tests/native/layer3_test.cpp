// Layer III frames built bit by bit: the reservoir and its recovery paths,
// the two-frame calls of the lower sampling frequencies, requantisation,
// stereo processing, the hybrid filterbank and the upper subbands that are
// never synthesised.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>

#include "decoder.h"
#include "layer3_hybrid.h"
#include "layer3_requantise.h"
#include "layer3_stereo.h"
#include "layer3_writer.h"
#include "layer_rig.h"

namespace quavera::test {
namespace {

// 44.1 kHz single channel at 64 kbit/s: 208-byte frames, 187 bytes of main data.
HeaderFields mono44() {
    HeaderFields h;
    h.layer = 3;
    h.bitrateIndex = 5;
    h.mode = 3;
    return h;
}

// Table 1: (1, 0) is 01, then the sign of x.
void putOne(BitWriter& w, bool negative = false) {
    w.put(1, 2);
    w.put(negative ? 1u : 0u, 1);
}

// A single-channel MPEG-1 frame whose two granules put +1 on one line each
// (granule 0 on line0, granule 1 on line1), main_data_begin as given.
Bytes toneFrame(const HeaderFields& h, unsigned line0, unsigned line1, unsigned mainDataBegin = 0) {
    Layer3Frame f;
    f.header = h;
    f.side.mainDataBegin = mainDataBegin;
    BitWriter data;
    for (int gr = 0; gr < 2; ++gr) {
        const unsigned line = gr == 0 ? line0 : line1;
        const std::size_t start = data.bitCount();
        for (unsigned i = 0; i <= line / 2; ++i) {
            if (i == line / 2) {
                putOne(data);
            } else {
                data.put(1, 1); // (0, 0)
            }
        }
        GranuleInfo g = longGranule(data, line / 2 + 1, 1);
        g.part23Length = static_cast<unsigned>(data.bitCount() - start);
        f.side.granule[gr][0] = g;
    }
    f.mainData = data.bytes();
    return layer3Frame(f);
}

// A frame whose granules carry no data at all (silence).
Bytes silentFrame(const HeaderFields& h, unsigned mainDataBegin = 0) {
    Layer3Frame f;
    f.header = h;
    f.side.mainDataBegin = mainDataBegin;
    return layer3Frame(f);
}

struct Decode {
    explicit Decode(Bytes data) : source(std::move(data), "test.mp3") {
        decoder.bind(&source);
        decoder.openInput("test.mp3");
        ok = decoder.openStream({1, 1, 2, 16});
        block.resize(static_cast<std::size_t>(decoder.info().pcmBlockSize));
    }
    // The frame counter; the block is filled with 0x55 first.
    std::uint32_t next() {
        std::fill(block.begin(), block.end(), 0x55);
        return decoder.decodeFrame(block.data());
    }
    bool untouched() const {
        return std::all_of(block.begin(), block.end(), [](std::uint8_t b) { return b == 0x55; });
    }
    MemorySource source;
    Decoder decoder;
    bool ok = false;
    Bytes block;
};

TEST(Layer3, MainDataSlots) {
    HeaderFields h = mono44();
    EXPECT_EQ(mainDataSlots(FrameHeader::fromWord(headerWord(h))), 187);
    h.mode = 0;
    h.bitrateIndex = 9; // 128 kbit/s stereo: 417 - 32 - 4
    h.padding = 1;
    h.crc = true;
    EXPECT_EQ(mainDataSlots(FrameHeader::fromWord(headerWord(h))), 417 - 32 + 1 - 4 - 2);
    h.id = 0;
    h.bitrateIndex = 8; // 64 kbit/s at 22.05 kHz: 208 - 17 + 1 - 4 - 2
    h.padding = 1;
    EXPECT_EQ(mainDataSlots(FrameHeader::fromWord(headerWord(h))), 208 - 17 + 1 - 4 - 2);
}

TEST(Layer3, ReservoirCarriesMainDataAcrossFrames) {
    // Frame 1 leaves its data unread for frame 2, which begins 20 bytes back.
    Bytes first = silentFrame(mono44());
    const Bytes second = toneFrame(mono44(), 0, 0, 20);
    const Bytes tone = toneFrame(mono44(), 0, 0);
    // Move the second frame's main data into the last 20 bytes of the first.
    const std::size_t sideEnd = 4 + 17;
    std::copy(second.begin() + sideEnd, second.begin() + sideEnd + 20, first.end() - 20);
    Decode reference(concat({silentFrame(mono44()), tone}));
    Decode d(concat({first, second}));
    ASSERT_TRUE(d.ok && reference.ok);
    EXPECT_EQ(d.next(), 1u);
    reference.next();
    EXPECT_EQ(d.next(), 2u);
    reference.next();
    EXPECT_EQ(d.block, reference.block);
    EXPECT_FALSE(std::all_of(d.block.begin(), d.block.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(Layer3, FramesWithMissingMainDataWriteNoPcmAfterOpenAndSeek) {
    std::vector<Bytes> frames;
    for (int i = 0; i < 8; ++i) {
        frames.push_back(silentFrame(mono44(), 100));
    }
    Decode d(concat(frames));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.next(), 1u);
    EXPECT_TRUE(d.untouched()) << "the first frame reaches back before the stream";
    EXPECT_EQ(d.next(), 2u);
    EXPECT_FALSE(d.untouched());
    ASSERT_TRUE(d.decoder.requestSeek(104)); // 104 ms at 64 kbit/s: byte 832, the fifth frame
    EXPECT_EQ(d.next(), 3u);                 // 832 / 209.98 bytes per frame
    EXPECT_TRUE(d.untouched()) << "the reservoir is empty after a seek";
    EXPECT_EQ(d.next(), 4u);
    EXPECT_FALSE(d.untouched());
}

TEST(Layer3, DamagedFrameLengthCostsOneFrame) {
    HeaderFields freeFormat = mono44();
    freeFormat.bitrateIndex = 0; // no bitrate: no main data
    Bytes broken = silentFrame(mono44());
    broken.resize(4 + 17);
    const Bytes header = layer3Frame(Layer3Frame{freeFormat, {}, {}});
    std::copy(header.begin(), header.begin() + 21, broken.begin());
    Decode d(concat({silentFrame(mono44()), broken, toneFrame(mono44(), 4, 4), silentFrame(mono44())}));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.next(), 1u);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(d.next(), 2u);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "illegal nSlots\nresync\n");
    EXPECT_FALSE(std::all_of(d.block.begin(), d.block.end(), [](std::uint8_t b) { return b == 0; }))
        << "the frame after the damaged one is decoded in the same call";
}

TEST(Layer3, OverlongGranulesEmptyTheReservoir) {
    Layer3Frame f;
    f.header = mono44();
    f.side.granule[0][0].part23Length = 4095;
    f.side.granule[1][0].part23Length = 4095;
    Decode d(concat({layer3Frame(f), toneFrame(mono44(), 2, 2), silentFrame(mono44())}));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.next(), 1u);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(d.next(), 2u);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "error: bytes in buffer < 0\n");
    EXPECT_FALSE(d.untouched());
}

TEST(Layer3, BlockTypeZeroInASplitBlockIsReportedAndDecoded) {
    Layer3Frame f;
    f.header = mono44();
    f.side.granule[0][0].windowSwitching = true;
    f.side.granule[0][0].blockType = 0;
    Decode d(concat({layer3Frame(f), silentFrame(mono44())}));
    ASSERT_TRUE(d.ok);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(d.next(), 1u);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "Side info bad: block_type == 0 in split block.\n");
    EXPECT_FALSE(d.untouched());
    EXPECT_EQ(d.next(), 2u);
}

TEST(Layer3, LowerSamplingFrequencyCallDecodesTwoFrames) {
    HeaderFields h;
    h.id = 0;
    h.layer = 3;
    h.bitrateIndex = 8; // 64 kbit/s at 22.05 kHz
    h.mode = 3;
    const auto frame = [&](unsigned line) {
        Layer3Frame f;
        f.header = h;
        BitWriter data;
        for (unsigned i = 0; i < line / 2; ++i) {
            data.put(1, 1);
        }
        putOne(data);
        f.side.granule[0][0] = longGranule(data, line / 2 + 1, 1);
        f.mainData = data.bytes();
        return layer3Frame(f);
    };
    Layer3Rig rig(concat({frame(0), frame(18 * 5), frame(0), frame(0)}));
    ASSERT_EQ(rig.error, "");
    ASSERT_EQ(rig.decode(), 1u);
    float first = 0.0f;
    float second = 0.0f;
    for (int slot = 0; slot < 18; ++slot) {
        first += std::fabs(rig.sample(0, slot, 5));
        second += std::fabs(rig.sample(0, 18 + slot, 5));
    }
    EXPECT_EQ(first, 0.0f);
    EXPECT_GT(second, 0.1f);
    EXPECT_NE(rig.sample(0, 4, 0), 0.0f);
    EXPECT_EQ(rig.decode(), 2u);
    EXPECT_EQ(rig.decode(), 0u);
}

TEST(Layer3, UpperSubbandsAreNeverSynthesised) {
    // Every line of both granules at +1 (table 1, 288 pairs of (1, 0) and (0, 1)... as (1, 0)).
    HeaderFields h = mono44();
    h.bitrateIndex = 9; // 128 kbit/s: 396 bytes of main data
    Layer3Frame f;
    f.header = h;
    BitWriter data;
    for (int gr = 0; gr < 2; ++gr) {
        const std::size_t start = data.bitCount();
        for (int i = 0; i < 288; ++i) {
            putOne(data, i % 2 != 0);
        }
        f.side.granule[gr][0] = longGranule(data, 288, 1);
        f.side.granule[gr][0].part23Length = static_cast<unsigned>(data.bitCount() - start);
    }
    f.mainData = data.bytes();
    Layer3Rig rig(repeat(layer3Frame(f), 2));
    ASSERT_EQ(rig.error, "");
    ASSERT_EQ(rig.decode(), 1u);
    float upper = 0.0f;
    float lower = 0.0f;
    for (int slot = 0; slot < 36; ++slot) {
        for (int sb = 0; sb < 32; ++sb) {
            (sb < 24 ? lower : upper) += std::fabs(rig.sample(0, slot, sb));
        }
    }
    EXPECT_GT(lower, 1.0f);
    EXPECT_EQ(upper, 0.0f);
}

TEST(Layer3, RequantisationExponents) {
    const BandLayout bands = bandLayout(FrameHeader::fromWord(headerWord(mono44())));
    int q[576] = {};
    q[0] = 1;
    q[1] = -2;
    q[bands.longBands[11]] = 1;
    GranuleInfo g;
    g.globalGain = 210;
    ScaleFactors sf;
    sf.l[11] = 2;
    float xr[576];
    requantise(q, 576, g, sf, bands, xr);
    EXPECT_EQ(xr[0], 1.0f);
    EXPECT_FLOAT_EQ(xr[1], -std::pow(2.0f, 4.0f / 3.0f));
    EXPECT_FLOAT_EQ(xr[bands.longBands[11]], 0.5f); // 2^(-0.5 * 2)
    sf.preflag = true;                                // pretab[11] = 1
    g.scalefacScale = 1;
    g.globalGain = 214;
    requantise(q, 576, g, sf, bands, xr);
    EXPECT_FLOAT_EQ(xr[0], 2.0f);
    EXPECT_FLOAT_EQ(xr[bands.longBands[11]], 2.0f / 8.0f); // 2^(-(2 + 1))

    // Short blocks: band 1's window 2 with subblock gain 1 and scale factor 1.
    GranuleInfo s;
    s.windowSwitching = true;
    s.blockType = 2;
    s.globalGain = 210;
    s.subblockGain[2] = 1;
    ScaleFactors ssf;
    ssf.s[1][2] = 1;
    int qs[576] = {};
    const int line = 3 * bands.shortBands[1] + 2 * (bands.shortBands[2] - bands.shortBands[1]);
    qs[line] = 1;
    qs[line - 1] = 1; // window 1 of band 1
    requantise(qs, 576, s, ssf, bands, xr);
    EXPECT_FLOAT_EQ(xr[line], 0.25f * std::sqrt(0.5f));
    EXPECT_EQ(xr[line - 1], 1.0f);
}

TEST(Layer3, RequantisationIsExactForEveryMagnitude) {
    const BandLayout bands = bandLayout(FrameHeader::fromWord(headerWord(mono44())));
    GranuleInfo g;
    g.globalGain = 210; // a factor of 1 in every band
    const ScaleFactors sf;
    int worstLine = -1;
    double worst = 0;
    for (int first = 0; first <= 8206; first += 576) {
        int q[576];
        for (int i = 0; i < 576; ++i) {
            const int x = std::min(first + i, 8206);
            q[i] = i % 2 == 0 ? x : -x;
        }
        float xr[576];
        requantise(q, 576, g, sf, bands, xr);
        for (int i = 0; i < 576; ++i) {
            const double exact = std::copysign(std::pow(std::abs(q[i]), 4.0 / 3.0), q[i]);
            const double error = q[i] == 0 ? std::fabs(xr[i]) : std::fabs(xr[i] / exact - 1.0);
            if (error > worst) {
                worst = error;
                worstLine = q[i];
            }
        }
    }
    // Single-precision rounding only (half an ulp is 6e-8).
    EXPECT_LT(worst, 1e-7) << "at " << worstLine;
}

TEST(Layer3, StereoProcessing) {
    const BandLayout bands = bandLayout(FrameHeader::fromWord(headerWord(mono44())));
    GranuleInfo g;
    ScaleFactors sf;
    float left[576] = {};
    float right[576] = {};
    unsigned nonzero[2] = {2, 2};
    left[0] = 1.0f;
    right[0] = 0.5f;
    left[1] = 1.0f;
    processStereo(left, right, StereoMode{true, false, true}, g, sf, bands, nonzero);
    EXPECT_FLOAT_EQ(left[0], 1.5f / std::sqrt(2.0f));
    EXPECT_FLOAT_EQ(right[0], 0.5f / std::sqrt(2.0f));
    EXPECT_FLOAT_EQ(right[1], 1.0f / std::sqrt(2.0f));

    // Intensity above the right channel's last non-zero band (band 0 here).
    const auto at = [&](int sfb) { return static_cast<unsigned>(bands.longBands[sfb]); };
    std::fill(left, left + 576, 1.0f);
    std::fill(right, right + 576, 0.0f);
    right[0] = 1.0f;
    sf.l[1] = 0; // all to the right
    sf.l[2] = 6; // all to the left
    sf.l[3] = 7; // illegal: mid/side
    sf.l[4] = 3; // equal
    sf.l[20] = 6; // band 21 follows band 20
    nonzero[0] = nonzero[1] = 576;
    processStereo(left, right, StereoMode{true, true, true}, g, sf, bands, nonzero);
    EXPECT_FLOAT_EQ(left[0], std::sqrt(2.0f)); // band 0 is mid/side
    EXPECT_EQ(left[at(1)], 0.0f);
    EXPECT_EQ(right[at(1)], 1.0f);
    EXPECT_EQ(left[at(2)], 1.0f);
    EXPECT_EQ(right[at(2)], 0.0f);
    EXPECT_FLOAT_EQ(left[at(3)], 1.0f / std::sqrt(2.0f));
    EXPECT_FLOAT_EQ(right[at(3)], 1.0f / std::sqrt(2.0f));
    EXPECT_FLOAT_EQ(left[at(4)], 0.5f);
    EXPECT_FLOAT_EQ(right[at(4)], 0.5f);
    EXPECT_EQ(left[575], 1.0f);
    EXPECT_EQ(right[575], 0.0f);

    // Lower sampling frequencies: io = 2^-1/4, odd positions lower the left
    // channel, even ones the right; the largest value of the band is illegal.
    std::fill(left, left + 576, 1.0f);
    std::fill(right, right + 576, 0.0f);
    ScaleFactors lsf;
    lsf.lMax.fill(7);
    lsf.l[0] = 0;
    lsf.l[1] = 3;
    lsf.l[2] = 4;
    lsf.l[3] = 7;
    processStereo(left, right, StereoMode{false, true, false}, g, lsf, bands, nonzero);
    EXPECT_EQ(left[at(0)], 1.0f);
    EXPECT_EQ(right[at(0)], 1.0f);
    EXPECT_FLOAT_EQ(left[at(1)], std::pow(2.0f, -0.5f));
    EXPECT_EQ(right[at(1)], 1.0f);
    EXPECT_EQ(left[at(2)], 1.0f);
    EXPECT_FLOAT_EQ(right[at(2)], std::pow(2.0f, -0.5f));
    EXPECT_EQ(left[at(3)], 1.0f);
    EXPECT_EQ(right[at(3)], 0.0f);
}

TEST(Layer3, SilentGranuleOutputsOnlyTheDecayingOverlap) {
    const BandLayout bands = bandLayout(FrameHeader::fromWord(headerWord(mono44())));
    HybridFilter hybrid;
    hybrid.reset();
    float subbands[64 * 32] = {};
    float xr[576] = {};
    xr[3] = 1.0f;
    xr[18 + 5] = -0.5f;
    GranuleInfo g;
    hybrid.process(0, xr, 24, g, bands, subbands, 0);
    std::array<std::array<float, 18>, 2> overlap{hybrid.overlap(0, 0), hybrid.overlap(0, 1)};
    EXPECT_NE(overlap[1][4], 0.0f);
    std::fill(xr, xr + 576, 0.0f);
    hybrid.process(0, xr, 0, g, bands, subbands, 18);
    for (int i = 0; i < 18; ++i) {
        EXPECT_EQ(subbands[32 * (18 + i) + 0], overlap[0][i]) << i;
        // Odd subbands: every second output negated.
        EXPECT_EQ(subbands[32 * (18 + i) + 1], i % 2 != 0 ? -overlap[1][i] : overlap[1][i]) << i;
        EXPECT_EQ(subbands[32 * (18 + i) + 2], 0.0f) << i;
    }
    for (int sb = 0; sb < HybridFilter::kSubbands; ++sb) {
        for (float v : hybrid.overlap(0, sb)) {
            EXPECT_EQ(v, 0.0f) << sb;
        }
    }
}

// The IMDCT's wider builds give the plain build's bits, for every block type.
TEST(Layer3, HybridFilterKernelsAgree) {
    const BandLayout bands = bandLayout(FrameHeader::fromWord(headerWord(mono44())));
    int compared = 0;
    for (Simd simd : {Simd::Avx2, Simd::Avx512}) {
        if (!simdAvailable(simd)) {
            continue;
        }
        HybridFilter plain(Simd::Plain);
        HybridFilter wide(simd);
        plain.reset();
        wide.reset();
        std::uint32_t seed = 12345;
        float out[2][64 * 32] = {};
        for (int granule = 0; granule < 12; ++granule) {
            GranuleInfo g;
            g.windowSwitching = granule % 4 != 0;
            g.blockType = static_cast<unsigned>(granule % 4);
            g.mixedBlock = granule == 6;
            float xr[2][576];
            for (int i = 0; i < 576; ++i) {
                seed = seed * 1664525u + 1013904223u;
                // Granule 5 is silent; in 9 and 10 either half of every subband is.
                const bool silent = granule == 5 || (granule == 9 && i % 18 < 9) || (granule == 10 && i % 18 >= 9);
                xr[0][i] = silent ? 0.0f : static_cast<float>(static_cast<std::int32_t>(seed)) * 1e-9f;
            }
            std::copy(xr[0], xr[0] + 576, xr[1]);
            plain.process(0, xr[0], 576, g, bands, out[0], 18 * (granule % 2));
            wide.process(0, xr[1], 576, g, bands, out[1], 18 * (granule % 2));
            for (int i = 0; i < 36 * 32; ++i) {
                ASSERT_EQ(std::bit_cast<std::uint32_t>(out[0][i]), std::bit_cast<std::uint32_t>(out[1][i]))
                    << granule << " " << i;
            }
            ++compared;
        }
    }
    if (compared == 0) {
        GTEST_SKIP() << "this processor has no wider instruction set";
    }
}

// Damaged side information: no out-of-bounds access (the sanitizer trees
// check that), and the stream goes on to its end.
TEST(Layer3, DamagedSideInformationDecodesToTheEnd) {
    std::vector<Bytes> frames;
    const auto damaged = [&](auto change) {
        Layer3Frame f;
        f.header = mono44();
        f.mainData.assign(187, 0xA5);
        for (auto& granule : f.side.granule) {
            granule[0].part23Length = 1200;
            granule[0].bigValues = 200;
            granule[0].tableSelect[0] = 24;
            granule[0].tableSelect[1] = 13;
            granule[0].tableSelect[2] = 31;
            change(granule[0], f);
        }
        frames.push_back(layer3Frame(f));
    };
    damaged([](GranuleInfo& g, Layer3Frame&) { g.bigValues = 511; });
    damaged([](GranuleInfo& g, Layer3Frame&) { g.part23Length = 4095; });
    damaged([](GranuleInfo& g, Layer3Frame&) { g.region0Count = 15, g.region1Count = 7; });
    damaged([](GranuleInfo& g, Layer3Frame& f) { g.scalefacCompress = 15, f.side.scfsi[0][2] = 1; });
    damaged([](GranuleInfo& g, Layer3Frame&) { g.windowSwitching = true, g.blockType = 0; });
    damaged([](GranuleInfo& g, Layer3Frame&) { g.windowSwitching = true, g.blockType = 2, g.mixedBlock = true; });
    damaged([](GranuleInfo& g, Layer3Frame&) { g.windowSwitching = true, g.blockType = 2, g.subblockGain[1] = 7; });
    damaged([](GranuleInfo& g, Layer3Frame&) { g.globalGain = 255, g.scalefacScale = 1, g.preflag = true; });
    damaged([](GranuleInfo&, Layer3Frame& f) { f.side.mainDataBegin = 511; });
    frames.push_back(silentFrame(mono44()));
    Decode d(concat(frames));
    ASSERT_TRUE(d.ok);
    ::testing::internal::CaptureStdout();
    std::uint32_t decoded = 0;
    while (d.next() != 0) {
        ++decoded;
    }
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(decoded, frames.size());
}

TEST(Layer3, DamagedLowerSamplingFrequencyStereoDecodesToTheEnd) {
    HeaderFields h;
    h.id = 0;
    h.layer = 3;
    h.bitrateIndex = 14; // 160 kbit/s at 16 kHz
    h.frequencyIndex = 2;
    h.mode = 1;
    h.modeExtension = 3; // intensity and mid/side
    std::vector<Bytes> frames;
    for (unsigned sfc : {0u, 399u, 400u, 499u, 500u, 511u}) {
        for (bool shortBlocks : {false, true}) {
            Layer3Frame f;
            f.header = h;
            f.mainData.assign(600, 0x5A);
            for (auto& g : f.side.granule[0]) {
                g.part23Length = 1500;
                g.bigValues = 288;
                g.scalefacCompress = sfc;
                g.tableSelect[0] = g.tableSelect[1] = g.tableSelect[2] = 7;
                g.windowSwitching = shortBlocks;
                g.blockType = shortBlocks ? 2 : 0;
                g.mixedBlock = shortBlocks && sfc % 2 != 0;
            }
            frames.push_back(layer3Frame(f));
        }
    }
    Decode d(concat(frames));
    ASSERT_TRUE(d.ok);
    ::testing::internal::CaptureStdout();
    std::uint32_t calls = 0;
    while (d.next() != 0) {
        ++calls;
    }
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(calls, frames.size() / 2);
}

} // namespace
} // namespace quavera::test
