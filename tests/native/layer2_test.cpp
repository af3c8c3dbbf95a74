// Layer II frames built bit by bit: joint stereo sharing, scale factors,
// frame search between frames, stream ends, table choice, output sizes and
// reads past the end of a frame.
#include <gtest/gtest.h>

#include <cmath>

#include "decoder.h"
#include "layer_rig.h"

namespace quavera::test {
namespace {

// 48 kHz, 128 kbit/s: 64 per channel, Table 3-B.2a (27 subbands; 4 allocation
// bits in subbands 0..10, 3 in 11..22, 2 in 23..26).
HeaderFields jointStereo48() {
    HeaderFields h;
    h.frequencyIndex = 1;
    h.bitrateIndex = 8;
    h.mode = 1;
    h.modeExtension = 0;
    return h;
}

int nbal2a(int sb) {
    return sb < 11 ? 4 : sb < 23 ? 3 : 2;
}

// Requantised value of a three-step code: 0 -> -2/3, 1 -> 0, 2 -> +2/3.
constexpr float kTwoThirds = 0.6666667f;

TEST(Layer2, JointStereoSharesAllocationAndSamplesFromTheBoundUp) {
    const HeaderFields h = jointStereo48();
    const Bytes frame = layer2Frame(h, [](BitWriter& w) {
        for (int sb = 0; sb < 27; ++sb) {
            if (sb < 4) { // below the bound: one field per channel
                w.put(sb == 1 ? 1 : 0, nbal2a(sb));
                w.put(0, nbal2a(sb));
            } else {
                w.put(sb == 5 ? 1 : 0, nbal2a(sb));
            }
        }
        w.put(2, 2); // scfsi sb 1 ch 0
        w.put(2, 2); // sb 5 ch 0
        w.put(2, 2); // sb 5 ch 1
        w.put(0, 6); // sb 1 ch 0: 2.0
        w.put(0, 6); // sb 5 ch 0: 2.0
        w.put(3, 6); // sb 5 ch 1: 1.0
        for (int g = 0; g < 12; ++g) {
            w.put(2 + 0 * 3 + 2 * 9, 5); // sb 1 ch 0: +, -, +
            w.put(2 + 0 * 3 + 2 * 9, 5); // sb 5, read once for both channels
        }
    });
    Layer2Rig rig(repeat(frame, 2));
    ASSERT_EQ(rig.error, "");
    ASSERT_EQ(rig.decode(), 1u);
    for (int slot = 0; slot < 36; ++slot) {
        const float sign = slot % 3 == 1 ? -1.0f : 1.0f;
        EXPECT_NEAR(rig.sample(0, slot, 1), sign * 2 * kTwoThirds, 1e-5f) << slot;
        EXPECT_EQ(rig.sample(1, slot, 1), 0.0f);
        EXPECT_NEAR(rig.sample(0, slot, 5), sign * 2 * kTwoThirds, 1e-5f);
        EXPECT_NEAR(rig.sample(1, slot, 5), sign * kTwoThirds, 1e-5f);
        for (int sb : {0, 2, 3, 4, 6, 26, 27, 31}) {
            EXPECT_EQ(rig.sample(0, slot, sb), 0.0f);
            EXPECT_EQ(rig.sample(1, slot, sb), 0.0f);
        }
    }
}

TEST(Layer2, ScaleFactorSelectionAndIndex63) {
    HeaderFields h;
    h.frequencyIndex = 1;
    h.bitrateIndex = 4; // 64 kbit/s single channel: Table 3-B.2a
    h.mode = 3;
    h.crc = true;
    const int scfsi[4] = {0, 1, 2, 3};
    const Bytes frame = layer2Frame(h, [&](BitWriter& w) {
        for (int sb = 0; sb < 27; ++sb) {
            w.put(sb < 5 ? 1 : 0, nbal2a(sb));
        }
        for (int sb = 0; sb < 5; ++sb) {
            w.put(static_cast<std::uint32_t>(sb < 4 ? scfsi[sb] : 2), 2);
        }
        w.put(0, 6); // sb 0 (scfsi 0): parts 2.0, 1.0, 0.5
        w.put(3, 6);
        w.put(6, 6);
        w.put(0, 6); // sb 1 (scfsi 1): 2.0 for parts 0 and 1, 0.5 for part 2
        w.put(6, 6);
        w.put(3, 6); // sb 2 (scfsi 2): 1.0 for all
        w.put(0, 6); // sb 3 (scfsi 3): 2.0 for part 0, 0.5 for parts 1 and 2
        w.put(6, 6);
        w.put(63, 6); // sb 4: the index the standard does not allow
        for (int g = 0; g < 12; ++g) {
            for (int sb = 0; sb < 5; ++sb) {
                w.put(2 + 2 * 3 + 2 * 9, 5); // all +
            }
        }
    });
    Layer2Rig rig(frame);
    ASSERT_EQ(rig.decode(), 1u);
    const float expected[4][3] = {{2.0f, 1.0f, 0.5f}, {2.0f, 2.0f, 0.5f}, {1.0f, 1.0f, 1.0f}, {2.0f, 0.5f, 0.5f}};
    for (int slot = 0; slot < 36; ++slot) {
        const int part = slot / 12;
        for (int sb = 0; sb < 4; ++sb) {
            EXPECT_NEAR(rig.sample(0, slot, sb), expected[sb][part] * kTwoThirds, 1e-5f) << sb << " " << slot;
        }
        EXPECT_EQ(rig.sample(0, slot, 4), 0.0f);
    }
}

TEST(Layer2, RequantisationOfPlainAndGroupedClasses) {
    HeaderFields h;
    h.frequencyIndex = 1;
    h.bitrateIndex = 4;
    h.mode = 3;
    // Subband 0 of Table 3-B.2a: allocation 2 is 7 steps (3 bits), 15 is 65535
    // steps (16 bits); subband 3: allocation 2 is 5 steps, 4 is 9 steps (grouped).
    const Bytes frame = layer2Frame(h, [&](BitWriter& w) {
        const int allocation[27] = {2, 15, 0, 2, 4};
        for (int sb = 0; sb < 27; ++sb) {
            w.put(static_cast<std::uint32_t>(allocation[sb]), nbal2a(sb));
        }
        for (int sb : {0, 1, 3, 4}) {
            (void)sb;
            w.put(2, 2);
        }
        for (int sb : {0, 1, 3, 4}) {
            (void)sb;
            w.put(3, 6); // 1.0
        }
        for (int g = 0; g < 12; ++g) {
            w.put(0, 3); // sb 0, 7 steps: 0, 3, 6
            w.put(3, 3);
            w.put(6, 3);
            w.put(0xFFFF, 16); // sb 1, 16 bits: the top value, then the bottom two
            w.put(0, 16);
            w.put(0x8000, 16);
            w.put(4 + 1 * 5 + 2 * 25, 7); // sb 3, 5 steps: 4, 1, 2
            w.put(8 + 0 * 9 + 4 * 81, 10); // sb 4, 9 steps: 8, 0, 4
        }
    });
    Layer2Rig rig(frame);
    ASSERT_EQ(rig.decode(), 1u);
    // C (s / 2^(nb-1) - 1 + D) with the top bit of s inverted.
    const float want[4][3] = {
        {8.0f / 7 * (-1.0f + 0.25f), 8.0f / 7 * (-0.25f + 0.25f), 8.0f / 7 * (0.5f + 0.25f)},
        {65536.0f / 65535 * (32767.0f / 32768 + 1.0f / 32768), 65536.0f / 65535 * (-1.0f + 1.0f / 32768),
         65536.0f / 65535 * (1.0f / 32768)},
        {1.6f * (0.0f + 0.5f), 1.6f * (-0.75f + 0.5f), 1.6f * (-0.5f + 0.5f)},
        {16.0f / 9 * (0.0f + 0.5f), 16.0f / 9 * (-1.0f + 0.5f), 16.0f / 9 * (-0.5f + 0.5f)},
    };
    const int subbands[4] = {0, 1, 3, 4};
    for (int i = 0; i < 4; ++i) {
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(rig.sample(0, 33 + k, subbands[i]), want[i][k], 1e-6f) << subbands[i] << " " << k;
        }
    }
}

HeaderFields stereo128() {
    HeaderFields h;
    h.bitrateIndex = 8; // 44.1 kHz: F = 418.96
    return h;
}

struct Decoded {
    int frames = 0;
    std::vector<std::uint8_t> pcm;
};

Decoded decodeAll(Bytes data, OutputConfig config = {1, 1, 2, 16}) {
    MemorySource source(std::move(data));
    Decoder decoder;
    decoder.bind(&source);
    decoder.openInput("x");
    Decoded d;
    if (!decoder.openStream(config)) {
        d.frames = -1;
        return d;
    }
    const auto block = static_cast<std::size_t>(decoder.info().pcmBlockSize);
    std::vector<std::uint8_t> out(block + 64, 0xEE);
    while (decoder.decodeFrame(out.data()) != 0 && d.frames < 10000) {
        EXPECT_EQ(out[block], 0xEE) << "wrote more than one frame";
        d.pcm.insert(d.pcm.end(), out.begin(), out.begin() + static_cast<std::ptrdiff_t>(block));
        ++d.frames;
    }
    return d;
}

TEST(Layer2, GarbageBetweenFramesIsSkippedWithinFourFrameSizes) {
    const Bytes frame = simpleLayer2Frame(stereo128(), 8, 10);
    const Bytes garbage(1200, 0x55); // the search starts where the frame's data ends
    EXPECT_EQ(decodeAll(concat({frame, frame, garbage, frame, frame})).frames, 4);
    const Bytes tooMuch(1800, 0x55);
    EXPECT_EQ(decodeAll(concat({frame, frame, tooMuch, frame, frame})).frames, 2);
}

TEST(Layer2, HeaderDifferingInStreamFieldsIsNotAFrame) {
    const Bytes frame = simpleLayer2Frame(stereo128(), 8, 10);
    using Field = int HeaderFields::*;
    for (Field field : {&HeaderFields::privateBit, &HeaderFields::copyright, &HeaderFields::original,
                        &HeaderFields::emphasis, &HeaderFields::frequencyIndex}) {
        HeaderFields odd = stereo128();
        odd.*field = 1;
        EXPECT_EQ(decodeAll(concat({frame, frame, simpleLayer2Frame(odd, 8, 10), frame})).frames, 3);
    }
    // Padding and mode extension may change from frame to frame.
    HeaderFields padded = stereo128();
    padded.padding = 1;
    EXPECT_EQ(decodeAll(concat({frame, simpleLayer2Frame(padded, 8, 10), frame})).frames, 3);
}

TEST(Layer2, SwitchFromStereoToSingleChannelEndsTheStream) {
    HeaderFields mono = stereo128();
    mono.mode = 3;
    mono.bitrateIndex = 5;
    EXPECT_EQ(decodeAll(concat({repeat(simpleLayer2Frame(stereo128(), 8, 10), 4), repeat(simpleLayer2Frame(mono, 8, 10), 4)}))
                  .frames,
              4);
}

TEST(Layer2, TruncatedLastFrameIsFinishedOnZeros) {
    Bytes data = repeat(simpleLayer2Frame(stereo128(), 20, 5), 10);
    data.erase(data.end() - 200, data.end());
    EXPECT_EQ(decodeAll(data).frames, 10);
}

TEST(Layer2, AllocationBeyondTheFrameNeverReadsOutsideTheBuffer) {
    // Every subband at the widest class with three scale factors: far more
    // data than a 32 kbit/s frame holds, so each frame reads on into the next.
    HeaderFields h;
    h.frequencyIndex = 1;
    h.bitrateIndex = 1; // 32 kbit/s single channel: Table 3-B.2c, F = 97
    h.mode = 3;
    const Bytes greedy = layer2Frame(h, [](BitWriter& w) {
        for (int sb = 0; sb < 8; ++sb) {
            w.put(sb < 2 ? 15 : 7, sb < 2 ? 4 : 3);
        }
    });
    for (int frames : {1, 3, 200}) {
        const Decoded d = decodeAll(repeat(greedy, frames));
        EXPECT_GE(d.frames, 1);
        EXPECT_LE(d.frames, frames);
    }
}

TEST(Layer2, OutputSizesFollowDivisorChannelsAndWidth) {
    const Bytes stereo = repeat(simpleLayer2Frame(stereo128(), 20, 5), 6);
    struct Case {
        OutputConfig config;
        std::size_t frameBytes;
    };
    for (const Case& c : {Case{{1, 1, 2, 16}, 4608}, Case{{2, 1, 2, 16}, 2304}, Case{{4, 1, 2, 16}, 1152},
                          Case{{1, 2, 1, 16}, 2304}, Case{{1, 3, 2, 8}, 2304}, Case{{4, 1, 1, 8}, 288}}) {
        const Decoded d = decodeAll(stereo, c.config);
        EXPECT_EQ(d.frames, 6);
        EXPECT_EQ(d.pcm.size(), 6 * c.frameBytes);
    }
    // A single-channel stream configured for stereo plays one channel.
    HeaderFields mono = stereo128();
    mono.mode = 3;
    mono.bitrateIndex = 5;
    const Decoded d = decodeAll(repeat(simpleLayer2Frame(mono, 20, 5), 3), {1, 1, 2, 16});
    EXPECT_EQ(d.pcm.size(), 3 * 2304u);
}

TEST(Layer2, MonoOutputOfAStereoStreamIsItsLeftChannel) {
    const Decoded stereo = decodeAll(repeat(simpleLayer2Frame(stereo128(), 20, 5), 3), {1, 1, 2, 16});
    const Decoded mono = decodeAll(repeat(simpleLayer2Frame(stereo128(), 20, 5), 3), {1, 1, 1, 16});
    ASSERT_EQ(mono.pcm.size() * 2, stereo.pcm.size());
    for (std::size_t i = 0; i < mono.pcm.size(); i += 2) {
        ASSERT_EQ(mono.pcm[i], stereo.pcm[2 * i]);
        ASSERT_EQ(mono.pcm[i + 1], stereo.pcm[2 * i + 1]);
    }
}

TEST(Layer2, CrcWordIsSkipped) {
    HeaderFields withCrc = stereo128();
    withCrc.crc = true;
    const Decoded plain = decodeAll(repeat(simpleLayer2Frame(stereo128(), 20, 5), 3));
    const Decoded crc = decodeAll(repeat(simpleLayer2Frame(withCrc, 20, 5), 3));
    EXPECT_EQ(crc.frames, 3);
    EXPECT_EQ(crc.pcm, plain.pcm);
}

TEST(Layer2, SeekResetsTheFilter) {
    const Bytes data =
        concat({repeat(simpleLayer2Frame(stereo128(), 20, 0), 10), repeat(simpleLayer2Frame(stereo128(), 0, 0), 10)});
    MemorySource source(data);
    Decoder decoder;
    decoder.bind(&source);
    decoder.openInput("x");
    ASSERT_TRUE(decoder.openStream({1, 1, 2, 16}));
    std::vector<std::uint8_t> block(4608);
    for (int i = 0; i < 9; ++i) {
        ASSERT_NE(decoder.decodeFrame(block.data()), 0u);
    }
    ASSERT_TRUE(std::any_of(block.begin(), block.end(), [](std::uint8_t b) { return b != 0; }));
    // 314 ms at 128 kbit/s is byte 5024, inside frame 12; decoding goes on at frame 13.
    ASSERT_TRUE(decoder.requestSeek(314));
    EXPECT_FALSE(decoder.requestSeek(0)) << "a second request while one is pending";
    EXPECT_EQ(decoder.decodeFrame(block.data()), 11u);
    EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](std::uint8_t b) { return b == 0; }));
    EXPECT_TRUE(decoder.requestSeek(0));
}

