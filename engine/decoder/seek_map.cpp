#include "seek_map.h"

#include <algorithm>

namespace quavera {

namespace {

// How far back main_data_begin may point: 9 bits, 8 at the lower sampling frequencies.
int reservoirReach(FrameHeader header) {
    return header.id() == 1 ? 511 : 255;
}
// More than the header, CRC and side information of any frame: what
// remains of a frame's bytes is main data.
constexpr std::int32_t kFrameOverhead = 4 + 2 + 32;

} // namespace

void SeekMap::reset(const InfoFrame& info, FrameHeader first, std::int32_t infoPosition, std::int64_t audioEnd,
                    bool walk) {
    info_ = info;
    header_ = first;
    infoPosition_ = infoPosition;
    firstAudio_ = infoPosition + first.frameBytes();
    bytes_ = info.bytes != 0 ? info.bytes : std::max<std::int64_t>(audioEnd - infoPosition, 0);
    walk_ = walk && audioEnd > 0;
    index_.reset(firstAudio_, first, audioEnd);
}

SeekTarget SeekMap::locate(InputSource& source, std::uint32_t frame) {
    frame = std::min(frame, info_.frames - 1);
    if (header_.id() == 0) {
        // Frames of the lower sampling frequencies are decoded in pairs.
        frame &= ~1u;
    }
    const std::optional<std::int32_t> frameStart = walk_ ? index_.start(source, frame) : std::nullopt;
    if (!frameStart) {
        return estimate(frame);
    }
    SeekTarget target;
    target.frame = frame;
    target.preroll = prerollBefore(frame);
    target.frameStart = *frameStart;
    target.position = *index_.start(source, frame - target.preroll);
    target.exact = true;
    return target;
}

std::uint32_t SeekMap::prerollBefore(std::uint32_t frame) const {
    if (frame == 0) {
        return 0;
    }
    // The frame before is heard in this one's first samples (overlap and
    // synthesis history), so it must decode whole: its own main data may
    // begin up to the reservoir's reach before it.
    std::uint32_t preroll = 1;
    std::int32_t mainData = 0;
    while (preroll < frame && mainData < reservoirReach(header_)) {
        mainData += std::max(index_.bytes(frame - preroll - 1) - kFrameOverhead, 0);
        ++preroll;
    }
    if (header_.id() == 0 && preroll % 2 != 0 && preroll < frame) {
        ++preroll;
    }
    return preroll;
}

SeekTarget SeekMap::estimate(std::uint32_t frame) const {
    const double time = static_cast<double>(frame) / info_.frames;
    double position = time;
    const auto& table = info_.table;
    if (!table.empty()) {
        // Between two points, or between the last one and the end.
        const auto after = std::upper_bound(table.begin(), table.end(), time,
                                            [](double t, const SeekPoint& p) { return t < p.time; });
        const SeekPoint from = after != table.begin() ? *(after - 1) : SeekPoint{};
        const SeekPoint to = after != table.end() ? *after : SeekPoint{1.0, 1.0};
        const double span = to.time - from.time;
        position = from.position + (span > 0 ? (time - from.time) / span * (to.position - from.position) : 0.0);
    }
    SeekTarget target;
    target.frame = frame;
    // A byte count that is not checked against a length (a network stream's)
    // may point beyond what positions can hold.
    const double offset = std::min(infoPosition_ + position * static_cast<double>(bytes_), 2147483647.0);
    target.position = std::max(firstAudio_, static_cast<std::int32_t>(offset));
    return target;
}

} // namespace quavera
