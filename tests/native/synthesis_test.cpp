// Synthesis filterbank: the formula tables, the optimised path against a
// plain double-precision model of the filter, and the edge cases of the
// cutoff, rounding, clipping and output formats.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <fstream>
#include <numbers>
#include <random>

#include "model_synthesis.h"
#include "kernels.h"
#include "standard_tables.h"
#include "synthesis.h"
#include "synthesis_tables.h"
#include "test_support.h"

namespace quavera {
namespace {

using test::ModelOptions;
using test::ModelSynthesis;

TEST(SynthesisTables, RecomputedFromTheirFormulas) {
    const SynthesisTables& t = synthesisTables();
    for (int i = 0; i < 64; ++i) {
        for (int k = 0; k < 32; ++k) {
            const double n = std::cos((16 + i) * (2 * k + 1) * std::numbers::pi / 64.0);
            EXPECT_NEAR(t.n[i][k], n, 1e-6) << i << "," << k;
        }
    }
    // The window against the standard's decimal coefficients D[i] (D' = 32768 D).
    std::ifstream d(test::standardTable("synth_window_D.txt"));
    ASSERT_TRUE(d);
    std::string line;
    int count = 0;
    while (std::getline(d, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        int i = 0;
        double value = 0;
        std::sscanf(line.c_str(), "%d %lf", &i, &value);
        EXPECT_NEAR(t.window[static_cast<std::size_t>(i)] / 32768.0, value, 1e-9) << i;
        ++count;
    }
    EXPECT_EQ(count, 512);
}

// Subband samples of varied shape: loud low bands, falling levels, slots
// whose upper bands are quiet (so the cutoff moves), a few near the 2^-13
// threshold, and some loud enough to clip.
void fillSubbands(float* s, std::mt19937& random, int frame) {
    std::normal_distribution<float> noise(0.0f, 1.0f);
    for (int slot = 0; slot < 36; ++slot) {
        const int top = static_cast<int>(random() % 33);
        const float level = frame % 5 == 4 ? 3.0f : 0.3f;
        for (int sb = 0; sb < 32; ++sb) {
            float value = sb < top ? level * noise(random) * std::pow(0.85f, static_cast<float>(sb)) : 0.0f;
            if (sb >= top && random() % 4 == 0) {
                value = std::ldexp(1.0f, -13 - static_cast<int>(random() % 2)) * (random() % 2 ? 1.0f : -1.0f);
            }
            s[32 * slot + sb] = value;
        }
    }
}

class SynthesisKernels : public ::testing::TestWithParam<Simd> {};

TEST_P(SynthesisKernels, WithinOneLsbOfThePlainModel) {
    if (!simdAvailable(GetParam())) {
        GTEST_SKIP() << "this processor lacks the instruction set";
    }
    std::mt19937 random(7);
    for (int divisor : {1, 2, 4}) {
        for (int quality : {1, 2, 3}) {
            for (int channels : {1, 2}) {
                for (int outputChannels : {1, 2}) {
                    if (channels == 1 && outputChannels == 2) {
                        continue;
                    }
                    for (int bits : {8, 16}) {
                        Synthesis synthesis;
                        std::string error;
                        ASSERT_TRUE(synthesis.configure(divisor, quality, channels, outputChannels, bits, error,
                                                        GetParam()));
                        synthesis.reset();
                        ModelSynthesis model(ModelOptions{divisor, 2 * quality, 15 - 2 * quality, true, channels, outputChannels, bits});
                        int worst = 0;
                        for (int frame = 0; frame < 6; ++frame) {
                            fillSubbands(synthesis.subbands(0), random, frame);
                            fillSubbands(synthesis.subbands(1), random, frame);
                            std::vector<std::uint8_t> got(static_cast<std::size_t>(synthesis.frameBytes()));
                            synthesis.synthesizeFrame(got.data());
                            const auto want = model.frame(synthesis.subbands(0), synthesis.subbands(1));
                            ASSERT_EQ(got.size(), want.size());
                            for (std::size_t i = 0; i < got.size(); i += bits / 8) {
                                const int a = bits == 16 ? static_cast<std::int16_t>(got[i] | got[i + 1] << 8) : got[i];
                                const int b = bits == 16 ? static_cast<std::int16_t>(want[i] | want[i + 1] << 8) : want[i];
                                worst = std::max(worst, std::abs(a - b));
                            }
                        }
                        EXPECT_LE(worst, 1) << "r" << divisor << " q" << quality << " ch" << channels << "->"
                                            << outputChannels << " " << bits << " bit";
                    }
                }
            }
        }
    }
}

const char* simdName(Simd simd) {
    return simd == Simd::Plain ? "Plain" : simd == Simd::Avx2 ? "Avx2" : "Avx512";
}

INSTANTIATE_TEST_SUITE_P(Synthesis, SynthesisKernels, ::testing::Values(Simd::Plain, Simd::Avx2, Simd::Avx512),
                         [](const auto& p) { return std::string(simdName(p.param)); });

// Every instruction set gives the very same bits as the plain build, in
// every output format, and writes exactly one frame of PCM.
TEST(SynthesisKernels, WiderInstructionSetsGiveThePlainBits) {
    int compared = 0;
    for (Simd simd : {Simd::Avx2, Simd::Avx512}) {
        if (!simdAvailable(simd)) {
            continue;
        }
        std::mt19937 random(11);
        for (int divisor : {1, 2, 4}) {
            for (int quality : {1, 2, 3}) {
                for (int channels : {1, 2}) {
                    for (int bits : {8, 16}) {
                        Synthesis plain;
                        Synthesis wide;
                        std::string error;
                        ASSERT_TRUE(plain.configure(divisor, quality, 2, channels, bits, error, Simd::Plain));
                        ASSERT_TRUE(wide.configure(divisor, quality, 2, channels, bits, error, simd));
                        plain.reset();
                        wide.reset();
                        for (int frame = 0; frame < 5; ++frame) {
                            for (int ch = 0; ch < 2; ++ch) {
                                fillSubbands(plain.subbands(ch), random, frame);
                                std::copy_n(plain.subbands(ch), 36 * 32, wide.subbands(ch));
                            }
                            const auto bytes = static_cast<std::size_t>(plain.frameBytes());
                            std::vector<std::uint8_t> a(bytes + 64, 0xEE);
                            std::vector<std::uint8_t> b(bytes + 64, 0xEE);
                            plain.synthesizeFrame(a.data());
                            wide.synthesizeFrame(b.data());
                            ASSERT_EQ(a, b) << simdName(simd) << " r" << divisor << " q" << quality << " "
                                            << channels << " ch " << bits << " bit, frame " << frame;
                            ASSERT_EQ(a[bytes], 0xEE) << "wrote past its frame";
                            ++compared;
                        }
                    }
                }
            }
        }
    }
    if (compared == 0) {
        GTEST_SKIP() << "this processor has no wider instruction set";
    }
}

TEST(Synthesis, CutoffDropsOnlyQuietPairsOnTheirBitPattern) {
    float s[32] = {};
    s[30] = 1.0f;
    EXPECT_EQ(activeSubbands(s, 1), 32);
    s[30] = 0.0f;
    s[31] = 1.0f; // a loud odd subband keeps its pair although the even one is quiet
    EXPECT_EQ(activeSubbands(s, 1), 32);
    s[31] = std::nextafter(std::ldexp(1.0f, -13), 0.0f);
    EXPECT_EQ(activeSubbands(s, 1), 2) << "both below 2^-13: the pair goes";
    s[31] = 0.0f;
    s[29] = 1.0f;
    EXPECT_EQ(activeSubbands(s, 1), 30);
    s[29] = 0.0f;
    s[30] = std::ldexp(1.0f, -13); // exactly the threshold counts
    EXPECT_EQ(activeSubbands(s, 1), 32);
    s[30] = -std::nextafter(std::ldexp(1.0f, -13), 0.0f);
    EXPECT_EQ(activeSubbands(s, 1), 2);
    s[30] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(activeSubbands(s, 1), 32);
    s[30] = 0.0f;
    s[10] = 0.5f;
    EXPECT_EQ(activeSubbands(s, 1), 12);
    EXPECT_EQ(activeSubbands(s, 2), 12);
    EXPECT_EQ(activeSubbands(s, 4), 2); // starts at 6: subband 10 is never used at r = 4
    s[14] = 1.0f;
    EXPECT_EQ(activeSubbands(s, 2), 16);
}

TEST(Synthesis, SilenceWritesZeroAndMidScale) {
    for (int bits : {8, 16}) {
        Synthesis synthesis;
        std::string error;
        ASSERT_TRUE(synthesis.configure(1, 1, 2, 2, bits, error));
        synthesis.reset();
        std::vector<std::uint8_t> pcm(static_cast<std::size_t>(synthesis.frameBytes()), 0x55);
        synthesis.synthesizeFrame(pcm.data());
        for (std::uint8_t b : pcm) {
            ASSERT_EQ(b, bits == 16 ? 0x00 : 0x80);
        }
    }
}

TEST(Synthesis, FullScaleClipsToPlusMinus32767AndNeverMinus32768) {
    Synthesis synthesis;
    std::string error;
    ASSERT_TRUE(synthesis.configure(1, 1, 1, 1, 16, error));
    synthesis.reset();
    int top = 0;
    int bottom = 0;
    for (int frame = 0; frame < 4; ++frame) {
        for (int slot = 0; slot < 36; ++slot) {
            for (int sb = 0; sb < 32; ++sb) {
                synthesis.subbands(0)[32 * slot + sb] = (slot + frame) % 2 == 0 ? 8.0f : -8.0f;
            }
        }
        std::vector<std::uint8_t> pcm(static_cast<std::size_t>(synthesis.frameBytes()));
        synthesis.synthesizeFrame(pcm.data());
        for (std::size_t i = 0; i < pcm.size(); i += 2) {
            const int sample = static_cast<std::int16_t>(pcm[i] | pcm[i + 1] << 8);
            ASSERT_NE(sample, -32768);
            top += sample == 32767;
            bottom += sample == -32767;
        }
    }
    EXPECT_GT(top, 0);
    EXPECT_GT(bottom, 0);
    EXPECT_EQ(toSample(1e9), 32767);
    EXPECT_EQ(toSample(-1e9), -32767);
    EXPECT_EQ(toSample(-32767.6), -32767);
    EXPECT_EQ(toSample(std::numeric_limits<double>::quiet_NaN()), -32767);
}

TEST(Synthesis, RoundsToNearestEvenAfterSinglePrecision) {
    EXPECT_EQ(toSample(2.5), 2);
    EXPECT_EQ(toSample(3.5), 4);
    EXPECT_EQ(toSample(-2.5), -2);
    EXPECT_EQ(toSample(2.4999999), 2);
    // Rounds to single precision first: just below x.5 in double becomes x.5.
    EXPECT_EQ(toSample(2.5 - 1e-12), 2);
    EXPECT_EQ(toSample(3.5 - 1e-12), 4);
}

TEST(Synthesis, EightBitSamplesDropTheLowByte) {
    EXPECT_EQ(toUnsigned8(255), 0x80);
    EXPECT_EQ(toUnsigned8(256), 0x81);
    EXPECT_EQ(toUnsigned8(-1), 0x7F);
    EXPECT_EQ(toUnsigned8(-256), 0x7F);
    EXPECT_EQ(toUnsigned8(-257), 0x7E);
    EXPECT_EQ(toUnsigned8(32767), 0xFF);
    EXPECT_EQ(toUnsigned8(-32767), 0x00);
}

TEST(Synthesis, BytesPerFrameByDivisorChannelsAndWidth) {
    struct Case {
        int divisor, channels, bits, slotBytes;
    };
    for (const Case c : {Case{1, 2, 16, 128}, Case{2, 2, 16, 64}, Case{4, 2, 16, 32}, Case{1, 1, 16, 64},
                         Case{2, 1, 16, 32}, Case{1, 2, 8, 64}, Case{4, 1, 8, 8}}) {
        Synthesis synthesis;
        std::string error;
        ASSERT_TRUE(synthesis.configure(c.divisor, 1, 2, c.channels, c.bits, error));
        synthesis.reset();
        EXPECT_EQ(synthesis.frameBytes(), 36 * c.slotBytes);
        std::vector<std::uint8_t> out(36 * c.slotBytes + 64, 0xEE);
        synthesis.synthesizeFrame(out.data());
        EXPECT_NE(out[36 * c.slotBytes - 1], 0xEE) << "left the end of its frame unwritten";
        EXPECT_EQ(out[36 * c.slotBytes], 0xEE) << "wrote past its frame";
    }
    Synthesis synthesis;
    std::string error;
    EXPECT_FALSE(synthesis.configure(3, 1, 2, 2, 16, error));
    EXPECT_EQ(error, "Illegal playback configuration: 3 FrequencyDivisor");
    EXPECT_FALSE(synthesis.configure(1, 1, 2, 3, 16, error));
    EXPECT_EQ(error, "Wrong number of playback channels (3)!");
    EXPECT_FALSE(synthesis.configure(1, 1, 2, 2, 12, error));
    EXPECT_EQ(error, "Wrong number of sample bits (12)!");
}

} // namespace
} // namespace quavera
