// Accuracy against an independent reference decoder (mpg123) on Layer II
// streams encoded at test time, and against the conformance streams' own
// references. Figures are printed for every stream.
//
// Two decodes are measured. The product decode (shortened window, per-slot
// cutoff) is what plays. The full-filter decode runs the same Layer II
// parsing into the standard's full 16-tap filterbank without the cutoff; it
// must match the reference to within rounding, so any fault in tables, scale
// factors, stereo handling or requantisation shows there at once.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "accuracy_support.h"
#include "decoder.h"
#include "file_source.h"
#include "pcm_compare.h"
#include "wav_file.h"

namespace quavera::test {
namespace {

// --- Streams encoded at test time ------------------------------------------

struct EncodedStream {
    const char* name;
    int rate;
    int channels;
    const char* mode; // twolame -m
    int kbps;         // 0: variable bitrate
    const char* table; // of the first frame
};

// Every allocation table at least once, every channel mode, all six rates at
// constant and at variable bitrate.
const EncodedStream kStreams[] = {
    {"48k_stereo_192", 48000, 2, "s", 192, "3-B.2a"},  {"48k_stereo_384", 48000, 2, "s", 384, "3-B.2a"},
    {"44k_joint_128", 44100, 2, "j", 128, "3-B.2a"},   {"44k_stereo_384", 44100, 2, "s", 384, "3-B.2b"},
    {"32k_dual_256", 32000, 2, "d", 256, "3-B.2b"},    {"44k_mono_48", 44100, 1, "m", 48, "3-B.2c"},
    {"48k_joint_64", 48000, 2, "j", 64, "3-B.2c"},     {"32k_mono_32", 32000, 1, "m", 32, "3-B.2d"},
    {"24k_joint_128", 24000, 2, "j", 128, "13818-3 B.1"}, {"22k_mono_64", 22050, 1, "m", 64, "13818-3 B.1"},
    {"16k_stereo_32", 16000, 2, "s", 32, "13818-3 B.1"},
    {"48k_stereo_vbr", 48000, 2, "s", 0, "3-B.2a"},    {"44k_mono_vbr", 44100, 1, "m", 0, "3-B.2b"},
    {"32k_stereo_vbr", 32000, 2, "s", 0, "3-B.2b"},    {"24k_stereo_vbr", 24000, 2, "s", 0, "13818-3 B.1"},
    {"22k_mono_vbr", 22050, 1, "m", 0, "13818-3 B.1"}, {"16k_stereo_vbr", 16000, 2, "s", 0, "13818-3 B.1"},
};

void PrintTo(const EncodedStream& s, std::ostream* os) {
    *os << s.name;
}

using EncodedAccuracy = EncodedStreams<EncodedStream>;

// The full filter agrees with the reference decoder to within rounding.
constexpr double kFullFilterFloorDb = 90.0;
// The shortened window alone, by quality (16-bit, divisor 1).
constexpr double kWindowFloorDb[3] = {52.0, 30.0, 15.0};
// The product decode: the shortened window dominates; the near-silence cutoff
// and 16-bit rounding must stay far below it.
constexpr double kProductFloorDb[3] = {52.0, 30.0, 15.0};

TEST_P(EncodedAccuracy, AgainstReferenceDecoder) {
    const EncodedStream& s = GetParam();
    const std::string base = this->fileBase(s.name);
    // Tones, a sweep and noise, about -12 dBFS RMS; for a variable bitrate
    // then clicks after silence, so that the bitrate moves.
    const std::string format = " -r " + std::to_string(s.rate) + " -c 2 -b 16 ";
    ASSERT_TRUE(run("sox -R -n" + format + base + ".tones.wav synth 3 sine 200-6000 pinknoise sine 1000 " +
                    "remix 1,2v0.6 2,3v0.6 gain -4 2>/dev/null"));
    const bool variable = s.kbps == 0;
    ASSERT_TRUE(run("sox -R -n" + format + base + ".clicks.wav synth 0.02 square 300 pad 0 0.15 repeat 5 gain -3 " +
                    "2>/dev/null"));
    ASSERT_TRUE(run("sox -R " + base + ".tones.wav " + (variable ? base + ".clicks.wav " : "") + base +
                    ".wav 2>/dev/null"));
    ASSERT_TRUE(run(std::string("twolame --quiet ") + (s.channels == 1 ? "-a " : "") + "-m " + s.mode +
                    (variable ? " -v" : " -b " + std::to_string(s.kbps)) + " " + base + ".wav " + base +
                    ".mp2 >/dev/null 2>&1"));
    ASSERT_TRUE(run("mpg123 -q --no-gapless -w " + base + ".ref.wav " + base + ".mp2 2>/dev/null"));
    PcmData reference;
    ASSERT_TRUE(readPcm(base + ".ref.wav", 2, reference));

    const PcmDifference full = comparePcm(modelDecode<Layer2Decoder>(base + ".mp2", 0, 15), reference, 0, SIZE_MAX);
    std::printf("  %-16s table %-12s full filter: %6.2f dB (max %.0f LSB)\n", s.name, s.table, full.snrDb,
                full.maxAbsLsb);
    EXPECT_GE(full.snrDb, kFullFilterFloorDb) << s.name;
    EXPECT_GE(full.frames, frames(reference) - 1152);

    for (int quality : {1, 2, 3}) {
        const PcmDifference window =
            comparePcm(modelDecode<Layer2Decoder>(base + ".mp2", 2 * quality, 15 - 2 * quality), reference, 0, SIZE_MAX);
        const PcmDifference product = comparePcm(productDecode(base + ".mp2", quality), reference, 0, SIZE_MAX);
        std::printf("  %-16s q%d: window %6.2f dB, product %6.2f dB\n", s.name, quality, window.snrDb, product.snrDb);
        EXPECT_GE(window.snrDb, kWindowFloorDb[quality - 1]) << s.name << " q" << quality;
        EXPECT_GE(product.snrDb, kProductFloorDb[quality - 1]) << s.name << " q" << quality;
        EXPECT_EQ(product.frames, full.frames);
    }
}

// --- Conformance streams ----------------------------------------------------

struct ConformanceStream {
    const char* path;       // without extension
    bool reference24;       // a 24-bit .ref24.wav reference, else the 16-bit .pcm
    double productRmsFloor; // full scale units; see the note at the assertion
};

// The product's RMS error against the references is set by the shortened
// window (the streams' high subbands carry more of it than ordinary music).
// Each bound is the measured figure plus a quarter, so a fault that adds
// error shows; the full filter must reach the standard's full accuracy on
// every stream.
const ConformanceStream kConformance[] = {
    {"mpeg1-layer2/l2-fl10", true, 1.7e-4}, {"mpeg1-layer2/l2-fl11", true, 1.7e-4},
    {"mpeg1-layer2/l2-fl12", true, 1.7e-4}, {"mpeg1-layer2/l2-fl13", true, 1.7e-4},
    {"mpeg1-layer2/l2-fl14", true, 1.5e-3}, {"mpeg1-layer2/l2-fl15", true, 5.0e-4},
    {"mpeg1-layer2/l2-fl16", true, 3.0e-4}, {"mpeg2-lsf/l2-test32", false, 6.8e-4},
};

constexpr double kFullAccuracyRms = 8.81e-6; // 2^-15 / sqrt(12)
constexpr double kFullAccuracyMax = 6.11e-5; // 2^-14

TEST(Conformance, Layer2StreamsAgainstTheirReferences) {
    for (const ConformanceStream& c : kConformance) {
        const std::string bit = conformance(std::string(c.path) + ".bit");
        PcmData reference;
        ASSERT_TRUE(readPcm(conformance(std::string(c.path) + (c.reference24 ? ".ref24.wav" : ".pcm")), 2, reference))
            << c.path;
        const PcmData full = modelDecode<Layer2Decoder>(bit, 0, 15);
        const PcmData product = productDecode(bit, 1);
        ASSERT_GT(frames(product), 0u) << c.path;
        // References run on past the stream with padding: compare the decoded length.
        const PcmDifference f = comparePcm(full, reference, 0, frames(full));
        const PcmDifference p = comparePcm(product, reference, 0, frames(product));
        std::printf("  %-22s %s ref: full filter RMS %.2e max %.2e FS; product q1 RMS %.2e max %.2e FS\n", c.path,
                    c.reference24 ? "24-bit" : "16-bit", f.rmsLsb / 32768, f.maxAbsLsb / 32768, p.rmsLsb / 32768,
                    p.maxAbsLsb / 32768);
        EXPECT_EQ(frames(product), frames(full)) << c.path;
        if (c.reference24) {
            EXPECT_LT(f.rmsLsb / 32768, kFullAccuracyRms) << c.path;
            EXPECT_LE(f.maxAbsLsb / 32768, kFullAccuracyMax) << c.path;
        } else {
            EXPECT_LE(f.maxAbsLsb, 1.0) << c.path;
        }
        EXPECT_LT(p.rmsLsb / 32768, c.productRmsFloor) << c.path;
    }
}

// Damaged, illegal and unusual streams: open and decode to the end without a
// crash, a hang or more frames than the stream can hold.
TEST(Conformance, RobustnessStreamsNeitherCrashNorHang) {
    for (const char* dir : {"robustness", "mpeg1-layer1", "mpeg1-layer3", "mpeg2-lsf"}) {
        int streams = 0;
        for (const auto& entry : std::filesystem::directory_iterator(std::string(QUAVERA_CONFORMANCE_DIR) + "/" + dir)) {
            if (entry.path().extension() != ".bit") {
                continue;
            }
            ++streams;
            FileSource source;
            Decoder decoder;
            decoder.bind(&source);
            ASSERT_TRUE(decoder.openInput(entry.path().string().c_str()));
            if (!decoder.openStream({1, 1, 2, 16})) {
                continue;
            }
            std::vector<std::uint8_t> block(static_cast<std::size_t>(decoder.info().pcmBlockSize));
            const auto limit = static_cast<int>(std::filesystem::file_size(entry.path()) / 48 + 2);
            int decoded = 0;
            while (decoder.decodeFrame(block.data()) != 0 && decoded <= limit) {
                ++decoded;
            }
            EXPECT_LE(decoded, limit) << entry.path();
        }
        EXPECT_GT(streams, 0) << "no streams in " << dir;
    }
}

INSTANTIATE_TEST_SUITE_P(Layer2, EncodedAccuracy, ::testing::ValuesIn(kStreams),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
} // namespace quavera::test
