// Layer III accuracy against mpg123 on streams encoded at test time with
// lame, and against the conformance streams' references. Subbands 24 to 31
// are never synthesised, so both sides are low-passed at 23/32 of the
// Nyquist frequency before every comparison. Figures are printed for every
// stream.
//
// As for Layer II, the full-filter decode (the product's Layer III parsing
// into the standard's 16-tap filterbank without the cutoff) shows faults in
// tables, scale factors, stereo processing or block types at once, well
// above the floors of the product decode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "accuracy_support.h"
#include "low_pass.h"
#include "pcm_compare.h"

namespace quavera::test {
namespace {

// The product may lag by whole frames of 576 or 1152 samples (a conformance
// stream's first frames may reach back before its start; the encoder's
// information frame is played by none of the decoders). The lag (a multiple
// of 576 up to maxLag) is the one that fits best; then both signals are cut
// to their common length, so that the low-pass sees the same edges on both
// sides, filtered and compared.
PcmDifference compareLowPassed(PcmData test, PcmData reference, std::size_t maxLag) {
    const auto channels = static_cast<std::size_t>(std::max(test.channels, 1));
    std::size_t bestLag = 0;
    double bestSnr = -1e9;
    for (std::size_t lag = 0; lag <= maxLag && lag * channels < test.samples.size(); lag += 576) {
        PcmData shifted = test;
        shifted.samples.erase(shifted.samples.begin(), shifted.samples.begin() + static_cast<std::ptrdiff_t>(lag * channels));
        const PcmDifference d = comparePcm(shifted, reference, 0, SIZE_MAX);
        if (d.frames > 0 && d.snrDb > bestSnr) {
            bestSnr = d.snrDb;
            bestLag = lag;
        }
    }
    test.samples.erase(test.samples.begin(),
                       test.samples.begin() + static_cast<std::ptrdiff_t>(std::min(bestLag * channels, test.samples.size())));
    const std::size_t common = std::min(test.samples.size(), reference.samples.size());
    test.samples.resize(common);
    reference.samples.resize(common);
    PcmDifference d = comparePcm(lowPass(test, kLayer3CompareCutoff), lowPass(reference, kLayer3CompareCutoff), 0, SIZE_MAX);
    d.shift = -static_cast<long>(bestLag);
    return d;
}

// --- Streams encoded at test time ------------------------------------------

struct EncodedStream {
    const char* name;
    int rate;
    const char* options;            // lame
    const char* material = nullptr; // sox synth effects; by default tones, noise and clicks
};

// CBR from 32 to 320 kbit/s, VBR, joint (mid/side), plain stereo and mono,
// all six rates; the material's clicks make the encoder switch to short
// blocks. A loud bass tone quantises many lines to 512 and more.
const EncodedStream kStreams[] = {
    {"44k_joint_128", 44100, "-m j -b 128"},  {"44k_stereo_320", 44100, "-m s -b 320"},
    {"44k_joint_vbr0", 44100, "-m j -V 0"},   {"48k_stereo_192", 48000, "-m s -b 192"},
    {"48k_joint_vbr4", 48000, "-m j -V 4"},   {"32k_mono_32", 32000, "-m m -b 32"},
    {"32k_joint_256", 32000, "-m j -b 256"},  {"24k_joint_64", 24000, "-m j -b 64"},
    {"22k_mono_vbr2", 22050, "-m m -V 2"},    {"16k_stereo_32", 16000, "-m s -b 32"},
    {"16k_joint_160", 16000, "-m j -b 160"},  {"44k_bass_320", 44100, "-m j -b 320", "synth 3 sine 30 gain -3"},
};

void PrintTo(const EncodedStream& s, std::ostream* os) {
    *os << s.name;
}

using Layer3EncodedAccuracy = EncodedStreams<EncodedStream>;

// The full filter against the reference: what stays is the 16-bit rounding
// of both decodes and the reference's upper band leaking through the filter.
constexpr double kFullFilterFloorDb = 80.0;
// The product decode, by quality (16-bit, divisor 1).
constexpr double kProductFloorDb[3] = {52.0, 30.0, 15.0};

TEST_P(Layer3EncodedAccuracy, AgainstReferenceDecoder) {
    const EncodedStream& s = GetParam();
    const std::string base = this->fileBase(s.name);
    const std::string rate = " -r " + std::to_string(s.rate) + " -c 2 -b 16 ";
    if (s.material != nullptr) {
        ASSERT_TRUE(run("sox -R -n" + rate + base + ".wav " + s.material + " 2>/dev/null"));
    } else {
        // A sweep, noise and a tone at about -12 dBFS RMS, then clicks after
        // silence, which call for short blocks.
        ASSERT_TRUE(run("sox -R -n" + rate + base + ".tones.wav synth 2.5 sine 200-6000 pinknoise sine 1000 " +
                        "remix 1,2v0.6 2,3v0.6 gain -4 2>/dev/null"));
        ASSERT_TRUE(run("sox -R -n" + rate + base + ".clicks.wav synth 0.02 square 300 pad 0 0.15 repeat 5 gain -3 " +
                        "2>/dev/null"));
        ASSERT_TRUE(run("sox -R " + base + ".tones.wav " + base + ".clicks.wav " + base + ".wav 2>/dev/null"));
    }
    ASSERT_TRUE(run(std::string("lame --quiet ") + s.options + " " + base + ".wav " + base + ".mp3 >/dev/null 2>&1"));
    ASSERT_TRUE(run("mpg123 -q --no-gapless -w " + base + ".ref.wav " + base + ".mp3 2>/dev/null"));
    PcmData reference;
    ASSERT_TRUE(readPcm(base + ".ref.wav", 2, reference));

    const PcmDifference full = compareLowPassed(modelDecode<Layer3Decoder>(base + ".mp3", 0, 15), reference, 1152);
    std::printf("  %-16s full filter: %6.2f dB (lag %ld)\n", s.name, full.snrDb, -full.shift);
    EXPECT_GE(full.snrDb, kFullFilterFloorDb) << s.name;
    EXPECT_GE(full.frames, frames(reference) - 2 * 1152);

    for (int quality : {1, 2, 3}) {
        const PcmDifference product = compareLowPassed(productDecode(base + ".mp3", quality), reference, 1152);
        std::printf("  %-16s q%d: %6.2f dB\n", s.name, quality, product.snrDb);
        EXPECT_GE(product.snrDb, kProductFloorDb[quality - 1]) << s.name << " q" << quality;
        EXPECT_EQ(product.frames, full.frames) << s.name << " q" << quality;
    }
}

INSTANTIATE_TEST_SUITE_P(Layer3, Layer3EncodedAccuracy, ::testing::ValuesIn(kStreams),
                         [](const auto& p) { return std::string(p.param.name); });

// --- Conformance streams ----------------------------------------------------

struct ConformanceStream {
    const char* path; // without extension
    int channels;
    double fullRms;    // bounds in full-scale units: the measured figure plus a quarter
    double productRms;
    bool fullAccuracy; // the full filter also keeps the standard's bound on the largest difference
};

// The references start with the first frame's output; l3-sin1k0db's first
// frames reach back before the file, so the product lags there. l3-he_mode
// ends for the product where the channel count first changes (frame 10),
// and l3-he_free (free format) is refused at open. The full filter reaches
// the standard's full accuracy on every stream but three: M2L3_noise, whose
// noise reaches the upper band that leaks through the low-pass, and the
// intensity-stereo streams l3-test45 and l3-test46, whose references other
// decoders do not match either.
const ConformanceStream kConformance[] = {
    {"mpeg1-layer3/l3-compl", 1, 1e-6, 1.7e-4, true},
    {"mpeg1-layer3/l3-he_32khz", 1, 1e-6, 2.3e-4, true},
    {"mpeg1-layer3/l3-he_44khz", 1, 1e-6, 2.3e-4, true},
    {"mpeg1-layer3/l3-he_48khz", 1, 1e-6, 2.3e-4, true},
    {"mpeg1-layer3/l3-he_mode", 1, 1.4e-6, 2.2e-4, true},
    {"mpeg1-layer3/l3-hecommon", 2, 1e-6, 3.8e-4, true},
    {"mpeg1-layer3/l3-si", 1, 8.4e-6, 8.8e-5, true},
    {"mpeg1-layer3/l3-si_block", 1, 1e-6, 4.7e-5, true},
    {"mpeg1-layer3/l3-si_huff", 1, 2.5e-6, 7.3e-4, true},
    {"mpeg1-layer3/l3-sin1k0db", 2, 2e-6, 1.58e-3, true},
    {"mpeg2-lsf/M2L3_bitrate_16_all", 1, 4.7e-6, 4.8e-4, true},
    {"mpeg2-lsf/M2L3_bitrate_22_all", 1, 4.3e-6, 4.6e-4, true},
    {"mpeg2-lsf/M2L3_bitrate_24_all", 1, 4.0e-6, 4.9e-4, true},
    {"mpeg2-lsf/M2L3_compl24", 1, 2.9e-6, 1.7e-4, true},
    {"mpeg2-lsf/M2L3_noise", 2, 1.7e-5, 2.4e-4, false},
    {"mpeg2-lsf/l3-test45", 2, 1.3e-5, 2.0e-4, false},
    {"mpeg2-lsf/l3-test46", 2, 1.3e-5, 2.5e-4, false},
};

constexpr double kFullAccuracyMax = 6.11e-5; // 2^-14

TEST(Conformance, Layer3StreamsAgainstTheirReferences) {
    for (const ConformanceStream& c : kConformance) {
        const std::string bit = conformance(std::string(c.path) + ".bit");
        PcmData reference;
        ASSERT_TRUE(readPcm(conformance(std::string(c.path) + ".pcm"), c.channels, reference)) << c.path;
        const PcmData product = productDecode(bit, 1);
        ASSERT_GT(frames(product), 0u) << c.path;
        const PcmDifference f = compareLowPassed(modelDecode<Layer3Decoder>(bit, 0, 15), reference, 2304);
        const PcmDifference p = compareLowPassed(product, reference, 2304);
        std::printf("  %-30s full filter RMS %.2e max %.2e FS; product q1 RMS %.2e max %.2e FS (lag %ld)\n", c.path,
                    f.rmsLsb / 32768, f.maxAbsLsb / 32768, p.rmsLsb / 32768, p.maxAbsLsb / 32768, -p.shift);
        EXPECT_LT(f.rmsLsb / 32768, c.fullRms) << c.path;
        if (c.fullAccuracy) {
            EXPECT_LE(f.maxAbsLsb / 32768, kFullAccuracyMax) << c.path;
        }
        EXPECT_LT(p.rmsLsb / 32768, c.productRms) << c.path;
    }
}

} // namespace
} // namespace quavera::test
