#include "frame_index.h"

#include <algorithm>

namespace quavera {

namespace {

constexpr std::int64_t kChunkBytes = 65536;

} // namespace

void FrameIndex::reset(std::int32_t first, FrameHeader reference, std::int64_t audioEnd) {
    // No frame at all when the audio ends before the first would start.
    blocked_ = audioEnd <= first;
    starts_.assign(blocked_ ? 0 : 1, first);
    referenceBits_ = reference.streamBits();
    channels_ = reference.channels();
    audioEnd_ = audioEnd;
}

std::optional<std::int32_t> FrameIndex::start(InputSource& source, std::uint32_t frame) {
    if (frame >= starts_.size() && !walk(source, frame)) {
        return std::nullopt;
    }
    return starts_[frame];
}

std::optional<std::uint32_t> FrameIndex::frameAt(std::int32_t position) const {
    const auto found = std::lower_bound(starts_.begin(), starts_.end(), position);
    if (found == starts_.end() || *found != position) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(found - starts_.begin());
}

// Reads the headers chunk by chunk; the ends of the reads stay within the
// audio, so that a list reader never moves on to its next file.
bool FrameIndex::walk(InputSource& source, std::uint32_t frame) {
    std::vector<std::uint8_t> chunk;
    std::int64_t chunkStart = 0;
    while (!blocked_ && frame >= starts_.size()) {
        const std::int64_t position = starts_.back();
        if (position < chunkStart || position + 4 > chunkStart + static_cast<std::int64_t>(chunk.size())) {
            const std::int64_t wanted = std::min(kChunkBytes, audioEnd_ - position);
            chunk.resize(static_cast<std::size_t>(std::max<std::int64_t>(wanted, 0)));
            chunkStart = position;
            if (wanted < 4 || source.seek(static_cast<std::int32_t>(position)) == 0 ||
                source.read(chunk.data(), static_cast<std::uint32_t>(wanted)) != static_cast<std::uint32_t>(wanted)) {
                blocked_ = true;
                break;
            }
        }
        const std::uint8_t* p = chunk.data() + (position - chunkStart);
        const FrameHeader header = FrameHeader::fromWord(std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3]);
        const bool synced = p[0] == 0xFF && (p[1] & 0xF0) == 0xF0;
        if (!synced || header.streamBits() != referenceBits_ || header.channels() != channels_ ||
            header.frameBytes() == 0) {
            blocked_ = true;
            break;
        }
        const std::int64_t next = position + header.frameBytes();
        if (next >= audioEnd_) {
            // The last frame: nothing starts after it.
            blocked_ = true;
            break;
        }
        starts_.push_back(static_cast<std::int32_t>(next));
    }
    return frame < starts_.size();
}

} // namespace quavera
