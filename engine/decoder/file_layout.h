#pragma once
// What surrounds the frames of a file: a leading ID3v2 tag, the encoder's
// information frame and tags at the end.
#include <cstdint>
#include <optional>
#include <string>

#include "bitstream.h"
#include "info_frame.h"
#include "stream_open.h"
#include "stream_state.h"

namespace quavera {

struct StreamInfo;

struct FileLayout {
    FirstFrame first;              // the information frame when there is one
    std::int64_t audioEnd = 0;     // source position where the tags at the end begin; 0: unknown length
    std::optional<InfoFrame> info; // only when it can be trusted

    // Source position of the first frame.
    std::int64_t firstPosition() const { return std::int64_t{first.audioStart} + first.position; }
    // Bytes of the frames, counted from the first one; 0 or less when unknown.
    std::int64_t audioBytes() const { return audioEnd - firstPosition(); }
};

// From the start of the input: the first frame as findFirstFrame finds it;
// with probeEnd the tags at the end, read from the last bytes of the source
// (a source that seeks cheaply: not a network stream); and an information
// frame that can be trusted, which is then skipped, so that the reader
// stands on the first audio frame. The stream stops reading frames where the
// audio ends. Fails as findFirstFrame does.
bool readFileLayout(BitStream& stream, bool probeEnd, FileLayout& layout, std::string& error);

// At the first frame of a list's next file (the reader on its header,
// positions counting from the file's start): its tags at the end, read as
// readFileLayout reads them, and a trusted information frame, which is then
// skipped. The stream stops reading frames where the file's audio ends.
FileStart readNextFileStart(BitStream& stream, FrameHeader header, bool probeEnd);

// Total time, bitrate and compression ratio from a trusted information
// frame: the frames' time less the encoder's delay and padding, and for VBR
// streams their average bitrate (the bytes over the frames' time).
void describeInfoFrame(const InfoFrame& info, FrameHeader header, StreamInfo& stream);

} // namespace quavera
