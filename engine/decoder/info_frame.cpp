#include "info_frame.h"

#include <cstring>

#include "layer3_sideinfo.h"

namespace quavera {

namespace {

constexpr std::uint32_t kXingFrames = 1;
constexpr std::uint32_t kXingBytes = 2;
constexpr std::uint32_t kXingTable = 4;
constexpr std::uint32_t kXingQuality = 8;
constexpr std::size_t kXingTableEntries = 100;
// LAME's extension: a nine-character encoder name, then after twelve more
// bytes the delay and the padding as two 12-bit numbers.
constexpr std::size_t kLameDelayAt = 21;
constexpr std::size_t kLameBytes = 24;
// The Fraunhofer header always follows 32 bytes of side information.
constexpr std::size_t kVbriAt = 4 + 32;
constexpr std::size_t kVbriTableAt = 26;

std::uint32_t bigEndian(const std::uint8_t* p, std::size_t bytes) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i) {
        value = value << 8 | p[i];
    }
    return value;
}

// Reads forward through the frame, never beyond its end.
class FrameReader {
public:
    FrameReader(const std::uint8_t* frame, std::size_t size, std::size_t at) : frame_(frame), size_(size), at_(at) {}
    bool has(std::size_t bytes) const { return at_ <= size_ && size_ - at_ >= bytes; }
    bool startsWith(const char* text) const {
        const std::size_t length = std::strlen(text);
        return has(length) && std::memcmp(frame_ + at_, text, length) == 0;
    }
    const std::uint8_t* here() const { return frame_ + at_; }
    std::uint32_t take(std::size_t bytes) {
        const std::uint32_t value = bigEndian(here(), bytes);
        at_ += bytes;
        return value;
    }
    void skip(std::size_t bytes) { at_ += bytes; }

private:
    const std::uint8_t* frame_;
    std::size_t size_;
    std::size_t at_;
};

// The encoders that write LAME's extension under their own name.
bool lameExtension(const FrameReader& r) {
    return r.startsWith("LAME") || r.startsWith("Lavf") || r.startsWith("Lavc");
}

std::optional<InfoFrame> parseXing(FrameReader r, bool vbr) {
    InfoFrame info;
    info.vbr = vbr;
    r.skip(4);
    if (!r.has(4)) {
        return std::nullopt;
    }
    const std::uint32_t flags = r.take(4);
    if ((flags & kXingFrames) != 0) {
        if (!r.has(4)) {
            return std::nullopt;
        }
        info.frames = r.take(4);
    }
    if ((flags & kXingBytes) != 0) {
        if (!r.has(4)) {
            return std::nullopt;
        }
        info.bytes = r.take(4);
    }
    if ((flags & kXingTable) != 0) {
        if (!r.has(kXingTableEntries)) {
            return std::nullopt;
        }
        // Entry i: the offset of i per cent of the time, in 256ths of the bytes.
        for (std::size_t i = 0; i < kXingTableEntries; ++i) {
            info.table.push_back(SeekPoint{static_cast<double>(i) / 100.0, r.take(1) / 256.0});
        }
    }
    if ((flags & kXingQuality) != 0) {
        r.skip(4);
    }
    if (lameExtension(r) && r.has(kLameBytes)) {
        const std::uint32_t both = bigEndian(r.here() + kLameDelayAt, 3);
        info.gapless = true;
        info.delay = static_cast<int>(both >> 12);
        info.padding = static_cast<int>(both & 0xFFF);
    }
    return info;
}

std::optional<InfoFrame> parseVbri(FrameReader r, std::size_t frameBytes) {
    if (!r.has(kVbriTableAt)) {
        return std::nullopt;
    }
    InfoFrame info;
    info.vbr = true;
    r.skip(4);
    if (r.take(2) != 1) { // version
        return std::nullopt;
    }
    r.skip(4); // delay (of the encoder's own filterbank, not LAME's measure) and quality
    info.bytes = r.take(4);
    info.frames = r.take(4);
    const std::uint32_t entries = r.take(2);
    const std::uint32_t scale = r.take(2);
    const std::uint32_t entryBytes = r.take(2);
    const std::uint32_t framesPerEntry = r.take(2);
    if (entryBytes < 1 || entryBytes > 4 || framesPerEntry == 0 || info.frames == 0 || info.bytes == 0 ||
        !r.has(std::size_t{entries} * entryBytes)) {
        return std::nullopt;
    }
    // Entry k: the bytes of the k-th run of framesPerEntry audio frames,
    // which start after this frame.
    double offset = static_cast<double>(frameBytes);
    for (std::uint32_t k = 0; k < entries; ++k) {
        const double time = static_cast<double>(k) * framesPerEntry / info.frames;
        info.table.push_back(SeekPoint{time, offset / info.bytes});
        offset += static_cast<double>(r.take(entryBytes)) * scale;
    }
    return info;
}

// The frame lengths that the stream's version, layer and sampling frequency allow.
int frameBytesAt(FrameHeader header, int bitrateIndex, bool padded) {
    const std::uint32_t bits = (header.bits & ~0xF200u) | static_cast<std::uint32_t>(bitrateIndex) << 12 |
                               (padded ? 0x200u : 0u);
    return FrameHeader{bits}.frameBytes();
}

} // namespace

int samplesPerMpegFrame(FrameHeader header) {
    return header.layer() == 3 && header.id() == 0 ? 576 : 1152;
}

std::optional<InfoFrame> parseInfoFrame(FrameHeader header, const std::uint8_t* frame, std::size_t size) {
    if (header.layer() != 3) {
        return std::nullopt;
    }
    const auto xingAt = static_cast<std::size_t>(4 + (header.hasCrc() ? 2 : 0) + sideInfoBytes(header));
    const FrameReader xing(frame, size, xingAt);
    if (xing.startsWith("Xing") || xing.startsWith("Info")) {
        return parseXing(xing, xing.startsWith("Xing"));
    }
    const FrameReader vbri(frame, size, kVbriAt);
    if (vbri.startsWith("VBRI")) {
        return parseVbri(vbri, static_cast<std::size_t>(header.frameBytes()));
    }
    return std::nullopt;
}

bool plausible(const InfoFrame& info, FrameHeader header, std::int64_t audioBytes) {
    const std::int64_t smallest = frameBytesAt(header, 1, false);
    const std::int64_t largest = frameBytesAt(header, 14, true);
    if (info.frames == 0 || smallest == 0) {
        return false;
    }
    const std::int64_t frames = info.frames;
    // The frames with the information frame before them.
    const std::int64_t bytes = info.bytes != 0 ? info.bytes : audioBytes;
    if (info.bytes != 0 && audioBytes > 0 && info.bytes > audioBytes) {
        return false;
    }
    if (bytes > 0 && (frames * smallest > bytes || bytes > (frames + 1) * largest)) {
        return false;
    }
    // Without any byte count the time alone must stay within the status record's milliseconds.
    const std::int64_t samples = frames * samplesPerMpegFrame(header);
    if (samples / header.samplingFrequency() >= 0x7FFFFFFF / 1000) {
        return false;
    }
    double previousTime = -1;
    double previousPosition = 0;
    for (const SeekPoint& p : info.table) {
        if (p.time <= previousTime || p.time > 1.0 || p.position < previousPosition || p.position > 1.0) {
            return false;
        }
        previousTime = p.time;
        previousPosition = p.position;
    }
    return !info.gapless || info.delay + info.padding < samples;
}

} // namespace quavera
