#include "stream_open.h"

namespace quavera {

namespace {

constexpr const char* kNotValid = "This is not a valid audiofile!";

bool atSyncWord(const BitReader& reader) {
    return reader.ptr[0] == 0xFF && (reader.ptr[1] & 0xF0) == 0xF0;
}

// Moves to the next 12-bit sync word whose first 16 bits are not all ones
// (a run of 0xFF bytes is padding, not a header). That rule also passes over
// the header of MPEG-1 Layer I without CRC; such a candidate is remembered so
// that a stream that never syncs can still be refused as Layer I.
bool findSyncWord(BitStream& stream, bool& layerOneSeen) {
    BitReader& reader = stream.reader();
    reader.alignToByte();
    for (;;) {
        while (stream.unread() > 4 && !atSyncWord(reader)) {
            ++reader.ptr;
        }
        if (stream.unread() < 4 || !atSyncWord(reader)) {
            if (!stream.refill()) {
                return false;
            }
            continue;
        }
        if (reader.ptr[1] == 0xFF) {
            const int bitrateIndex = reader.ptr[2] >> 4;
            const int frequencyIndex = reader.ptr[2] >> 2 & 3;
            layerOneSeen = layerOneSeen || (bitrateIndex != 0 && bitrateIndex != 15 && frequencyIndex != 3);
            ++reader.ptr;
            continue;
        }
        return true;
    }
}

} // namespace

bool findFirstFrame(BitStream& stream, FirstFrame& first, std::string& error) {
    error.clear();
    stream.seek(0);
    if (!stream.ensure(4) || stream.dataUnread() == 0) {
        return false;
    }
    first.audioStart = 0;
    if (stream.dataUnread() >= kId3v2HeaderBytes) {
        const std::int32_t tagBytes = id3v2TagBytes(stream.data());
        if (tagBytes > 0 && !stream.skipBytes(static_cast<std::size_t>(tagBytes))) {
            error = kNotValid;
            return false;
        }
        first.audioStart = tagBytes;
    }
    bool layerOneSeen = false;
    if (!findSyncWord(stream, layerOneSeen)) {
        error = layerOneSeen ? "This type of audiofile is currently not supported!" : kNotValid;
        return false;
    }
    // Zeros padded after the end of the input complete no header.
    if (stream.dataUnread() < 4) {
        error = kNotValid;
        return false;
    }
    const std::uint8_t* p = stream.data();
    first.header = FrameHeader::fromWord(std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3]);
    first.position = stream.tell() - first.audioStart;
    return true;
}

} // namespace quavera
