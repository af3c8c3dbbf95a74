// Stream open: sync search, header checks and their texts, derived stream
// parameters, a leading ID3v2 tag, PCM writer selection and list files.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <utility>

#include "decoder.h"
#include "stream_open.h"
#include "test_support.h"

namespace quavera::test {
namespace {

// 44.1 kHz stereo Layer II at 128 kbit/s: F = 418.96 bytes.
HeaderFields stereo128() {
    HeaderFields h;
    h.bitrateIndex = 8;
    return h;
}

struct Opened {
    explicit Opened(Bytes data, OutputConfig config = {1, 1, 2, 16}) : source(std::move(data)) {
        decoder.bind(&source);
        decoder.openInput("memory.mp2");
        ok = decoder.openStream(config);
    }
    MemorySource source;
    Decoder decoder;
    bool ok = false;
};

std::string refusalOf(Bytes data, OutputConfig config = {1, 1, 2, 16}) {
    Opened o(std::move(data), config);
    EXPECT_FALSE(o.ok);
    return o.decoder.lastError();
}

Bytes headerOnly(const HeaderFields& h) {
    BitWriter w;
    putHeader(w, h);
    w.padToBytes(1500);
    return w.bytes();
}

int countFrames(Decoder& decoder) {
    std::vector<std::uint8_t> block(static_cast<std::size_t>(decoder.info().pcmBlockSize));
    int frames = 0;
    while (decoder.decodeFrame(block.data()) != 0 && frames < 100000) {
        ++frames;
    }
    return frames;
}

TEST(StreamOpen, JunkBeforeTheFirstFrameShowsInTheFrameNumber) {
    Bytes junk(5000);
    for (std::size_t i = 0; i < junk.size(); ++i) {
        junk[i] = static_cast<std::uint8_t>(i * 7 % 0x7F);
    }
    Opened o(concat({junk, repeat(simpleLayer2Frame(stereo128(), 8, 10), 5)}));
    ASSERT_TRUE(o.ok) << o.decoder.lastError();
    EXPECT_EQ(o.decoder.frameNumber(), 11u); // 5000 / 418.96
    std::vector<std::uint8_t> block(4608);
    EXPECT_EQ(o.decoder.decodeFrame(block.data()), 11u);
    EXPECT_EQ(o.decoder.decodeFrame(block.data()), 12u);
}

TEST(StreamOpen, StereoStreamReportsPerChannelBitrateAndTime) {
    const Bytes data = repeat(simpleLayer2Frame(stereo128(), 8, 10), 100);
    Opened o(data);
    ASSERT_TRUE(o.ok);
    const StreamInfo& s = o.decoder.info();
    EXPECT_EQ(s.layer, 2);
    EXPECT_EQ(s.mpegVersion, 1);
    EXPECT_EQ(s.bitratePerChannel, 64);
    EXPECT_EQ(s.streamChannels, 2);
    EXPECT_EQ(s.samplingFrequency, 44100);
    EXPECT_EQ(s.fileLength, static_cast<std::int32_t>(data.size()));
    EXPECT_FLOAT_EQ(s.totalTime, static_cast<float>(static_cast<double>(data.size()) * 8.0 / 128.0));
    EXPECT_FLOAT_EQ(s.compressionRatio, 16.0f * 44100.0f / 64000.0f);
    EXPECT_EQ(s.pcmBlockSize, 4608);
    EXPECT_EQ(o.decoder.totalFrames(), static_cast<std::uint32_t>(static_cast<double>(data.size()) / 418.959183));
    EXPECT_EQ(o.decoder.frameNumber(), 1u);
}

TEST(StreamOpen, Layer3At22050HzOpensAsMpeg2AndAHeaderAloneDecodesNothing) {
    HeaderFields h;
    h.id = 0;
    h.layer = 3;
    h.bitrateIndex = 8; // 64 kbit/s
    h.mode = 3;
    Opened o(headerOnly(h));
    ASSERT_TRUE(o.ok) << o.decoder.lastError();
    EXPECT_EQ(o.decoder.info().layer, 3);
    EXPECT_EQ(o.decoder.info().mpegVersion, 2);
    EXPECT_EQ(o.decoder.info().samplingFrequency, 22050);
    EXPECT_EQ(o.decoder.info().bitratePerChannel, 64);
    std::vector<std::uint8_t> block(static_cast<std::size_t>(o.decoder.info().pcmBlockSize));
    EXPECT_EQ(o.decoder.decodeFrame(block.data()), 0u);
}

TEST(StreamOpen, RefusalTexts) {
    HeaderFields layer1 = stereo128();
    layer1.layer = 1;
    EXPECT_EQ(refusalOf(headerOnly(layer1)), "This type of audiofile is currently not supported!");
    HeaderFields reservedLayer = stereo128();
    reservedLayer.layer = 0;
    EXPECT_EQ(refusalOf(headerOnly(reservedLayer)), "This type of audiofile is currently not supported!");

    HeaderFields forbidden = stereo128();
    forbidden.bitrateIndex = 15;
    EXPECT_EQ(refusalOf(headerOnly(forbidden)), "Layer II: Forbidden bitrate used for encoding!");
    forbidden.layer = 3;
    EXPECT_EQ(refusalOf(headerOnly(forbidden)), "Layer III: Forbidden bitrate used for encoding!");

    HeaderFields reserved = stereo128();
    reserved.frequencyIndex = 3;
    EXPECT_EQ(refusalOf(headerOnly(reserved)), "This is not a valid audiofile!");
    reserved.layer = 3;
    EXPECT_EQ(refusalOf(headerOnly(reserved)), "This is not a valid audiofile!");

    HeaderFields freeFormat = stereo128();
    freeFormat.bitrateIndex = 0;
    EXPECT_EQ(refusalOf(headerOnly(freeFormat)), "Layer II: Bitrate 0 not supported!\n");
    freeFormat.layer = 3;
    EXPECT_EQ(refusalOf(headerOnly(freeFormat)), "This is not a valid audiofile!");

    HeaderFields mono384 = stereo128();
    mono384.mode = 3;
    mono384.bitrateIndex = 14;
    EXPECT_EQ(refusalOf(headerOnly(mono384)), "Layer II: Bitrate 384 not supported!\n");
}

TEST(StreamOpen, ConformanceLayerIStreamsAreRefused) {
    for (int i = 1; i <= 8; ++i) {
        const std::string path = conformance("mpeg1-layer1/l1-fl" + std::to_string(i) + ".bit");
        EXPECT_EQ(refusalOf(readFile(path)), "This type of audiofile is currently not supported!") << path;
    }
}

TEST(StreamOpen, DegenerateInputsNeitherCrashNorHang) {
    {
        Opened empty{Bytes{}};
        EXPECT_FALSE(empty.ok);
        EXPECT_STREQ(empty.decoder.lastError(), "No error occured!");
    }
    EXPECT_EQ(refusalOf(Bytes{0x12, 0x34}), "This is not a valid audiofile!");
    EXPECT_EQ(refusalOf(Bytes(20000, 0xFF)), "This is not a valid audiofile!");
    // A header cut short: the zeros padded after the input do not complete it.
    EXPECT_EQ(refusalOf(Bytes{0xFF, 0xFD, 0x84}), "This is not a valid audiofile!");
    EXPECT_EQ(refusalOf(Bytes{0x00, 0x00, 0xFF, 0xFD, 0x84}), "This is not a valid audiofile!");
    std::mt19937 random(1234);
    for (int round = 0; round < 50; ++round) {
        Bytes noise(static_cast<std::size_t>(random() % 40000));
        for (auto& b : noise) {
            b = static_cast<std::uint8_t>(random());
        }
        Opened o(noise);
        if (o.ok) {
            EXPECT_LT(countFrames(o.decoder), 1000);
        }
    }
}

TEST(StreamOpen, RunOfAllOnesBytesIsNotASyncWord) {
    Opened o(concat({Bytes(10, 0xFF), repeat(simpleLayer2Frame(stereo128(), 8, 10), 3)}));
    ASSERT_TRUE(o.ok);
    EXPECT_EQ(o.decoder.info().bitratePerChannel, 64);
    EXPECT_EQ(countFrames(o.decoder), 3);
}

void append(Bytes& out, std::initializer_list<int> values) {
    for (int v : values) {
        out.push_back(static_cast<std::uint8_t>(v));
    }
}

// An ID3v2 tag whose text and picture hold bytes that look like sync words.
Bytes id3Tag(bool footer) {
    Bytes body;
    append(body, {'T', 'I', 'T', '2', 0, 0, 0, 9, 0, 0, 1, 0xFF, 0xFE, 'Q', 0, 'v', 0});
    append(body, {'A', 'P', 'I', 'C', 0, 0, 0x0F, 0x50, 0, 0});
    for (int i = 0; i < 2000; ++i) {
        constexpr int kFake[] = {0xFF, 0xFD, 0x84, 0x00, 0xFF, 0xF3, 0x10, 0xFF, 0xFB};
        append(body, {kFake[i % 9]});
    }
    const auto size = static_cast<int>(body.size());
    Bytes sizeBytes;
    append(sizeBytes, {size >> 21 & 0x7F, size >> 14 & 0x7F, size >> 7 & 0x7F, size & 0x7F});
    Bytes header;
    append(header, {'I', 'D', '3', 4, 0, footer ? 0x10 : 0});
    Bytes footerBytes;
    append(footerBytes, {'3', 'D', 'I', 4, 0, 0x10});
    return footer ? concat({header, sizeBytes, body, footerBytes, sizeBytes}) : concat({header, sizeBytes, body});
}

std::vector<std::uint8_t> decodeAfterSeek(Decoder& decoder, std::uint32_t ms, std::uint32_t& frame) {
    std::vector<std::uint8_t> block(static_cast<std::size_t>(decoder.info().pcmBlockSize));
    EXPECT_TRUE(decoder.requestSeek(ms));
    frame = decoder.decodeFrame(block.data());
    return block;
}

TEST(StreamOpen, LeadingId3v2TagIsSkippedAndCountsNowhere) {
    Bytes audio;
    for (int i = 0; i < 40; ++i) {
        const Bytes f = simpleLayer2Frame(stereo128(), 1 + i % 20, 4 + i % 30);
        audio.insert(audio.end(), f.begin(), f.end());
    }
    Opened plain(audio);
    ASSERT_TRUE(plain.ok);
    std::uint32_t plainFrame = 0;
    const auto plainPcm = decodeAfterSeek(plain.decoder, 500, plainFrame);
    const int plainRest = countFrames(plain.decoder);
    EXPECT_GT(plainRest, 10);

    for (bool footer : {false, true}) {
        const Bytes tag = id3Tag(footer);
        const Bytes data = concat({tag, audio});
        Opened tagged(data);
        ASSERT_TRUE(tagged.ok) << tagged.decoder.lastError();
        const StreamInfo& s = tagged.decoder.info();
        EXPECT_EQ(tagged.decoder.audioStart(), static_cast<std::int32_t>(tag.size()));
        EXPECT_EQ(s.fileLength, static_cast<std::int32_t>(data.size()));
        EXPECT_FLOAT_EQ(s.totalTime, plain.decoder.info().totalTime);
        EXPECT_EQ(tagged.decoder.frameNumber(), 1u);
        EXPECT_EQ(tagged.decoder.totalFrames(), plain.decoder.totalFrames());
        std::uint32_t taggedFrame = 0;
        EXPECT_EQ(decodeAfterSeek(tagged.decoder, 500, taggedFrame), plainPcm);
        EXPECT_EQ(taggedFrame, plainFrame);
        EXPECT_EQ(countFrames(tagged.decoder), plainRest);
    }
}

TEST(StreamOpen, Id3v2HeaderWithBadSizeIsNotSkipped) {
    Bytes tag = id3Tag(false);
    tag[7] = 0x80;
    EXPECT_EQ(id3v2TagBytes(tag.data()), 0);
    tag[7] = 0;
    EXPECT_EQ(id3v2TagBytes(tag.data()), static_cast<std::int32_t>(tag.size()));
}

TEST(StreamOpen, PcmWriterSelectionTexts) {
    const Bytes stereo = repeat(simpleLayer2Frame(stereo128(), 8, 10), 3);
    EXPECT_EQ(refusalOf(stereo, {1, 1, 3, 16}), "Wrong number of playback channels (3)!");
    EXPECT_EQ(refusalOf(stereo, {1, 1, 0, 16}), "Wrong number of playback channels (0)!");
    EXPECT_EQ(refusalOf(stereo, {1, 1, 2, 12}), "Wrong number of sample bits (12)!");
    // A single-channel stream always plays one channel, whatever was configured.
    HeaderFields mono = stereo128();
    mono.mode = 3;
    mono.bitrateIndex = 5; // 80 kbit/s
    Opened o(repeat(simpleLayer2Frame(mono, 8, 10), 3), {1, 1, 3, 16});
    ASSERT_TRUE(o.ok) << o.decoder.lastError();
    EXPECT_EQ(o.decoder.info().outputChannels, 1);
}

TEST(StreamOpen, AnalysisReadsTheHeaderOnly) {
    HeaderFields h = stereo128();
    h.bitrateIndex = 2; // 48 kbit/s stereo: no Layer II table for 24 per channel
    const Bytes data = repeat(simpleLayer2Frame(h, 0, 0), 4);
    EXPECT_EQ(refusalOf(data), "Layer II: Bitrate 24 not supported!\n");
    MemorySource source(data, "dir/some.name.mp2");
    Decoder decoder(8192);
    decoder.bind(&source);
    decoder.openInput("x");
    StreamInfo info;
    ASSERT_TRUE(decoder.analyseStream(info));
    EXPECT_EQ(info.bitratePerChannel, 24);
    EXPECT_EQ(info.outputRate, 44100);
    EXPECT_EQ(info.outputChannels, 2);
    EXPECT_EQ(info.bitsPerSample, 16);
    EXPECT_EQ(info.quality, 1);
    EXPECT_EQ(info.fileName, "dir/some.name.mp2");
}

// A source that reports a length of its own choice, as one that does not
// know it may.
class LengthSource final : public InputSource {
public:
    LengthSource(Bytes data, std::int32_t length) : bytes_(std::move(data)), length_(length) {}
    int open(const char* name) override { return bytes_.open(name); }
    int close() override { return bytes_.close(); }
    std::uint32_t read(void* buffer, std::uint32_t count) override { return bytes_.read(buffer, count); }
    int seek(std::int32_t position) override { return bytes_.seek(position); }
    std::int32_t tell() override { return bytes_.tell(); }
    std::int32_t length() override { return length_; }
    const char* name() override { return bytes_.name(); }
    int fileChanged() override { return 0; }

private:
    MemorySource bytes_;
    std::int32_t length_;
};

TEST(StreamOpen, NegativeLengthIsUnknown) {
    const Bytes audio = repeat(simpleLayer2Frame(stereo128(), 8, 10), 20);
    const Bytes tagged = concat({id3Tag(false), audio});
    // Unknown lengths, and an unknown length of 0 with a leading tag.
    for (const auto& [data, length] : {std::pair{audio, -1}, std::pair{audio, INT32_MIN}, std::pair{tagged, 0}}) {
        LengthSource source(data, length);
        Decoder decoder;
        decoder.bind(&source);
        decoder.openInput("unknown");
        ASSERT_TRUE(decoder.openStream({1, 1, 2, 16})) << length;
        EXPECT_EQ(decoder.info().fileLength, 0) << length;
        EXPECT_EQ(decoder.info().totalTime, -1.0f) << length;
        EXPECT_EQ(decoder.totalFrames(), 0u) << length;
        EXPECT_EQ(countFrames(decoder), 20) << length;

        StreamInfo info;
        Decoder analysis(8192);
        analysis.bind(&source);
        analysis.openInput("unknown");
        ASSERT_TRUE(analysis.analyseStream(info)) << length;
        EXPECT_EQ(info.fileLength, 0) << length;
        EXPECT_EQ(info.totalTime, -1.0f) << length;
    }
}

TEST(StreamOpen, ListMovingToItsNextFileRestartsTheFrameCount) {
    HeaderFields second = stereo128();
    second.bitrateIndex = 10; // 192 kbit/s
    MemorySource source({repeat(simpleLayer2Frame(stereo128(), 8, 10), 30), repeat(simpleLayer2Frame(second, 8, 10), 30)},
                        "list");
    Decoder decoder;
    decoder.bind(&source);
    decoder.openInput("list");
    ASSERT_TRUE(decoder.openStream({1, 1, 2, 16}));
    std::vector<std::uint8_t> block(4608);
    std::vector<std::uint32_t> numbers;
    int changes = 0;
    for (std::uint32_t n; (n = decoder.decodeFrame(block.data())) != 0;) {
        numbers.push_back(n);
        if (decoder.takeFileChange()) {
            ++changes;
            EXPECT_EQ(n, 1u);
            EXPECT_EQ(decoder.currentBitratePerChannel(), 96);
            EXPECT_EQ(decoder.totalFrames(), static_cast<std::uint32_t>(30 * 626 / 627.9387755));
        }
    }
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(numbers.size(), 60u);
    EXPECT_EQ(numbers[29], 30u);
    EXPECT_EQ(numbers[30], 1u);
    EXPECT_EQ(numbers[59], 30u);
}

} // namespace
} // namespace quavera::test
