#include "file_layout.h"

#include <algorithm>
#include <cmath>

#include "decoder.h"
#include "end_tags.h"

namespace quavera {

namespace {

std::int64_t probeEndTags(InputSource& source, std::int64_t length) {
    std::uint8_t tail[kEndTagProbeBytes];
    const auto bytes = static_cast<std::uint32_t>(std::min<std::int64_t>(length, sizeof tail));
    // Exactly up to the end: a list reader must not move on to its next file.
    if (source.seek(static_cast<std::int32_t>(length - bytes)) == 0 || source.read(tail, bytes) != bytes) {
        return 0;
    }
    return endTagBytes(tail, bytes, length);
}

// At a frame header that starts a file: an information frame that can be
// trusted for audioBytes from there, which is then skipped.
std::optional<InfoFrame> takeInfoFrame(BitStream& stream, FrameHeader header, std::int64_t audioBytes) {
    const auto frameBytes = static_cast<std::size_t>(header.frameBytes());
    if (header.layer() != 3 || frameBytes == 0) {
        return std::nullopt;
    }
    stream.ensure(frameBytes);
    std::optional<InfoFrame> info = parseInfoFrame(header, stream.data(), std::min(frameBytes, stream.dataUnread()));
    if (!info || !plausible(*info, header, audioBytes)) {
        return std::nullopt;
    }
    stream.skipBytes(frameBytes);
    return info;
}

} // namespace

FileStart readNextFileStart(BitStream& stream, FrameHeader header, bool probeEnd) {
    FileStart start;
    start.header = header;
    const std::int64_t length = stream.length();
    std::int64_t tags = 0;
    if (probeEnd && length > 0 && stream.source() != nullptr) {
        // The source reads on from where it was.
        InputSource& source = *stream.source();
        const std::int32_t resume = source.tell();
        tags = probeEndTags(source, length);
        source.seek(resume);
    }
    start.audioEnd = length > 0 ? length - tags : 0;
    stream.setAudioEnd(start.audioEnd);
    start.infoPosition = stream.tell();
    start.info = takeInfoFrame(stream, header, start.audioEnd - start.infoPosition);
    return start;
}

bool readFileLayout(BitStream& stream, bool probeEnd, FileLayout& layout, std::string& error) {
    layout = FileLayout{};
    const std::int64_t length = stream.length();
    const std::int64_t tags = probeEnd && length > 0 && stream.source() != nullptr ? probeEndTags(*stream.source(), length) : 0;
    if (!findFirstFrame(stream, layout.first, error)) {
        return false;
    }
    layout.audioEnd = length > 0 ? length - tags : 0;
    stream.setAudioEnd(layout.audioEnd);
    layout.info = takeInfoFrame(stream, layout.first.header, layout.audioBytes());
    return true;
}

void describeInfoFrame(const InfoFrame& info, FrameHeader header, StreamInfo& stream) {
    const double fs = header.samplingFrequency();
    const double samples = static_cast<double>(info.frames) * samplesPerMpegFrame(header);
    const double heard = samples - (info.gapless ? info.delay + info.padding : 0);
    stream.totalTime = static_cast<float>(heard * 1000.0 / fs);
    if (info.vbr && info.bytes != 0) {
        // The average over the frames, not the information frame's own.
        const double kbps = static_cast<double>(info.bytes) * 8.0 / (samples / fs) / 1000.0;
        stream.bitratePerChannel = std::max(1, static_cast<int>(std::lround(kbps / stream.streamChannels)));
        stream.compressionRatio = static_cast<float>(16.0 * fs / (stream.bitratePerChannel * 1000.0));
    }
}

} // namespace quavera
