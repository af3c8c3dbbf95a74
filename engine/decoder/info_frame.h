#pragma once
// The information frame that encoders put first in a Layer III stream: a
// frame without audio that carries the stream's frame and byte counts and a
// seek table ("Xing" in VBR streams, "Info" in CBR ones, written by LAME and
// most encoders since; "VBRI" from the Fraunhofer encoder), and in LAME's
// extension of it the encoder's delay and padding in samples.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "frame_header.h"

namespace quavera {

// One point of a seek table: the audio at a fraction (0..1) of the stream's
// time starts at a fraction of its bytes, counted from the start of the
// information frame.
struct SeekPoint {
    double time = 0;
    double position = 0;
};

struct InfoFrame {
    bool vbr = false;           // "Xing" or "VBRI": the bitrate changes from frame to frame
    std::uint32_t frames = 0;   // audio frames after this one; 0 when not given
    std::uint32_t bytes = 0;    // from this frame's start to the end of the audio; 0 when not given
    std::vector<SeekPoint> table; // empty when not given
    bool gapless = false;       // delay and padding are known
    int delay = 0;              // samples the encoder put before the signal
    int padding = 0;            // samples it put after it, to fill the last frame
};

// Reads the information frame out of the first frame of a stream: header is
// that frame's header, frame its bytes from the header on, size how many of
// them there are (the frame's length at most). Nothing is read beyond them.
// Empty when the frame is an ordinary audio frame, or when the information
// does not fit into it.
std::optional<InfoFrame> parseInfoFrame(FrameHeader header, const std::uint8_t* frame, std::size_t size);

// Whether the information can be trusted for a stream whose audio, counted
// from the information frame's start, is audioBytes long (0 or less when the
// length is unknown): a frame count that fits the bytes, bytes within the
// file, a seek table that only goes forward and stays within the audio, and
// a delay and padding shorter than the stream.
bool plausible(const InfoFrame& info, FrameHeader header, std::int64_t audioBytes);

// Samples of one frame: 1152, or 576 for Layer III at the lower sampling
// frequencies.
int samplesPerMpegFrame(FrameHeader header);

} // namespace quavera
