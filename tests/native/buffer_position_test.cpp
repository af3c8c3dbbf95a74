// Where the frames of a stream fall in the bit-stream buffer must not change
// what they decode to. The same stream behind junk of 1 to 47 steps of 349
// bytes starts at places spread over the whole buffer, so that its refills
// cut it at other frames; every frame must then decode to the same PCM as
// from the plain start. The variable bitrate streams start quietly, so that
// most of their frames are longer than the estimate made from the first
// header; constant bitrate streams at 44.1 kHz differ by their padding byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "accuracy_support.h"
#include "decoder.h"
#include "memory_source.h"

namespace quavera::test {
namespace {

struct EncodedStream {
    const char* name;
    int rate;
    const char* encoder; // command before IN OUT
};

const EncodedStream kStreams[] = {
    {"layer2_cbr_44k", 44100, "twolame --quiet -b 192"},  {"layer2_vbr_32k", 32000, "twolame --quiet -v -V 5"},
    {"layer2_vbr_44k", 44100, "twolame --quiet -v -V 5"}, {"layer2_vbr_24k", 24000, "twolame --quiet -v -V 5"},
    {"layer3_cbr_44k", 44100, "lame --quiet -b 128"},     {"layer3_vbr_48k", 48000, "lame --quiet -V 2"},
    {"layer3_vbr_22k", 22050, "lame --quiet -V 4"},
};

constexpr int kOffsets = 47;
constexpr int kOffsetStep = 349;

void PrintTo(const EncodedStream& s, std::ostream* os) {
    *os << s.name;
}

// Each decoded frame's PCM (16-bit stereo, quality 1).
std::vector<Bytes> decodeFrames(const Bytes& stream) {
    MemorySource source(stream);
    Decoder decoder;
    decoder.bind(&source);
    decoder.openInput("memory");
    if (!decoder.openStream({1, 1, 2, 16})) {
        ADD_FAILURE() << decoder.lastError();
        return {};
    }
    std::vector<Bytes> frames;
    Bytes block(static_cast<std::size_t>(decoder.info().pcmBlockSize));
    for (;;) {
        std::fill(block.begin(), block.end(), 0);
        if (decoder.decodeFrame(block.data()) == 0) {
            return frames;
        }
        frames.push_back(block);
    }
}

int largestDifference(const Bytes& a, const Bytes& b) {
    int largest = 0;
    for (std::size_t i = 0; i + 1 < a.size(); i += 2) {
        const auto x = static_cast<std::int16_t>(a[i] | a[i + 1] << 8);
        const auto y = static_cast<std::int16_t>(b[i] | b[i + 1] << 8);
        largest = std::max(largest, std::abs(x - y));
    }
    return largest;
}

using BufferPosition = EncodedStreams<EncodedStream>;

TEST_P(BufferPosition, EveryFrameDecodesAsFromThePlainStart) {
    const EncodedStream& s = GetParam();
    const std::string base = this->fileBase(s.name);
    const std::string format = " -r " + std::to_string(s.rate) + " -c 2 -b 16 ";
    // A quiet tone; a sweep, noise and a tone swelling and fading; then
    // clicks after silence: the bitrate of a variable stream goes up and down.
    ASSERT_TRUE(run("sox -R -n" + format + base + ".quiet.wav synth 0.3 sine 1000 gain -40 2>/dev/null"));
    ASSERT_TRUE(run("sox -R -n" + format + base + ".tones.wav synth 6 sine 100-8000 pinknoise sine 1000 " +
                    "remix 1,2v0.6 2,3v0.6 gain -4 tremolo 2 80 2>/dev/null"));
    ASSERT_TRUE(run("sox -R -n" + format + base + ".clicks.wav synth 0.05 square 300 pad 0 0.3 repeat 3 gain -3 " +
                    "2>/dev/null"));
    ASSERT_TRUE(run("sox -R " + base + ".quiet.wav " + base + ".tones.wav " + base + ".clicks.wav " + base +
                    ".wav 2>/dev/null"));
    ASSERT_TRUE(run(std::string(s.encoder) + " " + base + ".wav " + base + ".enc >/dev/null 2>&1"));
    const Bytes stream = readFile(base + ".enc");
    const std::vector<Bytes> plain = decodeFrames(stream);
    ASSERT_GT(plain.size(), 100u);

    int wrongFrames = 0;
    int largest = 0;
    for (int step = 1; step <= kOffsets; ++step) {
        const int offset = step * kOffsetStep;
        // Junk without a sync word or a tag's signature.
        Bytes shifted(static_cast<std::size_t>(offset));
        for (int i = 0; i < offset; ++i) {
            shifted[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((37 * i + 11) & 0x7F);
        }
        shifted.insert(shifted.end(), stream.begin(), stream.end());
        const std::vector<Bytes> frames = decodeFrames(shifted);
        EXPECT_EQ(frames.size(), plain.size()) << "offset " << offset;
        int wrongHere = 0;
        for (std::size_t f = 0; f < std::min(frames.size(), plain.size()); ++f) {
            if (frames[f] != plain[f]) {
                const int difference = largestDifference(frames[f], plain[f]);
                largest = std::max(largest, difference);
                if (wrongHere++ == 0) {
                    ADD_FAILURE() << "offset " << offset << ": frame " << f << " off by up to " << difference << " LSB";
                }
            }
        }
        wrongFrames += wrongHere;
    }
    std::printf("  %-16s %zu frames at %d offsets: %d frames differ (up to %d LSB)\n", s.name, plain.size(), kOffsets,
                wrongFrames, largest);
}

INSTANTIATE_TEST_SUITE_P(Streams, BufferPosition, ::testing::ValuesIn(kStreams),
                         [](const auto& p) { return std::string(p.param.name); });

} // namespace
} // namespace quavera::test
