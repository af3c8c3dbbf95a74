// The encoder's information frame, tags at the end, the seek map and gapless
// trimming, on synthetic Layer III streams: silent frames of changing
// bitrates behind an information frame written field by field.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <optional>

#include "decoder.h"
#include "end_tags.h"
#include "gapless_trim.h"
#include "info_frame.h"
#include "layer3_writer.h"
#include "seek_map.h"
#include "test_support.h"

namespace quavera::test {
namespace {

// 44.1 kHz joint stereo Layer III at a bitrate index.
HeaderFields joint(int bitrateIndex) {
    HeaderFields h;
    h.layer = 3;
    h.bitrateIndex = bitrateIndex;
    h.mode = 1;
    return h;
}

struct XingFields {
    const char* tag = "Xing";
    std::optional<std::uint32_t> frames;
    std::optional<std::uint32_t> bytes;
    Bytes table; // 100 entries, or none
    bool lame = false;
    int delay = 0;
    int padding = 0;
};

void putBig(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

std::size_t sideInfoBytes(const HeaderFields& h) {
    return h.id == 1 ? (h.mode == 3 ? 17 : 32) : (h.mode == 3 ? 9 : 17);
}

// A silent frame of header h with the fields written where the side
// information ends.
Bytes xingFrame(const HeaderFields& h, const XingFields& f) {
    Bytes frame = layer3Frame(Layer3Frame{h, SideInfo{}, {}});
    Bytes tag(f.tag, f.tag + 4);
    putBig(tag, (f.frames ? 1u : 0u) | (f.bytes ? 2u : 0u) | (!f.table.empty() ? 4u : 0u));
    if (f.frames) {
        putBig(tag, *f.frames);
    }
    if (f.bytes) {
        putBig(tag, *f.bytes);
    }
    tag.insert(tag.end(), f.table.begin(), f.table.end());
    if (f.lame) {
        Bytes extension(24, 0);
        std::memcpy(extension.data(), "LAME3.100", 9);
        extension[21] = static_cast<std::uint8_t>(f.delay >> 4);
        extension[22] = static_cast<std::uint8_t>((f.delay & 15) << 4 | f.padding >> 8);
        extension[23] = static_cast<std::uint8_t>(f.padding);
        tag.insert(tag.end(), extension.begin(), extension.end());
    }
    const std::size_t at = 4 + (h.crc ? 2 : 0) + sideInfoBytes(h);
    EXPECT_LE(at + tag.size(), frame.size());
    std::copy(tag.begin(), tag.end(), frame.begin() + static_cast<std::ptrdiff_t>(at));
    return frame;
}

// Silent audio frames whose bitrate changes: 128, 160, 64 and 320 kbit/s.
struct VbrAudio {
    Bytes bytes;
    std::vector<std::size_t> starts; // of each frame, from the first
};

VbrAudio vbrAudio(int frames) {
    VbrAudio audio;
    for (int i = 0; i < frames; ++i) {
        static constexpr int kIndexes[] = {9, 10, 5, 14};
        audio.starts.push_back(audio.bytes.size());
        const Bytes frame = layer3Frame(Layer3Frame{joint(kIndexes[i % 4]), SideInfo{}, {}});
        audio.bytes.insert(audio.bytes.end(), frame.begin(), frame.end());
    }
    return audio;
}

// An information frame in front of the audio with every field as an encoder
// writes it: frames, bytes (its own included), a table of where each per
// cent of the frames starts, and LAME's delay and padding.
XingFields fieldsFor(const VbrAudio& audio, std::size_t infoBytes) {
    XingFields f;
    f.frames = static_cast<std::uint32_t>(audio.starts.size());
    f.bytes = static_cast<std::uint32_t>(infoBytes + audio.bytes.size());
    for (int i = 0; i < 100; ++i) {
        const std::size_t frame = audio.starts.size() * static_cast<std::size_t>(i) / 100;
        f.table.push_back(static_cast<std::uint8_t>(256 * (infoBytes + audio.starts[frame]) / *f.bytes));
    }
    f.lame = true;
    f.delay = 576;
    f.padding = 1000;
    return f;
}

constexpr std::size_t kInfoBytes = 417; // 128 kbit/s at 44.1 kHz

Bytes vbrStream(const VbrAudio& audio, const XingFields& f) {
    return concat({xingFrame(joint(9), f), audio.bytes});
}

struct Opened {
    explicit Opened(Bytes data, bool gapless = false, bool randomAccess = true)
        : Opened(std::vector<Bytes>{std::move(data)}, gapless, randomAccess) {}
    // A list of files.
    Opened(std::vector<Bytes> files, bool gapless, bool randomAccess = true) : source(std::move(files), "vbr.mp3") {
        decoder.setGapless(gapless);
        decoder.setRandomAccess(randomAccess);
        decoder.bind(&source);
        decoder.openInput("vbr.mp3");
        ok = decoder.openStream({1, 1, 2, 16});
    }
    // Decoded calls and the PCM bytes they left.
    std::pair<int, std::size_t> decodeAll() {
        std::vector<std::uint8_t> block(static_cast<std::size_t>(decoder.info().pcmBlockSize));
        int calls = 0;
        std::size_t bytes = 0;
        while (decoder.decodeFrame(block.data()) != 0 && calls < 100000) {
            ++calls;
            bytes += decoder.lastFrameBytes();
        }
        return {calls, bytes};
    }
    MemorySource source;
    Decoder decoder;
    bool ok = false;
};

// --- Parsing -----------------------------------------------------------------

TEST(InfoFrameParse, XingAndInfoAtTheOffsetOfEveryLayout) {
    for (int id : {1, 0}) {
        for (int mode : {1, 3}) {
            for (bool crc : {false, true}) {
                for (const char* tag : {"Xing", "Info"}) {
                    HeaderFields h = joint(id == 1 ? 9 : 8);
                    h.id = id;
                    h.mode = mode;
                    h.crc = crc;
                    XingFields f;
                    f.tag = tag;
                    f.frames = 1000;
                    f.bytes = 200000;
                    f.table.assign(100, 0);
                    for (int i = 0; i < 100; ++i) {
                        f.table[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 255 / 99);
                    }
                    f.lame = true;
                    f.delay = 576;
                    f.padding = 4095;
                    const Bytes frame = xingFrame(h, f);
                    const auto info = parseInfoFrame(FrameHeader::fromWord(headerWord(h)), frame.data(), frame.size());
                    ASSERT_TRUE(info) << id << mode << crc << tag;
                    EXPECT_EQ(info->vbr, std::strcmp(tag, "Xing") == 0);
                    EXPECT_EQ(info->frames, 1000u);
                    EXPECT_EQ(info->bytes, 200000u);
                    ASSERT_EQ(info->table.size(), 100u);
                    EXPECT_DOUBLE_EQ(info->table[50].time, 0.5);
                    EXPECT_DOUBLE_EQ(info->table[99].position, 255 / 256.0);
                    EXPECT_TRUE(info->gapless);
                    EXPECT_EQ(info->delay, 576);
                    EXPECT_EQ(info->padding, 4095);
                }
            }
        }
    }
}

TEST(InfoFrameParse, FieldsThatAreMissingOrDoNotFit) {
    const HeaderFields h = joint(9);
    const FrameHeader header = FrameHeader::fromWord(headerWord(h));
    XingFields f;
    f.frames = 10;
    Bytes frame = xingFrame(h, f);
    auto info = parseInfoFrame(header, frame.data(), frame.size());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->bytes, 0u);
    EXPECT_TRUE(info->table.empty());
    EXPECT_FALSE(info->gapless);

    // An audio frame, and the tag anywhere but at its place.
    frame = layer3Frame(Layer3Frame{h, SideInfo{}, {}});
    EXPECT_FALSE(parseInfoFrame(header, frame.data(), frame.size()));
    std::memcpy(frame.data() + 40, "Xing", 4);
    EXPECT_FALSE(parseInfoFrame(header, frame.data(), frame.size()));

    // Fields beyond the bytes given are not read: the frame cut short.
    f.bytes = 5000;
    f.table.assign(100, 1);
    frame = xingFrame(h, f);
    EXPECT_FALSE(parseInfoFrame(header, frame.data(), 36 + 8 + 8 + 99));
    EXPECT_TRUE(parseInfoFrame(header, frame.data(), 36 + 8 + 8 + 100));

    // Layer II has no information frame.
    HeaderFields layer2 = h;
    layer2.layer = 2;
    EXPECT_FALSE(parseInfoFrame(FrameHeader::fromWord(headerWord(layer2)), frame.data(), frame.size()));
}

Bytes vbriFrame(std::uint32_t frames, std::uint32_t bytes, std::uint16_t entries, std::uint16_t framesPerEntry,
                std::uint16_t entryValue) {
    Bytes frame = layer3Frame(Layer3Frame{joint(14), SideInfo{}, {}}); // 1044 bytes
    Bytes tag = {'V', 'B', 'R', 'I', 0, 1, 0, 0, 0, 80};
    putBig(tag, bytes);
    putBig(tag, frames);
    const std::uint16_t fields[] = {entries, 1, 2, framesPerEntry};
    for (std::uint16_t v : fields) {
        tag.push_back(static_cast<std::uint8_t>(v >> 8));
        tag.push_back(static_cast<std::uint8_t>(v));
    }
    for (std::uint32_t k = 0; k < entries && 36 + tag.size() + 2 <= frame.size(); ++k) {
        tag.push_back(static_cast<std::uint8_t>(entryValue >> 8));
        tag.push_back(static_cast<std::uint8_t>(entryValue));
    }
    std::copy(tag.begin(), tag.end(), frame.begin() + 36);
    return frame;
}

TEST(InfoFrameParse, VbriWithItsTable) {
    const FrameHeader header = FrameHeader::fromWord(headerWord(joint(14)));
    Bytes frame = vbriFrame(1000, 1044 + 100 * 4000, 100, 10, 4000);
    auto info = parseInfoFrame(header, frame.data(), frame.size());
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->vbr);
    EXPECT_EQ(info->frames, 1000u);
    ASSERT_EQ(info->table.size(), 100u);
    EXPECT_DOUBLE_EQ(info->table[10].time, 0.1);
    EXPECT_DOUBLE_EQ(info->table[10].position, (1044 + 10 * 4000) / (1044.0 + 100 * 4000));
    EXPECT_TRUE(plausible(*info, header, 1044 + 100 * 4000));

