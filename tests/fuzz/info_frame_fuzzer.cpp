// libFuzzer target for the parsers of what surrounds a stream's frames: any
// bytes as a first frame through the information frame's parser, its trust
// check and the seek map (by the table and by walking the frames), and as
// the end of a file through the end tags' parser; gapless trimming with the
// delay and padding that come out. The first four bytes are the header,
// forced to Layer III so that the parser is reached.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "decoder.h"
#include "end_tags.h"
#include "file_layout.h"
#include "gapless_trim.h"
#include "info_frame.h"
#include "memory_source.h"
#include "seek_map.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) {
        return 0;
    }
    const std::uint32_t word = std::uint32_t{data[1]} << 16 | std::uint32_t{data[2]} << 8 | data[3];
    const quavera::FrameHeader header = quavera::FrameHeader::fromWord((word & ~0x60000u) | 0x20000u);
    const auto fileBytes = static_cast<std::int64_t>(size);

    const std::size_t tail = size < quavera::kEndTagProbeBytes ? size : quavera::kEndTagProbeBytes;
    const std::int64_t tags = quavera::endTagBytes(data + size - tail, tail, fileBytes);
    Check(tags >= 0 && tags <= fileBytes);

    const int frameBytes = header.frameBytes();
    if (frameBytes == 0) {
        return 0;
    }
    const std::size_t frame = size < static_cast<std::size_t>(frameBytes) ? size : static_cast<std::size_t>(frameBytes);
    const auto info = quavera::parseInfoFrame(header, data, frame);
    if (!info) {
        return 0;
    }
    const std::int64_t audioBytes = fileBytes - tags;
    if (!quavera::plausible(*info, header, data[0] & 1 ? audioBytes : 0)) {
        return 0;
    }
    quavera::StreamInfo stream;
    stream.streamChannels = header.channels();
    quavera::describeInfoFrame(*info, header, stream);
    Check(stream.totalTime > 0);

    // Seeks to every tenth of the frames, by the table and by walking.
    quavera::test::MemorySource source(quavera::test::Bytes(data, data + size), "fuzz");
    for (bool walk : {false, true}) {
        quavera::SeekMap map;
        map.reset(*info, header, 0, audioBytes, walk);
        for (std::uint32_t k = 0; k <= 10; ++k) {
            const auto frameNumber = static_cast<std::uint32_t>(std::uint64_t{info->frames} * k / 10);
            const quavera::SeekTarget target = map.locate(source, frameNumber);
            Check(target.position >= frameBytes);
            Check(target.frame < info->frames);
            Check(!target.exact || (target.frameStart >= target.position && target.frameStart < audioBytes));
        }
    }

    if (info->gapless) {
        quavera::GaplessTrim trim;
        const std::int64_t samples = std::int64_t{info->frames} * quavera::samplesPerMpegFrame(header);
        trim.set(info->delay + 529, samples - info->padding + 529);
        std::vector<std::uint8_t> pcm(4608);
        std::size_t kept = 0;
        for (std::int64_t call = 0; call * 1152 < samples && call < 64; ++call) {
            kept += trim.apply(pcm.data(), pcm.size(), 1, 4);
        }
        Check(kept <= 64 * pcm.size());
    }
    return 0;
}
