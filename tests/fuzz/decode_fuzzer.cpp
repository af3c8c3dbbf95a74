// libFuzzer target: stream open, header analysis and frame decoding of
// arbitrary bytes. The first byte picks the output configuration, whether the
// input is split into a list of two files, and whether a seek happens.
//
// Configuration values from 36 up frame the rest as Layer III: each chunk of
// input follows a valid header (chosen by the next byte), so that the fuzzer
// spends its effort on side information and main data rather than on
// finding a sync word.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "decoder.h"
#include "memory_source.h"

namespace {

constexpr int kMaxFrames = 48;
constexpr int kConfigurations = 36;

quavera::OutputConfig configOf(std::uint8_t pick) {
    static constexpr int kDivisors[] = {1, 2, 4};
    return quavera::OutputConfig{kDivisors[pick % 3], 1 + pick / 3 % 3, 1 + pick / 9 % 2, pick / 18 % 2 != 0 ? 8 : 16};
}

// Headers of Layer III streams and their frame lengths: MPEG-1 stereo, joint
// stereo (intensity and mid/side) and single channel; the lower sampling
// frequencies in joint stereo and single channel.
struct FramedHeader {
    std::uint32_t word;
    std::size_t bytes;
};
constexpr FramedHeader kHeaders[] = {
    {0xFFFB9000u, 417}, // 44.1 kHz, 128 kbit/s, stereo
    {0xFFFB9070u, 417}, // joint stereo, intensity and mid/side
    {0xFFFB50C0u, 208}, // 64 kbit/s, single channel
    {0xFFF38070u, 208}, // 22.05 kHz, 64 kbit/s, joint stereo, intensity and mid/side
    {0xFFF3E8C0u, 720}, // 16 kHz, 160 kbit/s, single channel
    {0xFFFBE450u, 960}, // 48 kHz, 320 kbit/s, joint stereo, intensity
};

std::vector<std::uint8_t> framedLayer3(const std::uint8_t* body, std::size_t length) {
    std::vector<std::uint8_t> out;
    if (length == 0) {
        return out;
    }
    const FramedHeader& h = kHeaders[body[0] % (sizeof kHeaders / sizeof kHeaders[0])];
    ++body;
    --length;
    for (int frame = 0; frame < kMaxFrames && length > 0; ++frame) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            out.push_back(static_cast<std::uint8_t>(h.word >> shift));
        }
        const std::size_t take = std::min(length, h.bytes - 4);
        out.insert(out.end(), body, body + take);
        out.resize(out.size() + (h.bytes - 4 - take), 0);
        body += take;
        length -= take;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::uint8_t pick = data[0];
    const std::uint8_t* body = data + 1;
    std::size_t length = size - 1;
    std::vector<std::uint8_t> framed;
    if ((pick & 0x3F) >= kConfigurations) {
        framed = framedLayer3(body, length);
        body = framed.data();
        length = framed.size();
    }
    std::vector<quavera::test::Bytes> files;
    if ((pick & 0x80) != 0) { // a list: the second file starts halfway
        files.emplace_back(body, body + length / 2);
        files.emplace_back(body + length / 2, body + length);
    } else {
        files.emplace_back(body, body + length);
    }
    quavera::test::MemorySource source(files, "fuzz");

    quavera::Decoder decoder((pick & 0x40) != 0 ? 8192 : 16384);
    decoder.bind(&source);
    decoder.openInput("fuzz");
    quavera::StreamInfo info;
    decoder.analyseStream(info);
    if (!decoder.openStream(configOf(pick & 0x3F))) {
        return 0;
    }
    std::vector<std::uint8_t> block(static_cast<std::size_t>(decoder.info().pcmBlockSize));
    for (int frame = 0; frame < kMaxFrames && decoder.decodeFrame(block.data()) != 0; ++frame) {
        if (frame == 2) {
            decoder.requestSeek(static_cast<std::uint32_t>(body[0]) * 20u);
        }
        decoder.takeFileChange();
    }
    return 0;
}
