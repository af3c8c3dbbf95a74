#include "frame_sync.h"

#include <algorithm>

#include "file_layout.h"

namespace quavera {

namespace {

bool atSyncWord(const BitReader& reader) {
    return reader.ptr[0] == 0xFF && (reader.ptr[1] & 0xF0) == 0xF0;
}

// A list reader has moved on to its next file, whose first header the
// reader stands on: frame counting starts over with that file's bitrate and
// length, and its information frame is no audio.
void enterNextFile(BitStream& stream, StreamState& state, FrameHeader header) {
    stream.clearBoundary();
    const int bitratePerChannel = header.bitratePerChannel();
    state.frameCounter = 1;
    state.frameSize = frameSizeOf(state.streamChannels, bitratePerChannel, state.samplingFrequency);
    state.totalFrames = state.framesIn(stream.length());
    state.fileChanged = true;
    state.currentBitratePerChannel = bitratePerChannel;
    state.enteredFile = readNextFileStart(stream, header, state.probeEnd);
}

// The tags at the end of a file are no frames: where the audio ends, the
// stream ends, or a list goes on at its next file. False at the end.
bool passAudioEnd(BitStream& stream, BitReader& reader) {
    const std::uint8_t* end = stream.audioEnd();
    if (end == nullptr || reader.ptr < end) {
        return true;
    }
    const std::uint8_t* next = stream.boundary();
    if (next == nullptr) {
        return false;
    }
    reader.ptr = std::max(reader.ptr, next);
    return true;
}

} // namespace

bool syncFrame(BitStream& stream, StreamState& state, FrameHeader& header) {
    const auto frameBytes = static_cast<std::size_t>(state.frameSize.bytes);
    if (!stream.ensure(frameBytes)) {
        return false;
    }
    BitReader& reader = stream.reader();
    reader.alignToByte();
    std::int64_t positionsLeft = 4 * static_cast<std::int64_t>(frameBytes);
    for (;;) {
        if (!passAudioEnd(stream, reader)) {
            return false;
        }
        while (!atSyncWord(reader)) {
            if (--positionsLeft < 0 || !stream.ensure(frameBytes)) {
                return false;
            }
            ++reader.ptr;
        }
        if (!passAudioEnd(stream, reader)) {
            return false;
        }
        const std::uint8_t* syncStart = reader.ptr;
        const std::uint32_t high = reader.read(16);
        header = FrameHeader::fromWord(high << 16 | reader.read(16));
        if (header.streamBits() == state.referenceBits) {
            if (header.channels() != state.streamChannels) {
                return false;
            }
            if (stream.boundary() != nullptr && syncStart >= stream.boundary()) {
                // From the file's first audio frame on.
                reader.ptr = syncStart;
                enterNextFile(stream, state, header);
                continue;
            }
            break;
        }
        reader.ptr = syncStart + 1;
        if (--positionsLeft < 0) {
            return false;
        }
    }
    // Frames of one stream differ in length (bitrate, padding), so the
    // estimate ensured above may fall short of this one. Past its header,
    // frameBytes() covers the rest of the frame and the word the reader loads
    // at its last field: all of it must be buffered before the frame's data
    // is read. At the end of the input the padded zeros stand in for it.
    if (!stream.ensure(static_cast<std::size_t>(header.frameBytes()))) {
        return false;
    }
    if (header.hasCrc()) {
        reader.skip(16);
    }
    return true;
}

} // namespace quavera