TEST(Layer2, AllocationTableByBitrateAndSamplingFrequency) {
    using namespace tables;
    const auto table = [](int version, int kbps, int fs) { return chooseAllocTable(version, kbps, fs); };
    for (int kbps : {32, 48}) {
        EXPECT_EQ(table(1, kbps, 48000), &kAllocTables[kTable2c]);
        EXPECT_EQ(table(1, kbps, 44100), &kAllocTables[kTable2c]);
        EXPECT_EQ(table(1, kbps, 32000), &kAllocTables[kTable2d]);
    }
    for (int kbps : {56, 64, 80}) {
        for (int fs : {48000, 44100, 32000}) {
            EXPECT_EQ(table(1, kbps, fs), &kAllocTables[kTable2a]);
        }
    }
    for (int kbps : {96, 112, 128, 160, 192}) { // 192 per channel: a 384 kbit/s stereo stream
        EXPECT_EQ(table(1, kbps, 48000), &kAllocTables[kTable2a]);
        EXPECT_EQ(table(1, kbps, 44100), &kAllocTables[kTable2b]);
        EXPECT_EQ(table(1, kbps, 32000), &kAllocTables[kTable2b]);
    }
    for (int kbps : {0, 8, 24, 40, 224, 256, 320, 384}) {
        EXPECT_EQ(table(1, kbps, 44100), nullptr) << kbps;
    }
    EXPECT_EQ(table(2, 8, 22050), &kAllocTables[kTableLsf]);
    EXPECT_EQ(table(2, 160, 16000), &kAllocTables[kTableLsf]);
    EXPECT_EQ(table(2, 0, 16000), nullptr);
}

} // namespace
} // namespace quavera::test
