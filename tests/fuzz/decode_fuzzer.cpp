// libFuzzer target: stream open, header analysis and frame decoding of
// arbitrary bytes. The first byte picks the output configuration, whether the
// input is split into a list of two files, and whether a seek happens.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "decoder.h"
#include "memory_source.h"

namespace {

constexpr int kMaxFrames = 48;

quavera::OutputConfig configOf(std::uint8_t pick) {
    static constexpr int kDivisors[] = {1, 2, 4};
    return quavera::OutputConfig{kDivisors[pick % 3], 1 + pick / 3 % 3, 1 + pick / 9 % 2, pick / 18 % 2 != 0 ? 8 : 16};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const std::uint8_t pick = data[0];
    const std::uint8_t* body = data + 1;
    const std::size_t length = size - 1;
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