    // A table that points past the bytes it covers.
    frame = vbriFrame(1000, 1044 + 100 * 4000, 100, 10, 5000);
    info = parseInfoFrame(header, frame.data(), frame.size());
    ASSERT_TRUE(info);
    EXPECT_FALSE(plausible(*info, header, 1044 + 100 * 4000));

    // A table of 65 535 entries cannot be in a frame.
    frame = vbriFrame(1000, 500000, 65535, 1, 7);
    EXPECT_FALSE(parseInfoFrame(header, frame.data(), frame.size()));
}

// --- Trust -------------------------------------------------------------------

TEST(InfoFrameTrust, AbsurdValuesAreNotTrusted) {
    const VbrAudio audio = vbrAudio(200);
    const std::int64_t fileBytes = static_cast<std::int64_t>(kInfoBytes + audio.bytes.size());
    const FrameHeader header = FrameHeader::fromWord(headerWord(joint(9)));
    const auto trusted = [&](const XingFields& f, std::int64_t audioBytes) {
        const Bytes frame = xingFrame(joint(9), f);
        const auto info = parseInfoFrame(header, frame.data(), frame.size());
        return info && plausible(*info, header, audioBytes);
    };
    const XingFields good = fieldsFor(audio, kInfoBytes);
    EXPECT_TRUE(trusted(good, fileBytes));
    EXPECT_TRUE(trusted(good, 0)) << "a length that is not known";

    XingFields f = good;
    f.frames = 0;
    EXPECT_FALSE(trusted(f, fileBytes)) << "no frames";
    f.frames = 0xFFFFFFFFu;
    EXPECT_FALSE(trusted(f, fileBytes)) << "2^32 - 1 frames in the bytes";
    f.bytes.reset();
    EXPECT_FALSE(trusted(f, fileBytes)) << "2^32 - 1 frames in the file";
    EXPECT_FALSE(trusted(f, 0)) << "2^32 - 1 frames, longer than any time";
    f = good;
    f.bytes = static_cast<std::uint32_t>(fileBytes + 1);
    EXPECT_FALSE(trusted(f, fileBytes)) << "bytes beyond the file";
    f.frames = 2;
    f.bytes = good.bytes;
    EXPECT_FALSE(trusted(f, fileBytes)) << "frames larger than any frame";
    f = good;
    std::swap(f.table[40], f.table[60]);
    EXPECT_FALSE(trusted(f, fileBytes)) << "a table that goes back";
    f = good;
    f.delay = 4095;
    f.padding = 4095;
    f.frames = 7;
    f.bytes.reset();
    f.table.clear();
    EXPECT_FALSE(trusted(f, 7 * 417)) << "delay and padding longer than the stream";
}

// --- The stream --------------------------------------------------------------

TEST(InfoFrameStream, IsNotPlayedAndGivesTimeAndAverageBitrate) {
    const VbrAudio audio = vbrAudio(200);
    for (bool gapless : {false, true}) {
        Opened o(vbrStream(audio, fieldsFor(audio, kInfoBytes)), gapless);
        ASSERT_TRUE(o.ok) << o.decoder.lastError();
        ASSERT_NE(o.decoder.infoFrame(), nullptr);
        const StreamInfo& s = o.decoder.info();
        // 200 frames less the encoder's 576 + 1000 samples.
        EXPECT_FLOAT_EQ(s.totalTime, static_cast<float>((200 * 1152 - 1576) * 1000.0 / 44100));
        // 128, 160, 64 and 320 kbit/s in turn: their average (the
        // information frame counts in the bytes).
        const double kbps = static_cast<double>(kInfoBytes + audio.bytes.size()) * 8.0 / (200 * 1152 / 44100.0) / 1000;
        EXPECT_EQ(s.bitratePerChannel, static_cast<int>(std::lround(kbps / 2)));
        EXPECT_FLOAT_EQ(s.compressionRatio, static_cast<float>(16.0 * 44100 / (s.bitratePerChannel * 1000.0)));
        EXPECT_EQ(o.decoder.totalFrames(), 200u);
        EXPECT_EQ(o.decoder.frameNumber(), 1u);
        const auto [calls, bytes] = o.decodeAll();
        EXPECT_EQ(calls, 200) << "the information frame is no audio";
        // Gapless: the decoder's 529 samples of lag are cut with the delay.
        EXPECT_EQ(bytes, gapless ? std::size_t{(200 * 1152 - 1576) * 4} : std::size_t{200 * 4608});
    }
}

TEST(InfoFrameStream, TheQueryGivesTheSameTime) {
    const VbrAudio audio = vbrAudio(100);
    MemorySource source(vbrStream(audio, fieldsFor(audio, kInfoBytes)));
    Decoder analysis(8192);
    analysis.bind(&source);
    analysis.openInput("x");
    StreamInfo s;
    ASSERT_TRUE(analysis.analyseStream(s));
    EXPECT_FLOAT_EQ(s.totalTime, static_cast<float>((100 * 1152 - 1576) * 1000.0 / 44100));
    EXPECT_NE(s.bitratePerChannel, 64) << "the average, not the first header's";
}

TEST(InfoFrameStream, AbsurdHeadersLeaveAPlainStream) {
    const VbrAudio audio = vbrAudio(60);
    const XingFields good = fieldsFor(audio, kInfoBytes);
    std::vector<XingFields> bad(5, good);
    bad[0].frames = 0;
    bad[1].frames = 0xFFFFFFFFu;
    bad[2].bytes = *good.bytes * 2;
    bad[3].table[30] = 255;
    bad[4].delay = 4000;
    bad[4].padding = 4095;
    bad[4].frames = 3;
    bad[4].bytes.reset();
    bad[4].table.clear();
    for (std::size_t i = 0; i < bad.size(); ++i) {
        const Bytes data = vbrStream(audio, bad[i]);
        Opened o(data, true);
        ASSERT_TRUE(o.ok) << i;
        EXPECT_EQ(o.decoder.infoFrame(), nullptr) << i;
        // The length at the first header's 128 kbit/s, and every frame played.
        EXPECT_FLOAT_EQ(o.decoder.info().totalTime, static_cast<float>(static_cast<double>(data.size()) * 8.0 / 128)) << i;
        EXPECT_EQ(o.decodeAll(), std::make_pair(61, std::size_t{61 * 4608})) << i;
    }
    // A VBRI table that does not fit its frame.
    const Bytes vbri = concat({vbriFrame(60, 100000, 65535, 1, 7), audio.bytes});
    Opened o(vbri, true);
    ASSERT_TRUE(o.ok);
    EXPECT_EQ(o.decoder.infoFrame(), nullptr);
    EXPECT_EQ(o.decodeAll().first, 61);
}

TEST(InfoFrameStream, OneInTheMiddleIsAFrameLikeAnyOther) {
    const VbrAudio audio = vbrAudio(40);
    const Bytes data = concat({audio.bytes, xingFrame(joint(9), fieldsFor(audio, kInfoBytes)), audio.bytes});
    Opened o(data, true);
    ASSERT_TRUE(o.ok);
    EXPECT_EQ(o.decoder.infoFrame(), nullptr);
    EXPECT_EQ(o.decodeAll(), std::make_pair(81, std::size_t{81 * 4608}));
}

// --- Tags at the end -----------------------------------------------------------

Bytes id3v1Tag() {
    Bytes tag(128, ' ');
    std::memcpy(tag.data(), "TAG", 3);
    tag[127] = 0xFF; // no genre
    return tag;
}

// An APEv2 tag whose only item holds a whole audio frame, as a picture may
// hold anything.
Bytes apeTag(bool withHeader, const Bytes& item) {
    Bytes items = {static_cast<std::uint8_t>(item.size()), static_cast<std::uint8_t>(item.size() >> 8), 0, 0, 2, 0, 0, 0,
                   'A', 0};
    items.insert(items.end(), item.begin(), item.end());
    const auto footer = [&](bool header) {
        Bytes f = {'A', 'P', 'E', 'T', 'A', 'G', 'E', 'X', 0xD0, 0x07, 0, 0};
        const std::uint32_t size = static_cast<std::uint32_t>(items.size() + 32);
        const std::uint32_t flags = (withHeader ? 0x80000000u : 0u) | (header ? 0x20000000u : 0u);
        for (std::uint32_t v : {size, 1u, flags}) {
            for (int shift = 0; shift < 32; shift += 8) {
                f.push_back(static_cast<std::uint8_t>(v >> shift));
            }
        }
        f.resize(32, 0);
        return f;
    };
    return withHeader ? concat({footer(true), items, footer(false)}) : concat({items, footer(false)});
}

TEST(EndTags, SizesFromTheTail) {
    const Bytes frame = layer3Frame(Layer3Frame{joint(9), SideInfo{}, {}});
    const auto tagBytes = [](const Bytes& file) {
        const std::size_t n = std::min(file.size(), kEndTagProbeBytes);
        return endTagBytes(file.data() + file.size() - n, n, static_cast<std::int64_t>(file.size()));
    };
    const Bytes audio = repeat(frame, 3);
    EXPECT_EQ(tagBytes(audio), 0);
    EXPECT_EQ(tagBytes(concat({audio, id3v1Tag()})), 128);
    const Bytes ape = apeTag(false, frame);
    EXPECT_EQ(tagBytes(concat({audio, ape})), static_cast<std::int64_t>(ape.size()));
    const Bytes apeWithHeader = apeTag(true, frame);
    EXPECT_EQ(tagBytes(concat({audio, apeWithHeader, id3v1Tag()})),
              static_cast<std::int64_t>(apeWithHeader.size() + 128));
    // A size beyond the file is not believed, nor a file shorter than a tag.
    EXPECT_EQ(tagBytes(ape), static_cast<std::int64_t>(ape.size()));
    EXPECT_EQ(tagBytes(Bytes(ape.end() - 40, ape.end())), 0);
    EXPECT_EQ(tagBytes(Bytes{'T', 'A', 'G'}), 0);
}

TEST(EndTags, AreNeitherPlayedNorTimed) {
    // CBR without an information frame: an ID3v1 tag, and an APE tag that
    // holds a frame of the stream's own kind.
    const Bytes frame = layer3Frame(Layer3Frame{joint(9), SideInfo{}, {}});
    const Bytes audio = repeat(frame, 30);
    const Bytes data = concat({audio, apeTag(true, frame), id3v1Tag()});
    Opened o(data);
    ASSERT_TRUE(o.ok);
    EXPECT_EQ(o.decoder.info().fileLength, static_cast<std::int32_t>(data.size()));
    EXPECT_FLOAT_EQ(o.decoder.info().totalTime, static_cast<float>(static_cast<double>(audio.size()) * 8.0 / 128));
    EXPECT_EQ(o.decodeAll().first, 30);

    // Without looking at the end (a network stream) the frame in the tag is decoded.
    Opened network(data, false, false);
    ASSERT_TRUE(network.ok);
    EXPECT_EQ(network.decodeAll().first, 31);

    // With an information frame: its bytes end before the tags.
    const VbrAudio vbr = vbrAudio(50);
    const Bytes tagged = concat({vbrStream(vbr, fieldsFor(vbr, kInfoBytes)), apeTag(false, frame), id3v1Tag()});
    Opened withInfo(tagged);
    ASSERT_TRUE(withInfo.ok);
    ASSERT_NE(withInfo.decoder.infoFrame(), nullptr);
    EXPECT_EQ(withInfo.decodeAll().first, 50);
}

// --- Trimming ----------------------------------------------------------------

TEST(GaplessTrim, KeepsTheSignalToTheSample) {
    GaplessTrim trim;
    trim.set(1105, 3 * 1152 - 263);
    std::vector<std::uint8_t> pcm(1152);
    const auto call = [&](int divisor) {
        for (std::size_t i = 0; i < pcm.size(); ++i) {
            pcm[i] = static_cast<std::uint8_t>(i);
        }
        const std::size_t bytes = pcm.size() / static_cast<std::size_t>(divisor);
        return trim.apply(pcm.data(), bytes, divisor, 1);
    };
    EXPECT_EQ(call(1), 47u);
    EXPECT_EQ(pcm[0], static_cast<std::uint8_t>(1105));
    EXPECT_EQ(call(1), 1152u);
    EXPECT_EQ(call(1), 1152u - 263);
    EXPECT_EQ(call(1), 0u) << "past the end";

    // Downsampled by 2, after a seek to the second call.
    trim.moveTo(1152, true);
    EXPECT_EQ(call(2), 576u);
    EXPECT_EQ(call(2), (1152u - 263) / 2);
    // A position only estimated: the end is no longer cut.
    trim.moveTo(2 * 1152, false);
    EXPECT_EQ(call(1), 1152u);
    trim.clear();
    EXPECT_FALSE(trim.active());
}

TEST(InfoFrameStream, TrimmingCutsWholeFramesAtBothEnds) {
    // A delay and padding of more than a frame each: the calls that would
    // leave nothing are passed over.
    const VbrAudio audio = vbrAudio(20);
    XingFields f = fieldsFor(audio, kInfoBytes);
    f.delay = 2000;
    f.padding = 3000;
    Opened o(vbrStream(audio, f), true);
    ASSERT_TRUE(o.ok);
    const auto [calls, bytes] = o.decodeAll();
    EXPECT_EQ(bytes, std::size_t{(20 * 1152 - 5000) * 4});
    EXPECT_EQ(calls, 16) << "frames 1, 2, 19 and 20 keep nothing";
}

// --- A list of files ---------------------------------------------------------

TEST(InfoFrameList, EachFileTrimsItsOwnAndItsTagsAreSkipped) {
    // Two files with information frames, the first with tags at its end that
    // hold a frame; a third without either.
    const VbrAudio a = vbrAudio(30);
    const VbrAudio b = vbrAudio(50);
    XingFields fa = fieldsFor(a, kInfoBytes);
    fa.padding = 3000; // the last two frames are cut whole
    const Bytes frame = layer3Frame(Layer3Frame{joint(9), SideInfo{}, {}});
    const std::vector<Bytes> files = {concat({vbrStream(a, fa), apeTag(true, frame), id3v1Tag()}),
                                      vbrStream(b, fieldsFor(b, kInfoBytes)), repeat(frame, 10)};
    Opened o(files, true);
    ASSERT_TRUE(o.ok);
    Decoder& decoder = o.decoder;
    std::vector<std::uint8_t> block(4608);
    std::vector<std::size_t> bytes(3);
    std::vector<std::uint32_t> firstNumbers;
    std::size_t file = 0;
    for (std::uint32_t n; (n = decoder.decodeFrame(block.data())) != 0;) {
        if (decoder.takeFileChange()) {
            ++file;
            ASSERT_LT(file, 3u);
            firstNumbers.push_back(n);
            EXPECT_EQ(decoder.infoFrame() != nullptr, file == 1) << file;
            EXPECT_FLOAT_EQ(decoder.currentTotalTime(), file == 1
                                                            ? static_cast<float>((50 * 1152 - 1576) * 1000.0 / 44100)
                                                            : static_cast<float>(10 * 417 * 8.0 / 128))
                << file;
            EXPECT_NE(decoder.currentBitratePerChannel() == 64, file == 1) << file;
        }
        bytes[file] += decoder.lastFrameBytes();
    }
    EXPECT_EQ(firstNumbers, (std::vector<std::uint32_t>{1, 1}));
    EXPECT_EQ(bytes[0], std::size_t{(30 * 1152 - 576 - 3000) * 4});
    EXPECT_EQ(bytes[1], std::size_t{(50 * 1152 - 1576) * 4});
    EXPECT_EQ(bytes[2], std::size_t{10 * 4608}) << "neither trimmed nor lost";
}

TEST(InfoFrameList, SeeksAfterTheJoinAreWithinTheNextFile) {
    const Bytes plain = repeat(layer3Frame(Layer3Frame{joint(9), SideInfo{}, {}}), 20);
    const VbrAudio vbr = vbrAudio(200);
    const Bytes loud = repeat(layer3Frame(Layer3Frame{joint(14), SideInfo{}, {}}), 40); // 320 kbit/s
    for (const bool withInfo : {true, false}) {
        Opened o({plain, withInfo ? vbrStream(vbr, fieldsFor(vbr, kInfoBytes)) : loud}, false);
        ASSERT_TRUE(o.ok);
        Decoder& decoder = o.decoder;
        std::vector<std::uint8_t> block(4608);
        while (!decoder.takeFileChange()) {
            ASSERT_NE(decoder.decodeFrame(block.data()), 0u);
        }
        // 522 ms: frame 19 of 44.1 kHz frames, or 20880 bytes at 320 kbit/s.
        ASSERT_TRUE(decoder.requestSeek(522));
        const std::uint32_t number = decoder.decodeFrame(block.data());
        int left = 1;
        while (decoder.decodeFrame(block.data()) != 0) {
            ++left;
        }
        if (withInfo) {
            EXPECT_EQ(number, 20u);
            EXPECT_EQ(left, 200 - 19);
        } else {
            EXPECT_EQ(number, 19u);
            EXPECT_EQ(left, 40 - 20) << "the next frame after the offset";
        }
    }
}

// --- Seeking -----------------------------------------------------------------

TEST(InfoFrameSeek, ToTheFrameThatHoldsTheTime) {
    const VbrAudio audio = vbrAudio(400);
    const Bytes data = vbrStream(audio, fieldsFor(audio, kInfoBytes));
    for (bool walk : {true, false}) {
        for (std::uint32_t frame : {0u, 1u, 7u, 100u, 222u, 399u}) {
            Opened o(data, false, walk);
            ASSERT_TRUE(o.ok);
            const auto ms = static_cast<std::uint32_t>(std::ceil(frame * 1152 * 1000.0 / 44100));
            ASSERT_TRUE(o.decoder.requestSeek(ms));
            std::vector<std::uint8_t> block(4608);
            const std::uint32_t number = o.decoder.decodeFrame(block.data());
            // Where it stands shows in how many frames are left.
            const int left = (number != 0 ? 1 : 0) + o.decodeAll().first;
            if (walk) {
                EXPECT_EQ(number, frame + 1) << frame << " walk";
                EXPECT_EQ(left, static_cast<int>(400 - frame)) << frame << " walk";
            } else {
                // The table's estimate, between points that frames of four
                // sizes lie between; near the end it may land in the last frame.
                EXPECT_TRUE(number == frame + 1 || (number == 0 && frame == 399)) << frame;
                EXPECT_NEAR(left, 400.0 - frame, 2.0) << frame;
            }
        }
    }
}

TEST(InfoFrameSeek, ThroughTheTableTheEndIsStillCut) {
    // Where the table leads is only estimated; the padding is found at the
    // end of the audio instead: 1000 - 529 samples of the last frame.
    const VbrAudio audio = vbrAudio(400);
    for (bool walk : {true, false}) {
        Opened o(vbrStream(audio, fieldsFor(audio, kInfoBytes)), true, walk);
        ASSERT_TRUE(o.ok);
        ASSERT_TRUE(o.decoder.requestSeek(5000));
        std::vector<std::uint8_t> block(4608);
        std::size_t last = 0;
        while (o.decoder.decodeFrame(block.data()) != 0) {
            last = o.decoder.lastFrameBytes();
        }
        EXPECT_EQ(last, std::size_t{(1152 - 471) * 4}) << walk;
    }
}

TEST(InfoFrameSeek, AFileThatEndsWithinItsInformationFrameHasNoFrameToWalkTo) {
    // Found by the fuzzer: the walk offered the first audio frame's place
    // even where the file ended before it.
    const HeaderFields h = joint(9);
    XingFields f;
    f.frames = 1;
    const Bytes frame = xingFrame(h, f);
    const FrameHeader header = FrameHeader::fromWord(headerWord(h));
    const auto info = parseInfoFrame(header, frame.data(), frame.size());
    ASSERT_TRUE(info);
    MemorySource source(Bytes(frame.begin(), frame.begin() + 300));
    SeekMap map;
    map.reset(*info, header, 0, 300, true);
    const SeekTarget target = map.locate(source, 0);
    EXPECT_FALSE(target.exact);
    EXPECT_EQ(target.position, 417) << "after the information frame";
}

} // namespace
} // namespace quavera::test
