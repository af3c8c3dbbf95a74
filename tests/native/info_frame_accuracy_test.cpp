// Streams with LAME's information frame against mpg123: lengths, the decode
// without the information frame (no alignment needed any more), the gapless
// decode, and where seeks in a VBR stream land. Figures are printed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "accuracy_support.h"
#include "decoder.h"
#include "file_source.h"
#include "low_pass.h"
#include "memory_source.h"
#include "pcm_compare.h"

namespace quavera::test {
namespace {

struct LameStream {
    const char* name;
    int rate;
    int channels;
    const char* options;
};

// VBR at both ends of the scale, ABR, CBR ("Info"), and VBR at the lower
// sampling frequencies and in one channel.
const LameStream kStreams[] = {
    {"vbr_v0", 44100, 2, "-V 0"},      {"vbr_v5", 44100, 2, "-V 5"},     {"abr_128", 44100, 2, "--abr 128"},
    {"cbr_128", 44100, 2, "-b 128"},   {"lsf_v4", 22050, 2, "-V 4"},     {"mono_v2", 48000, 1, "-m m -V 2"},
};

void PrintTo(const LameStream& s, std::ostream* os) {
    *os << s.name;
}

using InfoFrameAccuracy = EncodedStreams<LameStream>;

struct Decoded {
    StreamInfo info;
    PcmData pcm;
};

// quality 1, 16 bits, the stream's channels; optionally seeking to ms first.
Decoded decode(const std::string& path, bool gapless, long seekMs = -1, bool walk = true) {
    FileSource source;
    Decoder decoder;
    decoder.setGapless(gapless);
    decoder.setRandomAccess(walk);
    decoder.bind(&source);
    decoder.openInput(path.c_str());
    Decoded d;
    if (!decoder.openStream({1, 1, 2, 16})) {
        ADD_FAILURE() << path << ": " << decoder.lastError();
        return d;
    }
    if (seekMs >= 0) {
        EXPECT_TRUE(decoder.requestSeek(static_cast<std::uint32_t>(seekMs)));
    }
    d.info = decoder.info();
    std::vector<std::uint8_t> pcm;
    std::vector<std::uint8_t> block(static_cast<std::size_t>(d.info.pcmBlockSize));
    for (;;) {
        std::fill(block.begin(), block.end(), 0);
        if (decoder.decodeFrame(block.data()) == 0) {
            break;
        }
        pcm.insert(pcm.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(decoder.lastFrameBytes()));
    }
    d.pcm = fromBytes(pcm, d.info.outputChannels);
    return d;
}

PcmDifference compareLowPassed(const PcmData& test, const PcmData& reference) {
    return comparePcm(lowPass(test, kLayer3CompareCutoff), lowPass(reference, kLayer3CompareCutoff), 0, SIZE_MAX);
}

// The product decode, q1, against the reference low-passed.
constexpr double kFloorDb = 52.0;

TEST_P(InfoFrameAccuracy, LengthAndDecodesAgainstReferenceDecoder) {
    const LameStream& s = GetParam();
    const std::string base = this->fileBase(s.name);
    ASSERT_TRUE(run("sox -R -n -r " + std::to_string(s.rate) + " -c " + std::to_string(s.channels) + " -b 16 " + base +
                    ".wav synth 4 sine 300-5000 pinknoise gain -8 2>/dev/null"));
    ASSERT_TRUE(run(std::string("lame --quiet ") + s.options + " " + base + ".wav " + base + ".mp3"));
    ASSERT_TRUE(run("mpg123 -q -w " + base + ".gapless.wav " + base + ".mp3 2>/dev/null"));
    ASSERT_TRUE(run("mpg123 -q --no-gapless -w " + base + ".plain.wav " + base + ".mp3 2>/dev/null"));
    PcmData gaplessRef;
    PcmData plainRef;
    ASSERT_TRUE(readPcm(base + ".gapless.wav", s.channels, gaplessRef));
    ASSERT_TRUE(readPcm(base + ".plain.wav", s.channels, plainRef));

    // Length: mpg123's is the gapless sample count.
    const Decoded plain = decode(base + ".mp3", false);
    const double frameMs = (s.rate >= 32000 ? 1152.0 : 576.0) * 1000 / s.rate;
    const double referenceMs = static_cast<double>(frames(gaplessRef)) * 1000 / s.rate;
    std::printf("  %-8s total time %.3f ms, mpg123 %.3f ms: %+.3f ms (a frame is %.1f ms)\n", s.name,
                static_cast<double>(plain.info.totalTime), referenceMs,
                static_cast<double>(plain.info.totalTime) - referenceMs, frameMs);
    EXPECT_NEAR(plain.info.totalTime, referenceMs, frameMs);

    // Without trimming, the decode matches mpg123's without gapless from its first sample.
    EXPECT_EQ(frames(plain.pcm), frames(plainRef)) << s.name;
    const PcmDifference p = compareLowPassed(plain.pcm, plainRef);
    // Trimmed, it matches mpg123's gapless decode in length and content.
    const Decoded gapless = decode(base + ".mp3", true);
    EXPECT_EQ(frames(gapless.pcm), frames(gaplessRef)) << s.name;
    const PcmDifference g = compareLowPassed(gapless.pcm, gaplessRef);
    std::printf("  %-8s plain %.2f dB, gapless %.2f dB\n", s.name, p.snrDb, g.snrDb);
    EXPECT_GE(p.snrDb, kFloorDb) << s.name;
    EXPECT_GE(g.snrDb, kFloorDb) << s.name;
}

INSTANTIATE_TEST_SUITE_P(Lame, InfoFrameAccuracy, ::testing::ValuesIn(kStreams),
                         [](const auto& p) { return std::string(p.param.name); });

// --- Seeking ---------------------------------------------------------------

using VbrSeek = EncodedStreams<LameStream>;

// Where the audio heard after a seek starts in the reference, in samples
// after the time asked for, and how well it matches there.
struct Landing {
    long offset = 0;
    double snrDb = 0;
};

// Samples [from, from + count) of pcm, low-passed as within the whole signal.
PcmData lowPassedPart(const PcmData& pcm, long from, long count) {
    constexpr long kMargin = 512; // beyond the filter's reach
    const long channels = pcm.channels;
    const long total = static_cast<long>(pcm.samples.size()) / channels;
    const long begin = std::clamp(from - kMargin, 0L, total);
    const long end = std::clamp(from + count + kMargin, begin, total);
    PcmData part;
    part.channels = pcm.channels;
    part.samples.assign(pcm.samples.begin() + begin * channels, pcm.samples.begin() + end * channels);
    part = lowPass(part, kLayer3CompareCutoff);
    const long drop = std::min(from - begin, end - begin);
    part.samples.erase(part.samples.begin(), part.samples.begin() + drop * channels);
    part.samples.resize(static_cast<std::size_t>(std::min(count * channels, static_cast<long>(part.samples.size()))));
    return part;
}

Landing land(const PcmData& afterSeek, const PcmData& reference, long target, long search) {
    // Past the first frames, which a seek through the table may leave
    // without main data.
    constexpr long kSkip = 4 * 1152;
    constexpr long kLength = 4096;
    // Reference sample target + kSkip + offset lines up with the test's kSkip:
    // its part starts search before, so the offsets are shifts 0 to 2 search.
    const PcmData test = lowPassedPart(afterSeek, kSkip, kLength);
    const PcmData ref = lowPassedPart(reference, target + kSkip - search, kLength + 2 * search);
    const PcmDifference d = comparePcm(test, ref, 2 * search, static_cast<std::size_t>(kLength));
    return Landing{d.shift - search, d.snrDb};
}

TEST_P(VbrSeek, LandsWithinAFrameOfTheTime) {
    const LameStream& s = GetParam();
    const std::string base = this->fileBase(s.name);
    ASSERT_TRUE(run("sox -R -n -r 44100 -c 2 -b 16 " + base +
                    ".wav synth 12 sine 300-5000 pinknoise gain -8 2>/dev/null"));
    ASSERT_TRUE(run(std::string("lame --quiet ") + s.options + " " + base + ".wav " + base + ".mp3"));
    ASSERT_TRUE(run("mpg123 -q -w " + base + ".ref.wav " + base + ".mp3 2>/dev/null"));
    PcmData reference;
    ASSERT_TRUE(readPcm(base + ".ref.wav", 2, reference));
    const double totalMs = static_cast<double>(frames(reference)) * 1000 / 44100;
    for (int percent : {25, 50, 75}) {
        const auto ms = static_cast<long>(totalMs * percent / 100);
        const long target = static_cast<long>(std::lround(static_cast<double>(ms) * 44.1));
        // Exactly: from the start of the frame that holds the time.
        const Landing exact = land(decode(base + ".mp3", true, ms).pcm, reference, target, 3 * 1152);
        // Through the table alone, as for a network stream.
        const Landing table = land(decode(base + ".mp3", true, ms, false).pcm, reference, target, 8 * 1152);
        std::printf("  %-8s seek to %d %% (%ld ms): heard from %+.1f ms (%.1f dB); through the table %+.1f ms "
                    "(%.1f dB)\n",
                    s.name, percent, ms, static_cast<double>(exact.offset) / 44.1, exact.snrDb,
                    static_cast<double>(table.offset) / 44.1, table.snrDb);
        EXPECT_LE(exact.offset, 0) << percent;
        EXPECT_GT(exact.offset, -1152) << percent;
        EXPECT_GE(exact.snrDb, kFloorDb) << percent;
    }
}

INSTANTIATE_TEST_SUITE_P(Lame, VbrSeek, ::testing::Values(LameStream{"seek_v5", 44100, 2, "-V 5"}),
                         [](const auto& p) { return std::string(p.param.name); });

// --- Gapless joins ---------------------------------------------------------

using GaplessRun = EncodedStreams<LameStream>;

// The SNR of the run against the reference in a window around a sample.
double snrAround(const PcmData& run, const PcmData& reference, long sample, long halfWidth) {
    const PcmData a = lowPassedPart(run, sample - halfWidth, 2 * halfWidth);
    const PcmData b = lowPassedPart(reference, sample - halfWidth, 2 * halfWidth);
    return comparePcm(a, b, 0, SIZE_MAX).snrDb;
}

// One signal cut into three files of 3 s, each encoded on its own, decoded as
// one stream through a list. Trimmed, the run is the three files' own
// decodes end to end and as long as the uncut signal's encoding; it matches mpg123's gapless decodes of the three files
// put end to end to the decoder's accuracy, at the joins too; and it sounds
// like the uncut signal's encoding at the joins as well as those decodes do
// (two encodings of one signal differ most where one of them starts).
TEST_P(GaplessRun, ThreeFilesJoinAsTheUncutSignal) {
    const LameStream& s = GetParam();
    const std::string base = this->fileBase(s.name);
    ASSERT_TRUE(run("sox -R -n -r 44100 -c 2 -b 16 " + base + ".wav synth 9 sine 200-2000 sine 700 gain -8"));
    std::vector<Bytes> parts;
    PcmData separately;
    separately.channels = 2;
    for (int part = 0; part < 3; ++part) {
        const std::string name = base + "." + std::to_string(part);
        ASSERT_TRUE(run("sox " + base + ".wav " + name + ".wav trim " + std::to_string(3 * part) + " 3"));
        ASSERT_TRUE(run(std::string("lame --quiet ") + s.options + " " + name + ".wav " + name + ".mp3"));
        parts.push_back(readFile(name + ".mp3"));
        const PcmData own = decode(name + ".mp3", true).pcm;
        separately.samples.insert(separately.samples.end(), own.samples.begin(), own.samples.end());
        ASSERT_TRUE(run("mpg123 -q -w " + name + ".ref.wav " + name + ".mp3 2>/dev/null"));
    }
    ASSERT_TRUE(run("sox " + base + ".0.ref.wav " + base + ".1.ref.wav " + base + ".2.ref.wav " + base + ".run.wav"));
    PcmData referenceRun;
    ASSERT_TRUE(readPcm(base + ".run.wav", 2, referenceRun));
    ASSERT_TRUE(run(std::string("lame --quiet ") + s.options + " " + base + ".wav " + base + ".mp3"));
    ASSERT_TRUE(run("mpg123 -q -w " + base + ".ref.wav " + base + ".mp3 2>/dev/null"));
    PcmData reference;
    ASSERT_TRUE(readPcm(base + ".ref.wav", 2, reference));

    for (bool gapless : {true, false}) {
        MemorySource list(parts, "list");
        Decoder decoder;
        decoder.setGapless(gapless);
        decoder.bind(&list);
        decoder.openInput("list");
        ASSERT_TRUE(decoder.openStream({1, 1, 2, 16}));
        std::vector<std::uint8_t> pcm;
        std::vector<std::uint8_t> block(static_cast<std::size_t>(decoder.info().pcmBlockSize));
        int changes = 0;
        while (decoder.decodeFrame(block.data()) != 0) {
            pcm.insert(pcm.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(decoder.lastFrameBytes()));
            if (decoder.takeFileChange()) {
                ++changes;
                EXPECT_FLOAT_EQ(decoder.currentTotalTime(), 3000.0f);
                EXPECT_LT(decoder.currentBitratePerChannel(), 160) << "the average, not the first header's";
            }
        }
        EXPECT_EQ(changes, 2);
        const PcmData joined = fromBytes(pcm, 2);
        std::printf("  %-8s %s: %zu samples for %zu\n", s.name, gapless ? "gapless" : "untrimmed", frames(joined),
                    frames(reference));
        // Within 50 ms of each join.
        double worstAgainstRun = 200;
        double worstAgainstUncut = 200;
        double worstOfReferenceRun = 200;
        for (const long join : {3 * 44100L, 6 * 44100L}) {
            const double againstRun = snrAround(joined, referenceRun, join, 2205);
            const double againstUncut = snrAround(joined, reference, join, 2205);
            const double referenceRunAgainstUncut = snrAround(referenceRun, reference, join, 2205);
            std::printf("    join at %.0f s: %.1f dB against mpg123's decodes end to end, %.1f dB against the "
                        "uncut encoding (mpg123's decodes: %.1f dB)\n",
                        static_cast<double>(join) / 44100, againstRun, againstUncut, referenceRunAgainstUncut);
            worstAgainstRun = std::min(worstAgainstRun, againstRun);
            // The decoder's own difference adds to the encodings' as noise.
            const double expected =
                -10 * std::log10(std::pow(10.0, -againstRun / 10) + std::pow(10.0, -referenceRunAgainstUncut / 10));
            worstAgainstUncut = std::min(worstAgainstUncut, againstUncut - expected);
            worstOfReferenceRun = std::min(worstOfReferenceRun, referenceRunAgainstUncut);
        }
        if (gapless) {
            // What the decoder carries over a join falls in the next file's
            // trimmed start: the run is each file's own decode, to the bit.
            EXPECT_EQ(joined.samples, separately.samples);
            EXPECT_EQ(frames(joined), frames(reference));
            EXPECT_GE(worstAgainstRun, kFloorDb);
            EXPECT_GE(worstAgainstUncut, -1.5);
            // A gap or a click would leave next to nothing of the signal.
            EXPECT_GE(worstOfReferenceRun, 30.0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Lame, GaplessRun, ::testing::Values(LameStream{"album_v2", 44100, 2, "-V 2"}),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
} // namespace quavera::test
